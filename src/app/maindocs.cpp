// Document windows of the main window: making, finding, opening, saving,
// reloading, the recent files, the window bar and the closing pass.
#include "mainform.h"

#include "app/recentfiles.h"
#include "docs/newhtmlform.h"
#include "docs/templateform.h"
#include "editor/colmemo.h"
#include "editor/docrules.h"
#include "editor/editwin.h"
#include "editor/htmlscheme.h"
#include "editor/insertaround.h"
#include "editor/pageglyphs.h"
#include "editor/recoverykeeper.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/pathcompare.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "settings/values.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>
#include <memory>

namespace {

TEditForm *formOf(QMdiSubWindow *sub)
{
    return sub ? qobject_cast<TEditForm *>(sub->widget()) : nullptr;
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

int TMainForm::FindDocument(const QString &path) const
{
    if (m_terminating || path.isEmpty())
        return -1;
    const QList<TEditForm *> docs = documents();
    for (int i = 0; i < docs.size(); ++i)
        if (!docs[i]->FileName.isEmpty() && samePath(docs[i]->fullPath(), path))
            return i;
    return -1;
}

bool TMainForm::OpenInAnotherWindow(const QString &path, const QWidget *except) const
{
    const QList<TEditForm *> docs = documents();
    return std::any_of(docs.cbegin(), docs.cend(), [&](const TEditForm *doc) {
        return doc != except && !doc->isBeingDestroyed() && !doc->FileName.isEmpty() && samePath(doc->fullPath(), path);
    });
}

TEditForm *TMainForm::OpenDocument(const QString &path, bool isNew, int newKind)
{
    const int found = isNew ? -1 : FindDocument(path);
    if (found >= 0) {
        TEditForm *doc = documents()[found];
        bringForward(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
        return doc;
    }
    // The file is read first; a window is only made for a file that loaded.
    DocumentFile file;
    DocumentFile::Loaded loaded;
    if (!isNew && QFileInfo(path).isFile()) {
        loaded = file.load(path);
        if (!loaded.result.ok) {
            dialogs::inform(this, dialogs::Kind::Error, path + u'\n' + lex::message(3019) + u'\n' + loaded.result.error);
            return nullptr;
        }
    }
    TEditForm *doc = makeDocumentWindow();
    if (isNew)
        doc->setWindowTitle(lex::caption(1039));
    else if (!file.path().isEmpty())
        doc->ShowLoaded(std::move(file), loaded.text);
    else if (!path.isEmpty())
        doc->IntendedPath = QFileInfo(path).absoluteFilePath();
    if (!doc->FileName.isEmpty())
        AddRecentFile(path);
    presentDocument(doc);
    if (!isNew)
        return doc;
    // The new window stands before the wizard asks, as it did before.
    const QPointer<TEditForm> made(doc);
    fillNewDocument(doc, newKind);
    if (made)
        made->ColorMemo->setFocus();
    return made;
}

// A document asked for again comes into view, also out of its minimized state.
void TMainForm::bringForward(QMdiSubWindow *sub)
{
    if (!sub)
        return;
    if (sub->isMinimized())
        sub->showNormal();
    MDIArea->setActiveSubWindow(sub);
}

void TMainForm::presentDocument(TEditForm *doc)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget());
    placeNewDocument(sub, doc);
    sub->show();
    doc->ColorMemo->setFocus();
    RebuildWindowBar();
}

// The wizard (a negative kind) or the template chooser gives a new document
// its text; an empty result leaves the document empty.
void TMainForm::fillNewDocument(TEditForm *doc, int newKind)
{
    const QPointer<TEditForm> target(doc);
    const QString text = newKind < 0 ? TNewHTMLFileForm::Execute(this) : TTemplateForm::Execute(this);
    if (target && !text.isEmpty()) {
        TColorMemo *memo = target->ColorMemo;
        if (memo->document()->isEmpty()) {
            memo->setText(text);
        } else {
            // Another program put text in while the form asked: it stays,
            // below the page.
            memo->setSelStart(0);
            memo->setSelLength(0);
            memo->replaceSelection(text + QStringLiteral("\r\n"));
        }
        // The page is the user's work from the form: Save takes it, and
        // closing the window asks before it is dropped.
        target->ColorMemo->document()->setModified(true);
    }
}

TEditForm *TMainForm::NewDocumentByWizard()
{
    return OpenDocument(QString(), true, -1);
}

// The window is complete before it joins the document area, so an error
// while it is made leaves nothing behind.
TEditForm *TMainForm::makeDocumentWindow()
{
    auto made = std::make_unique<TEditForm>(this);
    const settings::EditorLook look = settings::loadEditorLook();
    made->ApplyColorScheme(look);
    ApplyEditorFont(*made->ColorMemo, look);
    TEditForm *doc = made.get();
    QMdiSubWindow *sub = MDIArea->addSubWindow(made.release());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(pageGlyph(PageGlyph::Source));
    connect(sub, &QObject::destroyed, this,
            [this] { QMetaObject::invokeMethod(this, &TMainForm::RebuildWindowBar, Qt::QueuedConnection); });
    connect(doc, &QWidget::windowTitleChanged, this, &TMainForm::RebuildWindowBar);
    if (m_recoveryKeeper)
        m_recoveryKeeper->watch(doc);
    return doc;
}

void TMainForm::RebuildWindowBar()
{
    if (!m_terminating) {
        // The bar's own changes here are no choice of the user's.
        const QSignalBlocker quiet(TabMDI);
        while (TabMDI->count() > 0)
            TabMDI->removeTab(0);
        for (TEditForm *doc : documents()) {
            if (doc->isBeingDestroyed())
                continue;
            // "&" is shown as itself, not as a shortcut marker.
            const int tab = TabMDI->addTab(doc->caption().replace(u'&', QStringLiteral("&&")));
            // Windows focused by other means do not reorder the bar: a tab
            // knows its own window instead of a place in the focus order.
            TabMDI->setTabData(tab, QVariant::fromValue(QPointer<QWidget>(doc->parentWidget())));
        }
        TabMDI->setVisible(TabMDI->count() > 0);
        if (TabMDI->count() > 0)
            TabMDI->setCurrentIndex(0);
    }
    UpdateCommandState();
}

void TMainForm::TabMDIChange(int index)
{
    if (index < 0 || index >= TabMDI->count())
        return;
    auto *sub = qobject_cast<QMdiSubWindow *>(TabMDI->tabData(index).value<QPointer<QWidget>>().data());
    if (!sub)
        return;
    bringForward(sub);
    // Rebuilt once the click is over, so that the tab bar does not select
    // whatever tab then lies under the mouse.
    QMetaObject::invokeMethod(this, &TMainForm::RebuildWindowBar, Qt::QueuedConnection);
}

void TMainForm::InsertAroundSelection(const QString &before, const QString &after)
{
    insertAroundSelectionOf(activeDocument(), before, after);
}

void TMainForm::insertAroundSelectionOf(TEditForm *doc, const QString &before, const QString &after)
{
    if (!doc)
        return;
    // The text changes where the user sees it, not in a hidden editor.
    insertAroundSelection(*editorInView(doc), before, after);
    doc->ColorMemo->setFocus();
}

// ---- Recent files ----

// The list is a convenience: a settings store that cannot be written is
// reported, and whatever opened or saved the file goes on.
void TMainForm::AddRecentFile(const QString &path)
{
    try {
        settings::storeRecentFiles({withRecentFile(settings::loadRecentFiles().paths, canonicalPath(path))});
    } catch (const RegistryError &e) {
        ShowSettingsFailure(e.message());
    }
    Menu_FileClick();
}

void TMainForm::Menu_FileClick()
{
    Menu_OpenNew->clear();
    const QStringList files = settings::loadRecentFiles().paths;
    // A long path would make the menu wider than the screen; the item's
    // hint keeps the whole of it.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int maxWidth = screen ? screen->availableGeometry().width() / 2 : 600;
    Menu_OpenNew->setToolTipsVisible(true);
    for (int k = 0; k < files.size(); ++k) {
        QAction *item = Menu_OpenNew->addAction(recentMenuCaption(k + 1, files[k], Menu_OpenNew->fontMetrics(), maxWidth));
        item->setToolTip(files[k]);
        item->setData(files[k]);
        const QString path = files[k];
        connect(item, &QAction::triggered, this, [this, path] { RecentFileClick(path); });
    }
    Menu_OpenNew->setEnabled(!files.isEmpty());
}

void TMainForm::RecentFileClick(const QString &path)
{
    const int found = FindDocument(path);
    if (found >= 0)
        bringForward(qobject_cast<QMdiSubWindow *>(documents()[found]->parentWidget()));
    else if (QFileInfo(path).isFile())
        OpenDocument(path, false, 0);
}

// ---- File types, open and save ----

void TMainForm::LoadFileTypes()
{
    m_fileTypes = loadFileTypes(programdir::path() + QStringLiteral("fileext.mvt"));
}

void TMainForm::SaveDlgTypeChange(int oneBasedIndex)
{
    m_selectedSaveFilter = oneBasedIndex - 1;
}

std::optional<dialogs::FileResult> TMainForm::RunSaveDialog(const QString &folder, const QString &fileName)
{
    dialogs::FileRequest request;
    request.title = lex::caption(1131);
    request.folder = folder;
    request.fileName = fileName;
    request.filter = m_fileTypes.saveFilter;
    request.filterIndex = m_selectedSaveFilter + 1;
    request.typeChanged = [this](int index) { SaveDlgTypeChange(index); };
    return dialogs::current().saveFile(this, request);
}

void TMainForm::BtnOpenClick()
{
    dialogs::FileRequest request;
    request.title = lex::caption(1130);
    request.filter = m_fileTypes.openFilter;
    const auto chosen = dialogs::current().openFile(this, request);
    if (chosen && QFileInfo(chosen->path).isFile())
        OpenDocument(chosen->path, false, 0);
}

void TMainForm::BtnNewClick()
{
    NewDocumentByWizard();
}
void TMainForm::Menu_NewClick()
{
    OpenDocument(QString(), true, 1);
}

void TMainForm::BtnSaveClick()
{
    if (TEditForm *doc = activeDocument())
        doc->SaveDocument(false);
}

void TMainForm::BtnSaveAsClick()
{
    if (TEditForm *doc = activeDocument())
        doc->SaveDocument(true);
}

void TMainForm::Menu_ReloadClick()
{
    const QPointer<TEditForm> doc(activeDocument());
    if (!doc || doc->FileName.isEmpty() || !QFileInfo(doc->fullPath()).isFile())
        return;
    // The question waits in an event loop of its own: the window may go meanwhile.
    if (dialogs::ask(this, dialogs::Kind::Confirmation, lex::message(3006), dialogs::Buttons::YesCancel) == dialogs::Answer::Yes && doc &&
        !doc->isBeingDestroyed())
        reloadDocument(doc);
}

// A failed reload leaves the document as it was and says why.
void TMainForm::reloadDocument(TEditForm *doc)
{
    QString error;
    if (!doc->LoadFile(doc->fullPath(), &error))
        dialogs::inform(this, dialogs::Kind::Error, doc->fullPath() + u'\n' + lex::message(3019) + u'\n' + error);
}

void TMainForm::CheckDiskChange()
{
    const QPointer<TEditForm> doc(activeDocument());
    if (m_checkingDisk || !doc || doc->isModified() || doc->File.changeOffered() || !doc->changedOnDisk())
        return;
    m_checkingDisk = true;
    // Asked once per change, also when the reload then fails.
    doc->File.markChangeOffered();
    const QString question = doc->fullPath() + u'\n' + lex::message(3017);
    const dialogs::Answer answer = dialogs::ask(this, dialogs::Kind::Confirmation, question, dialogs::Buttons::YesNo);
    // A window closed while the question waited is left alone, and text
    // that came into it meanwhile is not thrown away by a reload.
    if (doc && !doc->isBeingDestroyed() && !doc->isModified()) {
        if (answer == dialogs::Answer::Yes)
            reloadDocument(doc);
        else
            doc->File.declineOfferedChange();
    }
    m_checkingDisk = false;
}

// ---- Closing ----

bool TMainForm::runClosingPass()
{
    if (documents().isEmpty())
        return dialogs::ask(this, dialogs::Kind::Confirmation, lex::message(3003), dialogs::Buttons::YesNo) == dialogs::Answer::Yes;
    // A command from another program can open and fill a document while a
    // question is open: the pass goes on until every document was decided.
    QList<QPointer<TEditForm>> decided;
    for (;;) {
        QList<TEditForm *> docs = documents();
        docs.removeIf([&decided](TEditForm *doc) { return decided.contains(doc); });
        if (docs.isEmpty())
            return true;
        // Least recently focused first.
        std::reverse(docs.begin(), docs.end());
        // A question waits in an event loop of its own: a window may go meanwhile.
        const QList<QPointer<TEditForm>> pending(docs.cbegin(), docs.cend());
        for (const QPointer<TEditForm> &doc : pending) {
            if (!doc)
                continue;
            if (doc->isModified()) {
                // New documents share one caption: the user answers for the one in view.
                bringForward(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
                const QString question = lex::message(3004) + doc->caption() + lex::message(3005);
                const dialogs::Answer answer = dialogs::ask(this, dialogs::Kind::Confirmation, question, dialogs::Buttons::YesNoCancel);
                if (answer == dialogs::Answer::Cancel)
                    return false;
                if (!doc)
                    continue;
                const bool saved = answer != dialogs::Answer::Yes || doc->SaveDocument(false);
                if (!doc) // closed while the save asked
                    continue;
                // A change made while the save asked is in no file: the program stays.
                if (!saved || (answer == dialogs::Answer::Yes && doc->isModified()))
                    return false;
            }
            decided.append(doc);
            doc->closeDecided();
            // The window is freed only after the pass: its tab goes now, not
            // while the next document is asked about.
            RebuildWindowBar();
        }
    }
}

void TMainForm::rebuildWindowList()
{
    const QList<QAction *> fixed = {Menu_Cascade, Menu_TileH, Menu_TileV, Menu_Arrange, Menu_WindowBar};
    for (QAction *a : Menu_Window->actions()) {
        if (!fixed.contains(a)) {
            Menu_Window->removeAction(a);
            a->deleteLater();
        }
    }
    const QList<QMdiSubWindow *> subs = MDIArea->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    Menu_Window->addSeparator();
    int n = 0;
    for (QMdiSubWindow *sub : subs) {
        // Only 1 to 9 are access keys: "&10" would share the 1 with "&1".
        const QString number = ++n < 10 ? QStringLiteral("&%1").arg(n) : QString::number(n);
        const TEditForm *doc = formOf(sub);
        const QString caption = doc ? doc->caption() : sub->windowTitle();
        QAction *a = Menu_Window->addAction(number + u' ' + QString(caption).replace(u'&', QStringLiteral("&&")));
        a->setCheckable(true);
        a->setChecked(sub == MDIArea->currentSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] { bringForward(sub); });
    }
}
