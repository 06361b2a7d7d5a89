#include "relfolder.h"

#include "picload.h"

#include "common/urlref.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString below(const QString &document, const QString &scanned)
{
    // Only a Windows path has backslashes between its folders; elsewhere one
    // is part of a folder's name.
    return QDir::fromNativeSeparators(scanned.mid(document.size()));
}

} // namespace

QString relativeFolder(const QString &documentFolder, const QString &scannedFolder)
{
    const QString document = WithTrailingBackslash(documentFolder);
    if (document.isEmpty())
        return kOutsideFolder;
    // Only a folder that begins with the document's folder lies inside it;
    // the same text further along (/x/web/ inside /web/) is another place.
    if (scannedFolder.startsWith(document))
        return below(document, scannedFolder);
    // The page or the pictures reached through a linked folder: compared
    // where both really lie, so that ~/www and /srv/www are one place.
    const QString realDocument = WithTrailingBackslash(QFileInfo(document).canonicalFilePath());
    const QString realScanned = WithTrailingBackslash(QFileInfo(scannedFolder).canonicalFilePath());
    if (!realDocument.isEmpty() && !realScanned.isEmpty() && realScanned.startsWith(realDocument))
        return below(realDocument, realScanned);
    return kOutsideFolder;
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
