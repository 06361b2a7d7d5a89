#include "insertaround.h"

#include "classicpos.h"
#include "colmemo.h"

void insertAroundSelection(TColorMemo &memo, const QString &before, const QString &after, DegreeSign degree)
{
    const QChar sign(0x00B0);
    const QString lineBreak = degree == DegreeSign::IsBreak ? QStringLiteral("\r\n") : QString(sign);
    const QString b = QString(before).replace(sign, lineBreak);
    const QString a = QString(after).replace(sign, lineBreak);
    const int start = memo.SelStart();
    const int length = memo.SelLength();
    memo.replaceSelection(b + memo.SelText() + a);
    // In the memo's positions every kind of break counts as two.
    memo.setSelStart(start + length + int(classicpos::withCrLf(classicpos::withLf(b)).size()));
    memo.setSelLength(0);
}
