// The lines of a data file of the program folder (*.mvt): Windows-1252, or
// UTF-8 where the file is valid UTF-8 or starts with a BOM; any line break.
#pragma once

#include <QString>
#include <QStringList>

// The lines without their breaks; an empty last line (the file's final
// break) is not a line. ok (when given) tells whether the file could be read,
// error (when given) why it could not. With maxBytes >= 0 a longer file is
// not read.
QStringList readDataLines(const QString &path, bool *ok = nullptr, QString *error = nullptr, qint64 maxBytes = -1);
