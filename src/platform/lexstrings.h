// Captions, hints and messages by number from the string library.
#pragma once

#include <QString>

namespace lex {

QString caption(int number);
QString hint(int number);
QString message(int number);
// The language of the texts ("de"); the toolkit's own texts follow it.
QString language();

// The part of a hint shown as tooltip (before the first "|") and the part
// shown in the status bar (after it, or the whole hint when it has none).
QString shortHint(const QString &hint);
QString longHint(const QString &hint);

} // namespace lex
