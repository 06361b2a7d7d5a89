// The lines of tagcodes.mvt: page name, caption, text before, text after and
// any number of hint lines, separated by ";".
#pragma once

#include <QString>
#include <QStringList>

class TMvCodeStringList;

struct TagButtonDef {
    QString page;
    QString caption;
    QString before; // a degree sign stands for a line break
    QString after;
    QString hint; // the hint lines joined by CR LF; empty for four fields
};

// Lines with fewer than four fields are passed over.
QList<TagButtonDef> parseTagCodes(const QStringList &lines, const TMvCodeStringList &codec);

// The tooltip of a hint. A hint whose first line looks like markup (one that
// names a tag) would be taken as rich text, its tags swallowed and its lines
// joined; it is given as escaped rich text instead.
QString hintToolTip(const QString &hint);

// The tooltip of a button whose caption the list had to cut: the caption
// whole, then the hint lines.
QString cutCaptionToolTip(const QString &caption, const QString &hint);

// Page names compare with the letters A to Z folded, nothing else.
bool samePageName(const QString &a, const QString &b);
