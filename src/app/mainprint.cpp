// Print and Print preview of the active document.
#include "mainform.h"

#include "docs/printform.h"
#include "docs/printprevform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/dialogs.h"
#include "settings/settings.h"

#include <QPrinter>

namespace {

std::unique_ptr<TPrintForm> makePrintForm(TMainForm &main, const TEditForm &doc)
{
    const QString font = settings::orDefault(settings::pFont, QString());
    const int size = settings::orDefault(settings::pFontHeight, settings::defaults::pFontHeight);
    // The text is taken when the report asks for its record.
    auto lines = [&main]() -> std::optional<QStringList> {
        if (const TEditForm *active = main.activeDocument())
            return active->ColorMemo->Lines();
        return std::nullopt;
    };
    return std::make_unique<TPrintForm>(doc.FilePath, doc.FileName, font, size, lines);
}

} // namespace

void TMainForm::BtnPrintClick()
{
    const TEditForm *doc = activeDocument();
    if (!doc)
        return;
    const printing::Report report = makePrintForm(*this, *doc)->run();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.title);
    if (!dialogs::current().choosePrinter(this, printer))
        return;
    QString why;
    if (!printing::printReport(report, printer, {}, &why))
        dialogs::inform(this, dialogs::Kind::Error, why);
}

void TMainForm::Menu_PrintPreviewClick()
{
    const TEditForm *doc = activeDocument();
    auto *preview = qobject_cast<TPrintPrevForm *>(m_printPrevForm);
    if (!doc || !preview)
        return;
    preview->showReport(makePrintForm(*this, *doc)->run());
}
