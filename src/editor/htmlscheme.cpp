#include "htmlscheme.h"

#include "colmemo.h"
#include "settings/settings.h"

void ApplyColorScheme(TColorMemo &memo)
{
    memo.setColor(settings::backColor());
    memo.setFontColor(settings::frontColor());
    const QString lines[] = {
        QStringLiteral("<;>;") + colors::ColorToHTMLHex(settings::htmlColor()),
        QStringLiteral("\";\";") + colors::ColorToHTMLHex(settings::attrbColor()),
        QStringLiteral("<!--;-->;") + colors::ColorToHTMLHex(settings::kommColor()),
    };
    // Appended to the lists directly; the rules compile at the first paint.
    for (const QString &line : lines)
        memo.ColorRules().Add().keyBegEndLstRef().append(line);
}
