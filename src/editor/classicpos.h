// Positions as the classic edit interface counts them: every line break is
// two characters (CR LF), while the document stores one per break.
#pragma once

#include <QString>
#include <QStringView>

class QTextDocument;

namespace classicpos {

// Document position to classic position: one more per line break before it.
int fromDocument(const QTextDocument *doc, int position);
// Classic position to document position; a position between CR and LF
// counts as the end of its line.
int toDocument(const QTextDocument *doc, int classic);
// Length in classic characters of the document text from start to end.
int classicLength(const QTextDocument *doc);

// Text with "\n" breaks to text with CR LF breaks and back (a lone CR also
// becomes a break).
QString withCrLf(QStringView text);
// A document's raw text (paragraph and line separators for its breaks) as
// Text() gives it, with capacity for `room` more characters.
QString classicText(QStringView raw, qsizetype room = 0);
QString withLf(QStringView text);

} // namespace classicpos
