// Loading and saving of the document window; the file itself is the
// window-free DocumentFile.
#include "editwin.h"

#include "colmemo.h"
#include "common/windowtitle.h"
#include "docrules.h"
#include "mainhost.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/pathcompare.h"
#include "preview.h"

#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTreeWidget>

#include <algorithm>

bool TEditForm::LoadFile(const QString &path, QString *error)
{
    DocumentFile file = File;
    const DocumentFile::Loaded loaded = file.load(path);
    if (!loaded.result.ok) {
        if (error)
            *error = loaded.result.error;
        return false;
    }
    ShowLoaded(std::move(file), loaded.text);
    return true;
}

void TEditForm::ShowLoaded(DocumentFile file, const QString &text)
{
    // A reload keeps the caret's line and column and the scrolled place,
    // as far as the new text reaches: the user goes on where they were.
    const int line = ColorMemo->caretLine();
    const int column = ColorMemo->caretColumn();
    const int top = ColorMemo->verticalScrollBar()->value();
    const int left = ColorMemo->horizontalScrollBar()->value();
    File = std::move(file);
    showFileName();
    ColorMemo->setPlainText(text);
    ColorMemo->document()->setModified(false);
    const QTextBlock block = ColorMemo->document()->findBlockByNumber(std::min(line, ColorMemo->document()->blockCount() - 1));
    const QString lineText = block.text();
    int at = std::min(column, int(lineText.size()));
    // Typing between the halves of a surrogate pair would tear the character apart.
    if (at > 0 && at < lineText.size() && lineText[at - 1].isHighSurrogate() && lineText[at].isLowSurrogate())
        --at;
    QTextCursor caret(block);
    caret.setPosition(block.position() + at);
    ColorMemo->setTextCursor(caret);
    ColorMemo->verticalScrollBar()->setValue(top);
    ColorMemo->horizontalScrollBar()->setValue(left);
    // A reload seen on the Preview or Links page shows the new text there.
    if (Pages->currentWidget() == HTMLViewer)
        BtnPreviewClick();
    else if (Pages->currentWidget() == TreeView->parentWidget())
        BtnLinksClick();
}

void TEditForm::ShowRecovered(DocumentFile file, const QString &text, const QString &title)
{
    File = std::move(file);
    showFileName();
    if (FileName.isEmpty())
        setWindowTitle(title);
    ColorMemo->setPlainText(text);
    ColorMemo->document()->setModified(true);
}

void TEditForm::showFileName()
{
    const QString before = FilePath;
    FilePath = File.folder();
    FileName = File.fileName();
    if (!FileName.isEmpty())
        setWindowTitle(literalWindowTitle(FileName));
    // A shown Info page tells about the file as it is after this save or load.
    if (infoShown())
        TabInfosEnter();
    // A shown preview of a page saved into another folder takes its links
    // and pictures from there, as the saved page will.
    else if (FilePath != before && Pages->currentWidget() == HTMLViewer)
        BtnPreviewClick();
}

bool TEditForm::SaveDocument(bool askName)
{
    // The dialogs wait in event loops of their own: the window may be
    // closed meanwhile, and then nothing of it may be touched.
    const QPointer<TEditForm> self(this);
    bool saved = false;
    if (!FilePath.isEmpty() && QFileInfo(fullPath()).isFile() && !askName) {
        saved = writeTo(fullPath());
    } else if (m_host) {
        const bool intended = FileName.isEmpty() && !IntendedPath.isEmpty();
        const QFileInfo proposal(IntendedPath);
        const auto chosen = intended ? m_host->RunSaveDialog(proposal.absolutePath() + u'/', proposal.fileName())
                                     : m_host->RunSaveDialog(FilePath, FileName.isEmpty() ? windowTitle() : FileName);
        if (!self)
            return false;
        if (chosen) {
            // An existing file picked in the dialog (which asked to replace
            // it) is saved into; renamed, a second file would stand beside the stale one.
            const QString name = QFileInfo::exists(chosen->path)
                                     ? chosen->path
                                     : applyExtensionRule(chosen->path, m_host->ExtensionList(), m_host->SelectedSaveFilter());
            // Two windows on one file would undo each other's saves.
            if (m_host->OpenInAnotherWindow(name, this)) {
                dialogs::inform(this, dialogs::Kind::Error, name + u'\n' + lex::message(3340));
            } else if (confirmRenamedTarget(chosen->path, name) && self && writeTo(name)) {
                m_host->AddRecentFile(name);
                saved = true;
            }
        }
    }
    if (!self)
        return false;
    if (m_host)
        m_host->RebuildWindowBar();
    return saved;
}

// The file type may change the chosen name; the dialog only asked about
// replacing the name the user chose, so a different existing file is asked
// about here.
bool TEditForm::confirmRenamedTarget(const QString &chosen, const QString &name)
{
    if (name == chosen || !QFileInfo::exists(name) || samePath(name, fullPath()))
        return true;
    const QString question = name + u'\n' + lex::message(3020);
    return dialogs::ask(this, dialogs::Kind::Warning, question, dialogs::Buttons::YesNo) == dialogs::Answer::Yes;
}

// Another program wrote the file since this window read or wrote it: its
// work is not overwritten without asking.
bool TEditForm::confirmOverwriteOfChangedFile(const QString &path)
{
    if (path != fullPath() || !File.changedOnDisk())
        return true;
    const QString question = path + u'\n' + lex::message(3016);
    return dialogs::ask(this, dialogs::Kind::Warning, question, dialogs::Buttons::YesNo) == dialogs::Answer::Yes;
}

// A Windows-1252 document holding characters the code page cannot store is
// never saved with them lost: the user picks UTF-8 or character references
// (a style sheet or script file its own escapes, and the question says so).
bool TEditForm::chooseEncodingFor(const QString &path, const QString &text, std::optional<DocumentFile::Unstorable> &choice)
{
    if (!File.needsEncodingChoice(text))
        return true;
    const ReferenceContext context = referenceContextOf(path, text);
    const int question = context == ReferenceContext::StyleSheet ? 3520 : context == ReferenceContext::Script ? 3521 : 3015;
    switch (dialogs::ask(this, dialogs::Kind::Confirmation, lex::message(question), dialogs::Buttons::YesNoCancel)) {
    case dialogs::Answer::Yes: choice = DocumentFile::Unstorable::SaveAsUtf8; return true;
    case dialogs::Answer::No: choice = DocumentFile::Unstorable::WriteReferences; return true;
    default: return false;
    }
}

bool TEditForm::writeTo(const QString &path)
{
    const QPointer<TEditForm> self(this);
    if (!confirmOverwriteOfChangedFile(path) || !self)
        return false;
    const QString text = ColorMemo->plainText();
    std::optional<DocumentFile::Unstorable> choice;
    if (!chooseEncodingFor(path, text, choice) || !self)
        return false;
    const FileResult result = File.save(path, text, choice);
    if (!result.ok) {
        dialogs::inform(this, dialogs::Kind::Error, path + u'\n' + lex::message(3018) + u'\n' + result.error);
        return false;
    }
    // A command may have changed the text while a question was open: that
    // change is in no file yet.
    if (ColorMemo->plainText() == text)
        ColorMemo->document()->setModified(false);
    showFileName();
    return true;
}
