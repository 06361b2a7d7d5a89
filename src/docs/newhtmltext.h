// The page skeleton of the new-document wizard, built from the wizard's
// fields as typed: nothing is trimmed, validated or escaped.
#pragma once

#include "platform/colorvalue.h"

#include <QString>

struct NewPageFields {
    QString title;
    QString picture; // background
    QString text;
    QString bgColor;
    QString link;
    QString aLink;
    QString vLink;
};

// The skeleton with CR LF between its lines and no break after "</html>";
// only the body attributes whose field is not empty are written.
QString buildNewPageText(const NewPageFields &fields);

// "#" and the colour as RRGGBB, as the colour buttons write it.
QString colorAttributeText(ColorValue color);

// The name a page uses for a picture it shows as its background: the
// chosen file's name alone, so the picture is looked for beside the page.
QString pictureReference(const QString &chosenPath);
