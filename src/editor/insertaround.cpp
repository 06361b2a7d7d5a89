#include "insertaround.h"

#include "colmemo.h"

void insertAroundSelection(TColorMemo &memo, const QString &before, const QString &after)
{
    const QChar degree(0x00B0);
    const QString b = QString(before).replace(degree, QStringLiteral("\r\n"));
    const QString a = QString(after).replace(degree, QStringLiteral("\r\n"));
    const int start = memo.SelStart();
    const int length = memo.SelLength();
    memo.replaceSelection(b + memo.SelText() + a);
    memo.setSelStart(start + length + int(b.size()));
    memo.setSelLength(0);
}
