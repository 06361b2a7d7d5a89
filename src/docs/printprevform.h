// The print preview window: one instance for the program's lifetime. It
// shows the pages of the last previewed report and prints them on request;
// closing only hides it.
#pragma once

#include "docs/printreport.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QScrollBar;
class QToolBar;

class TPrintPrevForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TPrintPrevForm(QWidget *parent = nullptr);
    ~TPrintPrevForm() override;

    // Replaces the pages shown by those of this report and shows the window.
    void showReport(const printing::Report &report);
    const std::optional<printing::Report> &report() const { return m_report; }
    // The zoom of the page preview in per cent, rounded.
    int zoomPercent() const;

    QToolBar *PToolbar = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QAction *BtnZoomSite = nullptr, *BtnZoomSiteWidth = nullptr, *BtnZoom121 = nullptr, *BtnPrint = nullptr, *BtnClose = nullptr;
    QPrintPreviewWidget *QRPreview1 = nullptr;
    QLabel *StatusPanel = nullptr;

    void ScrollBar1Change(int position);
    void BtnZoomSiteClick();
    void BtnZoomSiteWidthClick();
    void BtnZoom121Click();
    void BtnPrintClick();
    void BtnCloseClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<QPrinter> m_previewPrinter;
    std::optional<printing::Report> m_report;

    void FormCreate();
    void paintPages(QPrinter *printer);
    void releasePages();
    void scrollBarFollowsZoom();
};
