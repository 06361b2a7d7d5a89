// Loading and saving of the document window.
#include "editwin.h"

#include "colmemo.h"
#include "docrules.h"
#include "mainhost.h"
#include "platform/cp1252.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/pathcompare.h"

#include <QFileInfo>

bool TEditForm::LoadFile(const QString &path, QString *error)
{
    // The file's state is taken before reading: a change made while it is
    // read counts as a change on disk, not as part of what was loaded.
    const QFileInfo before(path);
    const QDateTime diskTime = before.exists() ? before.lastModified() : QDateTime();
    const qint64 diskSize = before.exists() ? before.size() : -1;
    const LoadedFile loaded = loadTextFile(path);
    if (!loaded.result.ok) {
        if (error)
            *error = loaded.result.error;
        return false;
    }
    const QFileInfo info(path);
    FilePath = info.absolutePath() + u'/';
    FileName = info.fileName();
    setWindowTitle(FileName);
    Format = loaded.decoded.format;
    // Line separators in the file would be breaks on screen but not lines of
    // the text; they are read as the line breaks they are saved as.
    ColorMemo->setPlainText(withEditorBreaks(loaded.decoded.text));
    ColorMemo->document()->setModified(false);
    m_diskTime = diskTime;
    m_diskSize = diskSize;
    return true;
}

void TEditForm::rememberDiskState()
{
    const QFileInfo info(fullPath());
    m_diskTime = info.exists() ? info.lastModified() : QDateTime();
    m_diskSize = info.exists() ? info.size() : -1;
}

bool TEditForm::changedOnDisk() const
{
    if (FilePath.isEmpty() || !m_diskTime.isValid())
        return false;
    const QFileInfo info(fullPath());
    return info.exists() && (info.lastModified() != m_diskTime || info.size() != m_diskSize);
}

bool TEditForm::SaveDocument(bool askName)
{
    bool saved = false;
    if (!FilePath.isEmpty() && QFileInfo(fullPath()).isFile() && !askName) {
        saved = writeTo(fullPath());
    } else if (m_host) {
        const auto chosen = m_host->RunSaveDialog(FilePath, FileName.isEmpty() ? windowTitle() : FileName);
        if (chosen) {
            const QString name = applyExtensionRule(chosen->path, m_host->ExtensionList(), m_host->SelectedSaveFilter());
            if (confirmRenamedTarget(chosen->path, name) && writeTo(name)) {
                const QFileInfo info(name);
                FilePath = info.absolutePath() + u'/';
                FileName = info.fileName();
                setWindowTitle(FileName);
                rememberDiskState();
                m_host->AddRecentFile(name);
                saved = true;
            }
        }
    }
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
    if (path != fullPath() || !changedOnDisk())
        return true;
    const QString question = path + u'\n' + lex::message(3016);
    return dialogs::ask(this, dialogs::Kind::Warning, question, dialogs::Buttons::YesNo) == dialogs::Answer::Yes;
}

// A Windows-1252 document holding characters the code page cannot store is
// never saved with them lost: the user picks UTF-8 or character references.
bool TEditForm::chooseEncodingFor(QString &text)
{
    if (Format.encoding != TextEncoding::Windows1252 || cp1252::canEncode(text))
        return true;
    switch (dialogs::ask(this, dialogs::Kind::Confirmation, lex::message(3015), dialogs::Buttons::YesNoCancel)) {
    case dialogs::Answer::Yes:
        Format.encoding = TextEncoding::Utf8;
        Format.bom = false;
        return true;
    case dialogs::Answer::No: text = withCharacterReferences(text); return true;
    default: return false;
    }
}

bool TEditForm::writeTo(const QString &path)
{
    if (!confirmOverwriteOfChangedFile(path))
        return false;
    QString text = ColorMemo->plainText();
    const TextFormat before = Format;
    if (!chooseEncodingFor(text))
        return false;
    const FileResult result = saveFileAtomically(path, encodeText(text, Format));
    if (!result.ok) {
        Format = before;
        dialogs::inform(this, dialogs::Kind::Error, path + u'\n' + lex::message(3018) + u'\n' + result.error);
        return false;
    }
    ColorMemo->document()->setModified(false);
    if (path == fullPath())
        rememberDiskState();
    return true;
}
