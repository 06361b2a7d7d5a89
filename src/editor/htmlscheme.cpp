#include "htmlscheme.h"

#include "colmemo.h"
#include "settings/optionchanges.h"

#include <QFontDatabase>

#include <algorithm>

void ApplyColorScheme(TColorMemo &memo)
{
    ApplyColorScheme(memo, settings::loadEditorLook());
}

void ApplyColorScheme(TColorMemo &memo, const settings::EditorLook &look)
{
    memo.setColor(look.backgroundColor);
    memo.setFontColor(look.textColor);
    // The rules hold plain colours; a system colour code is looked up first.
    const auto hex = [&memo](ColorValue c) { return colors::ColorToHTMLHex(colors::fromQColor(colors::toQColor(c, memo.palette()))); };
    const QString lines[] = {
        QStringLiteral("<;>;") + hex(look.tagColor),
        QStringLiteral("\";\";") + hex(look.attributeColor),
        QStringLiteral("<!--;-->;") + hex(look.commentColor),
    };
    // Appended to the lists directly; the rules compile when next used.
    for (const QString &line : lines)
        memo.ColorRules().Add().keyBegEndLstRef().append(line);
}

void ApplyEditorFont(QPlainTextEdit &memo, const settings::EditorLook &look)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // A face since removed would be replaced by the system's proportional
    // one; the fixed-width font stays instead, as the options dialog shows.
    const auto offered = [](const QString &name) {
        return QFontDatabase::hasFamily(name) || QFontDatabase::families().contains(name, Qt::CaseInsensitive);
    };
    if (!look.fontName.isEmpty() && offered(look.fontName))
        font.setFamily(look.fontName);
    // Held to the sizes the options dialog offers: a damaged settings value
    // of thousands of points would lay every line out beyond the screen.
    if (look.fontSize > 0)
        font.setPointSize(std::min(look.fontSize, settings::kMaxFontSize));
    memo.setFont(font);
}
