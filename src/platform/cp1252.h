// Windows-1252, the code page of the data files and of older documents.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace cp1252 {

// Every byte decodes; decode followed by encode gives the bytes back.
QString decode(QByteArrayView bytes);

// Characters the code page cannot store become '?'; use canEncode() first
// where that would lose something the user wrote.
QByteArray encode(QStringView text);

bool canEncode(QStringView text);

// Index of the first character the code page cannot store, or -1.
qsizetype firstUnencodable(QStringView text);

} // namespace cp1252
