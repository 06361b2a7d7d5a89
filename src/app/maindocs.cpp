// Document windows of the main window: making, listing, the window bar and
// the closing pass.
#include "mainform.h"

#include "app/glyphs.h"
#include "app/lexstrings.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/cp1252.h"
#include "platform/dialogs.h"
#include "settings/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTabBar>

#include <algorithm>

namespace {

TEditForm *formOf(QMdiSubWindow *sub)
{
    return sub ? qobject_cast<TEditForm *>(sub->widget()) : nullptr;
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? cp1252::decode(bytes) : text;
}

// The stored font, or the system's fixed-width font while none is chosen.
void applyEditorFont(TEditForm *doc)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QString name = settings::font();
    if (!name.isEmpty())
        font.setFamily(name);
    const int points = settings::fontHeight();
    if (points > 0)
        font.setPointSize(points);
    doc->ColorMemo->setFont(font);
}

} // namespace

TEditForm *TMainForm::activeDocument() const
{
    if (!MDIArea)
        return nullptr;
    TEditForm *doc = formOf(MDIArea->currentSubWindow());
    return doc && !doc->isBeingDestroyed() ? doc : nullptr;
}

QList<TEditForm *> TMainForm::documents() const
{
    QList<TEditForm *> docs;
    const QList<QMdiSubWindow *> history = MDIArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.crbegin(); it != history.crend(); ++it)
        if (TEditForm *doc = formOf(*it))
            docs.append(doc);
    return docs;
}

TEditForm *TMainForm::OpenDocument(const QString &path, bool isNew, int)
{
    auto *doc = new TEditForm(this);
    doc->ApplyColorScheme();
    applyEditorFont(doc);
    QMdiSubWindow *sub = MDIArea->addSubWindow(doc);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(glyphIcon(Glyph::PageSource));
    connect(sub, &QObject::destroyed, this,
            [this] { QMetaObject::invokeMethod(this, &TMainForm::RebuildWindowBar, Qt::QueuedConnection); });
    connect(doc, &QWidget::windowTitleChanged, this, &TMainForm::RebuildWindowBar);
    if (isNew) {
        doc->setWindowTitle(lex::caption(1039));
    } else if (QFileInfo(path).isFile()) {
        const QFileInfo info(path);
        doc->FilePath = info.absolutePath() + u'/';
        doc->FileName = info.fileName();
        doc->setWindowTitle(doc->FileName);
        doc->ColorMemo->setPlainText(readText(path));
        doc->ColorMemo->document()->setModified(false);
    }
    // A new window takes most of the free area instead of the style's small default.
    sub->resize(MDIArea->viewport()->size() * 3 / 4);
    sub->show();
    doc->ColorMemo->setFocus();
    RebuildWindowBar();
    return doc;
}

void TMainForm::RebuildWindowBar()
{
    if (!m_terminating) {
        while (TabMDI->count() > 0)
            TabMDI->removeTab(0);
        for (TEditForm *doc : documents())
            if (!doc->isBeingDestroyed())
                TabMDI->addTab(doc->windowTitle());
        TabMDI->setVisible(TabMDI->count() > 0);
        if (TabMDI->count() > 0)
            TabMDI->setCurrentIndex(0);
    }
    UpdateCommandState();
}

void TMainForm::TabMDIChange(int index)
{
    const QList<TEditForm *> docs = documents();
    if (index < 0 || index >= docs.size())
        return;
    MDIArea->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(docs[index]->parentWidget()));
    RebuildWindowBar();
}

void TMainForm::AddRecentFile(const QString &) {}

void TMainForm::InsertAroundSelection(const QString &before, const QString &after)
{
    TEditForm *doc = activeDocument();
    if (!doc)
        return;
    const QChar degree(0x00B0);
    const QString b = QString(before).replace(degree, u'\n');
    const QString a = QString(after).replace(degree, u'\n');
    QTextCursor cursor = doc->ColorMemo->textCursor();
    const QString selected = cursor.selectedText();
    const int start = cursor.selectionStart();
    cursor.insertText(b + selected + a);
    cursor.setPosition(start + int(b.size() + selected.size()));
    doc->ColorMemo->setTextCursor(cursor);
    doc->ColorMemo->setFocus();
}

