// Every message box, question, file dialog and colour dialog goes through
// this seam. The program installs the Qt dialogs; tests install scripted ones
// that record what was asked and answer at once.
#pragma once

#include "colorvalue.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace dialogs {

enum class Kind { Information, Warning, Error, Confirmation, Plain };
enum class Buttons { Ok, Cancel, OkCancel, YesNo, YesCancel, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct FileRequest {
    QString title;
    QString folder;                       // initial folder, may be empty
    QString fileName;                     // proposed name (save) or empty
    QString filter;                       // alternating "Description|Patterns|..." form
    int filterIndex = 1;                  // 1-based, as chosen when the dialog opens
    std::function<void(int)> typeChanged; // told the new 1-based index whenever the user picks a type
};

struct FileResult {
    QString path;        // absolute path of the chosen file
    int filterIndex = 1; // 1-based type the user had chosen when confirming
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    virtual Answer message(QWidget *parent, Kind kind, const QString &title, const QString &text, Buttons buttons) = 0;
    virtual std::optional<FileResult> openFile(QWidget *parent, const FileRequest &request) = 0;
    virtual std::optional<FileResult> saveFile(QWidget *parent, const FileRequest &request) = 0;
    virtual std::optional<ColorValue> chooseColor(QWidget *parent, ColorValue initial) = 0;
    // Runs one of the program's own modal windows (colour picker, entity
    // table, wizard) to its end and gives its result code.
    virtual int runModal(QDialog &dialog) = 0;
    // Sets up the printer a print goes to: the system's current printer at
    // once; the printer dialog only when the system has none, so that the
    // user may still print into a file. False when nothing is to be printed.
    virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;
};

// The installed seam; the Qt implementation unless a test installed another.
Dialogs &current();
// Installs a replacement and returns the previous one (nullptr: the Qt dialogs).
std::unique_ptr<Dialogs> install(std::unique_ptr<Dialogs> dialogs);

// Shortcuts for the common boxes, titled with the application's name.
Answer ask(QWidget *parent, Kind kind, const QString &text, Buttons buttons);
void inform(QWidget *parent, Kind kind, const QString &text);

// Splits "Description|Patterns|Description2|Patterns2|" into Qt's
// "Description (Patterns);;Description2 (Patterns2)" filter form.
QString toQtFilter(const QString &alternating);

} // namespace dialogs
