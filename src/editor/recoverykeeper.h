// Keeps the text of every modified document in the recovery store: a few
// seconds after the last edit, and at least every half minute while typing
// goes on. The text is copied in short slices between events, so a key is
// never kept waiting behind a large document; writing happens off this thread.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <map>

class QTextDocument;
class QTimer;
class RecoveryStore;
class TEditForm;

class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    RecoveryKeeper(RecoveryStore &store, QObject *parent = nullptr);
    ~RecoveryKeeper() override;

    void watch(TEditForm *doc);
    // Quiet time after the last edit, and the longest a modified text waits.
    void setDelays(int quietMs, int longestMs);
    // Copies and writes the document's text at once (a restored document).
    void keepNow(TEditForm *doc);

private:
    struct Watched {
        quint64 key = 0;
        const QObject *id = nullptr; // compared only: it may be half destroyed
        QPointer<TEditForm> doc;
        QTimer *timer = nullptr;    // quiet time, or the longest wait
        QTimer *slicer = nullptr;   // the next slice of a copy
        QElapsedTimer waitingSince; // first edit not yet kept
        int revision = -1;          // recolouring reports changes too; edits raise this
        // The copy in progress: the text so far and where it stopped.
        bool copying = false;
        QString copied;
        int copiedUpTo = 0;
    };

    Watched *find(TEditForm *doc);
    void edited(TEditForm *doc, int position, int removed, int added);
    void modificationChanged(TEditForm *doc, bool modified);
    void forget(const QObject *id);
    void startCopy(Watched &w);
    void copySlice(quint64 key);
    bool copyStep(Watched &w, qint64 budgetNs);
    void finishCopy(Watched &w);

    RecoveryStore &m_store;
    std::map<quint64, Watched> m_watched;
    quint64 m_nextKey = 1;
    int m_quietMs = 3000;
    int m_longestMs = 30000;
};
