// One scan of a folder for the image browser: the picture files in name
// order, their thumbnails made on worker threads and handed out in that same
// order, so the list fills from the top while the window stays responsive.
#pragma once

#include "picload.h"

#include <QFileInfo>
#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QThreadPool>

struct PictureEntry {
    QString name;
    qint64 size = 0;
    Thumbnail thumb;
};

// The GIF, JPEG, PNG and WebP files of the folder (not its subfolders), by
// name without regard to case.
QFileInfoList pictureFiles(const QString &folder);
// The pictures of the folder that pictureFiles() cannot list because their
// names are no UTF-8, read as Windows-1252, by name.
QStringList unlistablePictures(const QString &folder);

class PictureScan : public QObject
{
    Q_OBJECT

public:
    explicit PictureScan(QObject *parent = nullptr);
    // Waits only for the thumbnails being made at this moment.
    ~PictureScan() override;

    // Ends a running scan first.
    void start(const QString &folder);
    // Takes effect at once: no further entry is handed out, and work not yet
    // begun is dropped.
    void stop();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void current(const QString &name);
    void found(const PictureEntry &entry);
    void finished();

private:
    // Thumbnails made ahead of the list: enough to keep both cores busy,
    // few enough that memory does not grow when one picture takes long.
    static constexpr int kAhead = 8;

    QThreadPool m_pool;
    QFileInfoList m_files;
    QList<QFuture<Thumbnail>> m_jobs;
    QFutureWatcher<Thumbnail> m_watcher;
    qsizetype m_next = 0;
    bool m_running = false;

    void submitUpTo(qsizetype count);
    void watchNext();
    void takeNext();
    void finish();
};
