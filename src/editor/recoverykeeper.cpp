#include "recoverykeeper.h"

#include "colmemo.h"
#include "editwin.h"
#include "recoverystore.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

// Slices short enough that a key pressed meanwhile waits at most this long.
constexpr qint64 kSliceNs = 1'000'000;

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
    // A timer a millisecond apart, not a posted call: keys and other timers
    // keep their turn between the slices.
    w.slicer = new QTimer(this);
    w.slicer->setSingleShot(true);
    w.slicer->setInterval(1);
    connect(w.slicer, &QTimer::timeout, this, [this, key] { copySlice(key); });
    connect(w.timer, &QTimer::timeout, this, [this, key] {
        auto it = m_watched.find(key);
        if (it != m_watched.end())
            startCopy(it->second);
    });
    QTextDocument *text = doc->ColorMemo->document();
    connect(text, &QTextDocument::contentsChange, this,
            [this, doc](int position, int removed, int added) { edited(doc, position, removed, added); });
    connect(text, &QTextDocument::modificationChanged, this, [this, doc](bool modified) { modificationChanged(doc, modified); });
    connect(doc, &QObject::destroyed, this, [this, id = w.id] { forget(id); });
}

void RecoveryKeeper::edited(TEditForm *doc, int position, int removed, int added)
{
    Watched *w = find(doc);
    if (!w)
        return;
    const int revision = doc->ColorMemo->document()->revision();
    if (revision == w->revision)
        return;
    w->revision = revision;
    // The copy stays a true prefix of the text: an edit inside it is made
    // in the copy too, so typing on goes on without starting the copy over.
    // An edit across the copy's end takes it back to the start of the
    // edited line; the text before that did not change.
    if (w->copying && position < w->copiedUpTo) {
        QTextDocument *text = doc->ColorMemo->document();
        if (position + removed < w->copiedUpTo) {
            QTextCursor inserted(text);
            inserted.setPosition(position);
            inserted.setPosition(position + added, QTextCursor::KeepAnchor);
            w->copied.replace(position, removed, inserted.selectedText().replace(QChar::ParagraphSeparator, u'\n'));
            w->copiedUpTo += added - removed;
        } else {
            const QTextBlock block = text->findBlock(position);
            const int start = block.isValid() ? block.position() : 0;
            w->copied.truncate(start > 0 ? start - 1 : 0);
            w->copiedUpTo = start;
        }
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
            delete it->second.slicer;
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
    // Room for the whole text at once: growing a large copy in steps would
    // move it all in one slice.
    w.copied.reserve(w.doc->ColorMemo->document()->characterCount() + 1024);
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
    if (!copyStep(w, kSliceNs)) {
        w.slicer->start();
        return;
    }
    // A change the copy did not follow (the whole text replaced at once)
    // shows in its length; such a copy is made again, never kept.
    if (w.copied.size() != w.doc->ColorMemo->document()->characterCount() - 1) {
        startCopy(w);
        return;
    }
    finishCopy(w);
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
    // Edits made while copying are in the copy.
    w.copying = false;
    w.waitingSince.invalidate();
    TEditForm *doc = w.doc;
    RecoveredText r;
    r.path = doc->FileName.isEmpty() ? QString() : doc->fullPath();
    r.title = doc->caption();
    r.format = doc->File.format();
    if (!r.path.isEmpty()) {
        r.diskTime = doc->File.diskTime();
        r.diskSize = doc->File.diskSize();
    }
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
