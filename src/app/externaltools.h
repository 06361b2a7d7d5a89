// The decisions behind the external tools (browsers, file manager, help),
// apart from the main window so they are tested without one.
#pragma once

#include <QString>
#include <QUrl>

// One configured browser, as the settings hold it.
struct BrowserEntry {
    QString name;
    QString path;
};

// Browser n (1 or 2) from the settings; an unreadable value reads as empty.
BrowserEntry readBrowserEntry(int n);
// The program file a typed path names: without blanks around it and
// without a pair of quotes enclosing it.
QString programPath(const QString &typed);
// A browser gets a menu item only with a name (not blanks alone) and a
// program file that exists.
bool browserShown(const BrowserEntry &entry);
// The menu caption for a browser name: one line of at most 60 characters
// (longer ones end in an ellipsis); "&" stays a character, no mnemonic.
QString browserCaption(const QString &name);

// The help the program shows: compiled help needs a viewer for it, the HTML
// pages only a default program for web pages.
struct HelpTarget {
    enum Kind { None, Compiled, Pages } kind = None;
    QString file;
};
HelpTarget findHelp(const QString &programDir, bool haveCompiledViewer);

// The folder the file manager opens: the document's, or for a document never
// saved the current working folder.
QString explorerFolder(const QString &documentFolder);

// The product's home page, shown in the info box.
QUrl homePage();
