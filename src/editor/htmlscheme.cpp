#include "htmlscheme.h"

#include "colmemo.h"

#include <QFontDatabase>

void ApplyColorScheme(TColorMemo &memo)
{
    ApplyColorScheme(memo, settings::loadEditorLook());
}

void ApplyColorScheme(TColorMemo &memo, const settings::EditorLook &look)
{
    memo.setColor(look.backgroundColor);
    memo.setFontColor(look.textColor);
    const QString lines[] = {
        QStringLiteral("<;>;") + colors::ColorToHTMLHex(look.tagColor),
        QStringLiteral("\";\";") + colors::ColorToHTMLHex(look.attributeColor),
        QStringLiteral("<!--;-->;") + colors::ColorToHTMLHex(look.commentColor),
    };
    // Appended to the lists directly; the rules compile when next used.
    for (const QString &line : lines)
        memo.ColorRules().Add().keyBegEndLstRef().append(line);
}

void ApplyEditorFont(QPlainTextEdit &memo, const settings::EditorLook &look)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!look.fontName.isEmpty())
        font.setFamily(look.fontName);
    if (look.fontSize > 0)
        font.setPointSize(look.fontSize);
    memo.setFont(font);
}
