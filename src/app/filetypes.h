// The file types of the open and save dialogs, read from fileext.mvt.
#pragma once

#include <QString>

struct FileTypes {
    QString openFilter; // "Description|Patterns|..." form
    QString saveFilter;
    QString extensionList; // "*.htm;*.css" list, one per save type; empty without the file
};

// The built-in types, used while fileext.mvt is missing.
FileTypes builtinFileTypes();
FileTypes loadFileTypes(const QString &path);

// A section's Description=Patterns lines as one filter text: a line break
// after every line, then every line break and every "=" become "|".
QString filterText(const QStringList &lines);
