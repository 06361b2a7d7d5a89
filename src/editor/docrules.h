// Window-free rules of the document window: the name a save gets, the links
// made from dropped files, the caret position text, the tags of the Links page.
#pragma once

#include <QString>
#include <QStringList>

// The extension rule of the save dialog: when the chosen name's extension
// (lower case, with its dot) occurs in the entry of the chosen file type, the
// entry's extension replaces it. extensionList is the "*.htm;*.css" list,
// typeIndex the chosen type counted from 0.
QString applyExtensionRule(const QString &chosenPath, const QString &extensionList, int typeIndex);

// The text that dropping files inserts: one link per file, the last dropped
// first, each followed by CR LF. Files inside the document's folder get
// addresses relative to it, others their bare name.
QString dropLinksText(const QStringList &paths, const QString &documentFolder);

// The action that taking dropped files (as links or opened documents) reports
// to their source: a copy, else a link; never a move, after which a file
// manager would count the files as gone. IgnoreAction when only a move is offered.
Qt::DropAction droppedFilesAction(Qt::DropActions offered);

// "<caption> <line>/<lines>", the line counted from 1.
QString caretPositionText(const QString &caption, int caretLine, int lineCount);

// The tags of one kind as the Links page lists them: every tag beginning
// with the opener followed by a blank, as written, line breaks removed and
// runs of blanks shortened.
QStringList FindResourceTags(const QString &text, const QString &opener);

struct ResourceKind {
    QString kind;
    QString opener;
};

// The kinds of resscan.mvt, in file order; empty when the file is missing.
QList<ResourceKind> readResourceKinds(const QString &path, bool *exists = nullptr);
