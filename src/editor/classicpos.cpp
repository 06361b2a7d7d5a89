#include "classicpos.h"

#include "platform/textfile.h"

#include <QTextBlock>
#include <QTextDocument>

namespace classicpos {

int fromDocument(const QTextDocument *doc, int position)
{
    const QTextBlock block = doc->findBlock(position);
    return position + (block.isValid() ? block.blockNumber() : doc->blockCount() - 1);
}

int toDocument(const QTextDocument *doc, int classic)
{
    if (classic <= 0)
        return 0;
    // The block whose classic start (position + number) is the last not
    // after the classic position; block starts grow with their number.
    int lo = 0, hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        const QTextBlock b = doc->findBlockByNumber(mid);
        if (b.position() + mid <= classic)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const int column = classic - (block.position() + lo);
    const int lineLength = block.length() - 1;
    return block.position() + qMin(column, lineLength);
}

int classicLength(const QTextDocument *doc)
{
    return doc->characterCount() - 1 + doc->blockCount() - 1;
}

QString withCrLf(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.count(u'\n'));
    for (const QChar c : text) {
        if (c == u'\n')
            out += u'\r';
        out += c;
    }
    return out;
}

QString classicText(QStringView raw, qsizetype room)
{
    QString out;
    const qsizetype breaks = raw.count(QChar::ParagraphSeparator) + raw.count(QChar::LineSeparator) + raw.count(u'\n');
    out.reserve(raw.size() + breaks + room);
    qsizetype from = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char16_t u = raw[i].unicode();
        if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator || u == u'\n') {
            out += raw.mid(from, i - from);
            out += u"\r\n";
            from = i + 1;
        }
    }
    out += raw.mid(from);
    return out;
}

QString withLf(QStringView text)
{
    // A line separator would be a break on screen but one character in the
    // positions: it becomes a real line break.
    return withEditorBreaks(text.toString());
}

} // namespace classicpos