bool TMainForm::runClosingPass()
{
    QList<TEditForm *> docs = documents();
    if (docs.isEmpty())
        return dialogs::ask(this, dialogs::Kind::Confirmation, lex::message(3003), dialogs::Buttons::YesNo) == dialogs::Answer::Yes;
    // Least recently focused first.
    std::reverse(docs.begin(), docs.end());
    for (TEditForm *doc : std::as_const(docs)) {
        if (doc->isModified()) {
            const QString question = lex::message(3004) + doc->windowTitle() + lex::message(3005);
            const dialogs::Answer answer = dialogs::ask(this, dialogs::Kind::Confirmation, question, dialogs::Buttons::YesNoCancel);
            if (answer == dialogs::Answer::Cancel)
                return false;
            if (answer == dialogs::Answer::Yes)
                return false; // saving comes with the document window's save
        }
        doc->parentWidget()->close();
    }
    return true;
}

void TMainForm::rebuildWindowList()
{
    const QList<QAction *> fixed = {Menu_Cascade, Menu_TileH, Menu_TileV, Menu_Arrange, Menu_WindowBar};
    for (QAction *a : Menu_Window->actions())
        if (!fixed.contains(a))
            Menu_Window->removeAction(a), a->deleteLater();
    const QList<QMdiSubWindow *> subs = MDIArea->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    Menu_Window->addSeparator();
    int n = 0;
    for (QMdiSubWindow *sub : subs) {
        QAction *a = Menu_Window->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->windowTitle()));
        a->setCheckable(true);
        a->setChecked(sub == MDIArea->currentSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] { MDIArea->setActiveSubWindow(sub); });
    }
}

void TMainForm::BtnNewClick()
{
    OpenDocument(QString(), true, -1);
}
void TMainForm::Menu_NewClick()
{
    OpenDocument(QString(), true, 1);
}

void TMainForm::BtnOpenClick()
{
    dialogs::FileRequest request;
    request.title = QStringLiteral("Open File");
    request.filter = QStringLiteral("Internet Dokuments|*.htm;*.html|Cascading Style Sheets|*.css|Active Server Pages|*.asp");
    const auto chosen = dialogs::current().openFile(this, request);
    if (chosen && QFileInfo(chosen->path).isFile())
        OpenDocument(chosen->path, false, 0);
}

void TMainForm::BtnSaveClick() {}
void TMainForm::BtnSaveAsClick() {}
void TMainForm::Menu_ReloadClick() {}

void TMainForm::Menu_CascadeClick()
{
    MDIArea->cascadeSubWindows();
}

namespace {

QList<QMdiSubWindow *> openWindows(QMdiArea *area)
{
    QList<QMdiSubWindow *> list;
    for (QMdiSubWindow *sub : area->subWindowList(QMdiArea::StackingOrder))
        if (!sub->isMinimized() && sub->isVisible())
            list.append(sub);
    return list;
}

// Horizontal tiling lays the windows one above the other, each the full
// width; vertical tiling sets them side by side, each the full height.
void tile(QMdiArea *area, bool horizontal)
{
    const QList<QMdiSubWindow *> subs = openWindows(area);
    if (subs.isEmpty())
        return;
    const QRect space = area->viewport()->rect();
    const int n = int(subs.size());
    for (int i = 0; i < n; ++i) {
        subs[i]->showNormal();
        if (horizontal) {
            const int top = space.height() * i / n;
            subs[i]->setGeometry(0, top, space.width(), space.height() * (i + 1) / n - top);
        } else {
            const int left = space.width() * i / n;
            subs[i]->setGeometry(left, 0, space.width() * (i + 1) / n - left, space.height());
        }
    }
}

} // namespace

void TMainForm::Menu_TileHClick()
{
    tile(MDIArea, true);
}
void TMainForm::Menu_TileVClick()
{
    tile(MDIArea, false);
}

void TMainForm::Menu_ArrangeClick()
{
    int x = 0;
    const int bottom = MDIArea->viewport()->height();
    for (QMdiSubWindow *sub : MDIArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, bottom - sub->height());
        x += sub->width();
    }
}

void TMainForm::Menu_WindowBarClick()
{
    P_MDI->setVisible(Menu_WindowBar->isChecked());
}
