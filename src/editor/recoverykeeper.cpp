#include "recoverykeeper.h"

#include "colmemo.h"
#include "editwin.h"
#include "recoverystore.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

// Slices short enough that a key pressed meanwhile waits at most this long.
constexpr qint64 kSliceNs = 2'000'000;

} // namespace

RecoveryKeeper::RecoveryKeeper(RecoveryStore &store, QObject *parent) : QObject(parent), m_store(store) {}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::setDelays(int quietMs, int longestMs)
{
    m_quietMs = quietMs;
    m_longestMs = longestMs;
}

RecoveryKeeper::Watched *RecoveryKeeper::find(TEditForm *doc)
{
    for (auto &[key, w] : m_watched)
        if (w.id == doc)
            return &w;
    return nullptr;
}

void RecoveryKeeper::watch(TEditForm *doc)
{
    const quint64 key = m_nextKey++;
    Watched &w = m_watched[key];
    w.key = key;
    w.id = doc;
    w.doc = doc;
    w.timer = new QTimer(this);
    w.timer->setSingleShot(true);
    connect(w.timer, &QTimer::timeout, this, [this, key] {
        auto it = m_watched.find(key);
        if (it != m_watched.end())
            startCopy(it->second);
    });
    QTextDocument *text = doc->ColorMemo->document();
    connect(text, &QTextDocument::contentsChange, this, [this, doc](int position, int, int) { edited(doc, position); });
    connect(text, &QTextDocument::modificationChanged, this, [this, doc](bool modified) { modificationChanged(doc, modified); });
    connect(doc, &QObject::destroyed, this, [this, id = w.id] { forget(id); });
}

void RecoveryKeeper::edited(TEditForm *doc, int position)
{
    Watched *w = find(doc);
    if (!w)
        return;
    const int revision = doc->ColorMemo->document()->revision();
    if (revision == w->revision)
        return;
    w->revision = revision;
    // An edit above the copied part makes the copy worthless; one below it
    // is picked up as the copy goes on.
    if (w->copying && position < w->copiedUpTo) {
        w->copying = false;
        w->copied.clear();
    }
    if (!w->waitingSince.isValid())
        w->waitingSince.start();
    if (w->copying)
        return;
    const qint64 left = m_longestMs - w->waitingSince.elapsed();
    w->timer->start(int(std::clamp<qint64>(left, 0, m_quietMs)));
}

void RecoveryKeeper::modificationChanged(TEditForm *doc, bool modified)
{
    if (modified)
        return;
    // Saved, or undone back to what the file holds: nothing to recover.
    Watched *w = find(doc);
    if (!w)
        return;
    w->timer->stop();
    w->copying = false;
    w->copied.clear();
    w->waitingSince.invalidate();
    m_store.remove(w->key);
}

void RecoveryKeeper::forget(const QObject *id)
{
    for (auto it = m_watched.begin(); it != m_watched.end(); ++it) {
        if (it->second.id == id) {
            delete it->second.timer;
            m_store.remove(it->first);
            m_watched.erase(it);
            return;
        }
    }
}

void RecoveryKeeper::startCopy(Watched &w)
{
    if (!w.doc || !w.doc->isModified())
        return;
    w.copying = true;
    w.copied.clear();
    w.copiedUpTo = 0;
    // The clock restarts here: edits from now on wait for the next copy.
    w.waitingSince.invalidate();
    copySlice(w.key);
}

void RecoveryKeeper::copySlice(quint64 key)
{
    auto it = m_watched.find(key);
    if (it == m_watched.end() || !it->second.copying)
        return;
    Watched &w = it->second;
    if (!w.doc) {
        w.copying = false;
        return;
    }
    if (copyStep(w, kSliceNs))
        finishCopy(w);
    else
        QTimer::singleShot(0, this, [this, key] { copySlice(key); });
}

bool RecoveryKeeper::copyStep(Watched &w, qint64 budgetNs)
{
    QTextDocument *text = w.doc->ColorMemo->document();
    QElapsedTimer clock;
    clock.start();
    QTextBlock block = text->findBlock(w.copiedUpTo);
    if (!block.isValid() || block.position() != w.copiedUpTo) {
        w.copied.clear();
        w.copiedUpTo = 0;
        block = text->begin();
    }
    int blocks = 0;
    while (block.isValid()) {
        if (block.position() > 0)
            w.copied.append(u'\n');
        w.copied.append(block.text());
        w.copiedUpTo = block.position() + block.length();
        block = block.next();
        if ((++blocks & 63) == 0 && clock.nsecsElapsed() > budgetNs)
            return !block.isValid();
    }
    return true;
}

void RecoveryKeeper::finishCopy(Watched &w)
{
    w.copying = false;
    TEditForm *doc = w.doc;
    RecoveredText r;
    r.path = doc->FileName.isEmpty() ? QString() : doc->fullPath();
    r.title = doc->windowTitle();
    r.format = doc->File.format();
    r.text = std::move(w.copied);
    w.copied.clear();
    m_store.write(w.key, std::move(r));
}

void RecoveryKeeper::keepNow(TEditForm *doc)
{
    Watched *w = find(doc);
    if (!w || !doc->isModified())
        return;
    w->timer->stop();
    w->copying = true;
    w->copied.clear();
    w->copiedUpTo = 0;
    w->waitingSince.invalidate();
    copyStep(*w, std::numeric_limits<qint64>::max());
    finishCopy(*w);
}
