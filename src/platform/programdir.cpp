#include "programdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace programdir {

namespace {

QString &overridden()
{
    static QString folder;
    return folder;
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder.append(u'/');
    return folder;
}

} // namespace

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString userPath()
{
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/quirtle"));
}

void setOverride(const QString &folder)
{
    overridden() = folder.isEmpty() ? QString() : withSeparator(QDir(folder).absolutePath());
}

} // namespace programdir
