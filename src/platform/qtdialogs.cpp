#include "qtdialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace dialogs {

namespace {

QMessageBox::StandardButtons standardButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::Cancel: return QMessageBox::Cancel;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesCancel: return QMessageBox::Yes | QMessageBox::Cancel;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon icon(Kind kind)
{
    switch (kind) {
    case Kind::Information: return QMessageBox::Information;
    case Kind::Warning: return QMessageBox::Warning;
    case Kind::Error: return QMessageBox::Critical;
    case Kind::Confirmation: return QMessageBox::Question;
    case Kind::Plain: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

// Closing the box without a button counts as its escape answer.
Answer answerOf(int result, Buttons buttons)
{
    switch (result) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNo ? Answer::No : buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

int filterIndexOf(const QFileDialog &dialog)
{
    const int i = int(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    return i < 0 ? 1 : i + 1;
}

std::optional<FileResult> runFileDialog(QWidget *parent, const FileRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title, request.folder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = toQtFilter(request.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filterIndex - 1, filters.first()));
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (request.typeChanged)
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&](const QString &filter) { request.typeChanged(int(filters.indexOf(filter)) + 1); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileResult{dialog.selectedFiles().first(), filterIndexOf(dialog)};
}

} // namespace

Answer QtDialogs::message(QWidget *parent, Kind kind, const QString &title, const QString &text, Buttons buttons)
{
    QMessageBox box(icon(kind), title, text, standardButtons(buttons), parent);
    // Messages name files and search texts; one that starts like a tag
    // would otherwise be taken for markup.
    box.setTextFormat(Qt::PlainText);
    return answerOf(box.exec(), buttons);
}

std::optional<FileResult> QtDialogs::openFile(QWidget *parent, const FileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<FileResult> QtDialogs::saveFile(QWidget *parent, const FileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<ColorValue> QtDialogs::chooseColor(QWidget *parent, ColorValue initial)
{
    const QColor chosen = QColorDialog::getColor(colors::toQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return colors::fromQColor(chosen);
}

int QtDialogs::runModal(QDialog &dialog)
{
    return dialog.exec();
}

bool QtDialogs::choosePrinter(QWidget *parent, QPrinter &printer)
{
    const QPrinterInfo current = QPrinterInfo::defaultPrinter();
    if (!current.isNull()) {
        printer.setPrinterName(current.printerName());
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace dialogs
