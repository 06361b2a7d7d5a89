// The report of one print or print-preview command: it takes the document's
// text when the report runs, as one record, and lives for that command only.
#pragma once

#include "docs/printreport.h"

#include <QStringList>

#include <functional>
#include <optional>

class TPrintForm
{
public:
    // Gives the lines of the active document's text, or nothing without one.
    using LinesSource = std::function<std::optional<QStringList>()>;

    // folder and fileName of the document (both empty when never saved); the
    // printer font as stored in the settings.
    TPrintForm(const QString &folder, const QString &fileName, const QString &printerFont, int printerFontSize, LinesSource source);

    // The engine asks for the next record; true while more data follows.
    // Each run of the report thus holds exactly one record.
    bool QuickRep1NeedData();

    // Runs the report: asks for records until none follows; the memo holds
    // the text of the last one.
    printing::Report run();

    QString QRFilename;
    QStringList QRMemo1;
    QFont memoFont;
    QString title;

private:
    LinesSource m_source;
    bool m_delivered = false;
};
