#include "picscan.h"

#include "platform/filenames.h"

#include <QDir>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// What web pages show; BMP pictures load for the previews but are not listed.
bool isListedKind(PictureKind kind)
{
    return kind == PictureKind::Gif || kind == PictureKind::Jpeg || kind == PictureKind::Png || kind == PictureKind::WebP;
}

} // namespace

QFileInfoList pictureFiles(const QString &folder)
{
    const QDir dir(folder);
    QFileInfoList pictures;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries)
        if (entry.isFile() && isListedKind(pictureKindOf(entry.fileName())))
            pictures.append(entry);
    return pictures;
}

QStringList unlistablePictures(const QString &folder)
{
    QStringList names = filenames::unreachableNames(folder);
    names.removeIf([](const QString &name) { return !isListedKind(pictureKindOf(name)); });
    names.sort(Qt::CaseInsensitive);
    return names;
}

PictureScan::PictureScan(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(std::max(1, std::min(2, QThread::idealThreadCount())));
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &PictureScan::takeNext);
}

PictureScan::~PictureScan()
{
    stop();
    m_pool.waitForDone();
}

void PictureScan::start(const QString &folder)
{
    stop();
    m_files = pictureFiles(folder);
    m_jobs.clear();
    m_next = 0;
    m_running = true;
    submitUpTo(kAhead);
    watchNext();
}

void PictureScan::stop()
{
    if (!m_running)
        return;
    // A job that has not begun sees the cancel and returns at once.
    for (QFuture<Thumbnail> &job : m_jobs)
        job.cancel();
    finish();
}

void PictureScan::submitUpTo(qsizetype count)
{
    while (m_jobs.size() < std::min(count, m_files.size())) {
        const QString path = m_files[m_jobs.size()].filePath();
        m_jobs.append(QtConcurrent::run(&m_pool, [path] { return MakeThumbnail(path); }));
    }
}

void PictureScan::watchNext()
{
    if (m_next >= m_files.size()) {
        finish();
        return;
    }
    Q_EMIT current(m_files[m_next].fileName());
    m_watcher.setFuture(m_jobs[m_next]);
}

void PictureScan::takeNext()
{
    if (!m_running || m_next >= m_jobs.size())
        return;
    QFuture<Thumbnail> job = m_jobs[m_next];
    // A late notice of an earlier scan's job: go on waiting for this one.
    if (!job.isFinished()) {
        m_watcher.setFuture(job);
        return;
    }
    // Looked at afresh: the folder was read when the scan began, and a file
    // deleted since then is no picture to offer a tag for.
    const QFileInfo file(m_files[m_next].filePath());
    PictureEntry entry;
    entry.name = file.fileName();
    entry.size = file.size();
    if (job.isValid() && job.resultCount() > 0)
        entry.thumb = job.result();
    // The list keeps its own copy; the job's is let go.
    m_jobs[m_next] = QFuture<Thumbnail>();
    ++m_next;
    submitUpTo(m_next + kAhead);
    if (file.isFile())
        Q_EMIT found(entry);
    if (m_running)
        watchNext();
}

void PictureScan::finish()
{
    m_running = false;
    m_jobs.clear();
    m_files.clear();
    m_next = 0;
    Q_EMIT finished();
}
