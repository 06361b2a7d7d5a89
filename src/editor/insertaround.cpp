#include "insertaround.h"

#include "classicpos.h"
#include "colmemo.h"

void insertAroundSelection(TColorMemo &memo, const QString &before, const QString &after)
{
    const QChar degree(0x00B0);
    const QString b = QString(before).replace(degree, QStringLiteral("\r\n"));
    const QString a = QString(after).replace(degree, QStringLiteral("\r\n"));
    const int start = memo.SelStart();
    const int length = memo.SelLength();
    memo.replaceSelection(b + memo.SelText() + a);
    // In the memo's positions every kind of break counts as two.
    memo.setSelStart(start + length + int(classicpos::withCrLf(classicpos::withLf(b)).size()));
    memo.setSelLength(0);
}
