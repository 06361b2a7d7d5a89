#include "relfolder.h"

#include "picload.h"

#include "common/urlref.h"

#include <QDir>

QString relativeFolder(const QString &documentFolder, const QString &scannedFolder)
{
    const QString document = WithTrailingBackslash(documentFolder);
    // Only a folder that begins with the document's folder lies inside it;
    // the same text further along (/x/web/ inside /web/) is another place.
    if (document.isEmpty() || !scannedFolder.startsWith(document))
        return kOutsideFolder;
    // Only a Windows path has backslashes between its folders; elsewhere one
    // is part of a folder's name.
    return QDir::fromNativeSeparators(scannedFolder.mid(document.size()));
}

QString pictureReference(const QString &relativeFolder, const QString &fileName)
{
    return urlReference((relativeFolder == kOutsideFolder ? QString() : relativeFolder) + fileName);
}

QString imageTag(const QString &reference, const QString &width, const QString &height)
{
    // In an attribute an ampersand starts an entity ("&copy" in a file name).
    return QStringLiteral("<img src=\"") + QString(reference).replace(u'&', QStringLiteral("&amp;")) + QStringLiteral("\" width=\"") +
           width + QStringLiteral("\" height=\"") + height + QStringLiteral("\" border=\"0\">");
}
