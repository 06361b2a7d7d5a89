// Files dropped on the main window: the known types open, names the
// platform cannot hand over are reported.
#include "mainform.h"

#include "common/boxnames.h"
#include "editor/docrules.h"
#include "platform/dialogs.h"
#include "platform/filenames.h"
#include "platform/lexstrings.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>

#include <algorithm>

namespace {

// The dropped files; addresses that name no local file are passed over.
filenames::LocalFiles droppedFiles(const QMimeData *mime)
{
    return filenames::localFiles(mime->urls());
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    const Qt::DropAction action = droppedFilesAction(event->possibleActions());
    const filenames::LocalFiles dropped = droppedFiles(event->mimeData());
    if (action != Qt::IgnoreAction && (!dropped.paths.isEmpty() || !dropped.unreachable.isEmpty())) {
        event->setDropAction(action);
        event->accept();
    }
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const Qt::DropAction action = droppedFilesAction(event->possibleActions());
    const filenames::LocalFiles dropped = droppedFiles(event->mimeData());
    if (action == Qt::IgnoreAction || (dropped.paths.isEmpty() && dropped.unreachable.isEmpty())) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    // The source program waits until the drop has ended: the files open
    // (and a file that cannot be read is reported) only afterwards.
    QMetaObject::invokeMethod(
        this,
        [this, dropped] {
            FileDragMainDrop(dropped.paths);
            reportUnreachableFiles(dropped.unreachable);
        },
        Qt::QueuedConnection);
}

void TMainForm::reportUnreachableFiles(const QStringList &names)
{
    if (!names.isEmpty())
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3384) + u'\n' + namesForBox(names));
}

void TMainForm::FileDragMainDrop(const QStringList &paths)
{
    QStringList entries;
    MvCoder.decode(m_fileTypes.extensionList, entries);
    // The last dropped file opens first, so the first one ends up in front.
    for (auto it = paths.crbegin(); it != paths.crend(); ++it) {
        const qsizetype dot = it->lastIndexOf(u'.');
        const QString pattern = u'*' + (dot < 0 ? QString() : it->mid(dot).toLower());
        const bool known = std::any_of(entries.cbegin(), entries.cend(),
                                       [&pattern](const QString &e) { return e.compare(pattern, Qt::CaseInsensitive) == 0; });
        if (dot >= 0 && known && QFileInfo(*it).isFile())
            OpenDocument(*it, false, 0);
    }
}
