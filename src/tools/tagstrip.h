// Taking the tags out of a text: a tag begins with "<" and ends with the
// first ">" after it, whatever stands between (further "<", quotes, line
// breaks). A "<" with no ">" after it ends the work: it and the rest stay.
#pragma once

#include <QString>
#include <QStringView>

struct StrippedText {
    QString text;
    qsizetype caret = -1; // where the last tag was taken out; -1 when there was none
};

// One pass. Taking the first occurrence of each collected tag in turn from
// the current text takes out exactly these tags: before the next tag the
// text left holds no "<", so its first occurrence is the tag itself.
StrippedText stripTags(QStringView text);
