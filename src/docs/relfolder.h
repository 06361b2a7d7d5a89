// The folder of a scan as the image browser's tags refer to it: relative to
// the active document's folder, or "[..]" when the pictures lie elsewhere.
#pragma once

#include <QString>

inline const QString kOutsideFolder = QStringLiteral("[..]");

// `documentFolder` is the active document's folder (empty for a document
// never saved), `scannedFolder` the folder of the scan, both with a
// trailing separator. The result uses "/" and ends in "/", is empty when
// both folders are the same and "[..]" when the scanned folder does not
// lie in the document's folder or below it.
QString relativeFolder(const QString &documentFolder, const QString &scannedFolder);

// The reference a tag gives: the relative folder (none for "[..]") and the
// file name, characters that would cut it short escaped.
QString pictureReference(const QString &relativeFolder, const QString &fileName);

// <img src="REF" width="W" height="H" border="0">, with "&" in REF as "&amp;".
QString imageTag(const QString &reference, const QString &width, const QString &height);
