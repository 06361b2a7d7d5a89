#include "searchform.h"

#include "editor/bulkedit.h"
#include "editor/classicpos.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <limits>

namespace {

// The client area the layout was drawn for, in pixels.
constexpr QSize kDesigned(339, 91);

template <typename Widget> Widget *make(QWidget *parent, const char *name)
{
    auto *w = new Widget(parent);
    w->setObjectName(QLatin1StringView(name));
    return w;
}

// The drop-down list shows each entry on one line; the entry itself, and
// so what picking it puts in the box, stays the whole text.
class HistoryLines : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &) const override { return search::historyLine(value.toString()); }
};

// Enter in a box starts nothing and adds nothing: the histories grow only
// when a button acts. The text is searched as typed: no completion from the
// history adds to it or changes its capitals.
QComboBox *historyBox(QWidget *parent, const char *name)
{
    auto *box = make<QComboBox>(parent, name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setItemDelegate(new HistoryLines(box));
    // A block pasted from a large page is searched or put in whole; the line
    // edit would cut it at 32767 characters without a word.
    box->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

// Flat buttons that take no focus, so the keyboard stays in the boxes.
QPushButton *flatButton(QWidget *parent, const char *name)
{
    auto *button = make<QPushButton>(parent, name);
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void recordInHistory(QComboBox &box)
{
    const QString text = box.currentText();
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    if (search::historyHolds(items, text))
        return;
    box.insertItem(0, text);
    box.setCurrentIndex(0);
}

search::Selection selectionOf(const TColorMemo &memo)
{
    return {memo.SelStart(), memo.SelLength()};
}

// Hits go in one by one unless they are dense: one stretch costs about a
// hit per line it spans (Qt rebuilds them) plus one per 256 characters of
// the text (read and written whole). Either way it is one edit block: one
// undo step and one repaint.
void applyReplaced(TColorMemo &memo, const QString &text, const search::Replaced &replaced, const QString &with)
{
    const qsizetype first = replaced.starts.front(), end = replaced.starts.back() + replaced.length;
    const QString what = text.mid(first, replaced.length), inserted = classicpos::withLf(with);
    const bool breaks = what.contains(u'\r') || what.contains(u'\n') || inserted != with;
    const qsizetype lines = QStringView(text).mid(first, end - first).count(u'\n');
    if (breaks || replaced.count() > lines + text.size() / 256) {
        applyBulkEdit(memo, classicpos::withLf(search::replacedText(text, replaced, with)));
        return;
    }
    // Without breaks in the match, a classic position less the breaks
    // before it is the document's.
    // Started from the caret, so that undo puts the caret back there.
    QTextCursor cursor = memo.textCursor();
    cursor.beginEditBlock();
    qsizetype lineBreaks = 0, counted = 0, shift = 0;
    for (const qsizetype start : replaced.starts) {
        lineBreaks += QStringView(text).mid(counted, start - counted).count(u'\n');
        counted = start;
        const int from = int(start - lineBreaks + shift);
        replaceKeepingUndoCaret(cursor, from, from + int(replaced.length), with);
        shift += with.size() - replaced.length;
    }
    cursor.endEditBlock();
}

// The document window may show its preview or another page while the
// search window stays open: what a step finds or replaces must be seen.
void showSource(TColorMemo &memo)
{
    for (QObject *o = memo.parent(); o; o = o->parent()) {
        if (auto *doc = qobject_cast<TEditForm *>(o)) {
            // A minimised document window stays active but shows nothing.
            if (QWidget *frame = doc->parentWidget(); frame && frame->isMinimized())
                frame->showNormal();
            if (!doc->sourceShown())
                doc->BtnSourceClick();
            return;
        }
    }
}

void select(TColorMemo &memo, search::Selection selection)
{
    memo.setSelStart(int(selection.start));
    memo.setSelLength(int(selection.length));
}

} // namespace

// A tool window of the main window: above the editor's windows, not above
// every other program on the desktop.
TSearchForm::TSearchForm(QWidget *parent, SearchHost *host) : QWidget(parent, Qt::Tool), m_host(host)
{
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Search & Replace"));
    move(256, 178);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    buildComponents();
    FormCreate();
    fitLayout();
}

void TSearchForm::buildComponents()
{
    Label1 = make<QLabel>(this, "Label1");
    Label2 = make<QLabel>(this, "Label2");
    fedit = historyBox(this, "fedit");
    redit = historyBox(this, "redit");
    mcase = make<QCheckBox>(this, "mcase");
    wword = make<QCheckBox>(this, "wword");
    Searchup = make<QCheckBox>(this, "Searchup");
    Starttop = make<QCheckBox>(this, "Starttop");
    ToolbarButton971 = flatButton(this, "ToolbarButton971");
    ToolbarButton972 = flatButton(this, "ToolbarButton972");
    ToolbarButton973 = flatButton(this, "ToolbarButton973");
    ToolbarButton974 = flatButton(this, "ToolbarButton974");
    setTabOrder(mcase, wword);
    setTabOrder(wword, Searchup);
    setTabOrder(Searchup, Starttop);
    setTabOrder(Starttop, fedit);
    setTabOrder(fedit, redit);
    connect(ToolbarButton971, &QPushButton::clicked, this, &TSearchForm::ToolbarButton971Click);
    connect(ToolbarButton972, &QPushButton::clicked, this, &TSearchForm::ToolbarButton972Click);
    connect(ToolbarButton973, &QPushButton::clicked, this, &TSearchForm::ToolbarButton973Click);
    connect(ToolbarButton974, &QPushButton::clicked, this, &TSearchForm::ToolbarButton974Click);
}

// The designed pixels suit a small 8-point face. Where the desktop's font
// needs more room the whole layout grows in proportion, so that no caption
// is cut and nothing overlaps. Match Case is as wide as Whole Word: drawn
// 151 wide it would reach under the box of Upward.
void TSearchForm::fitLayout()
{
    const std::pair<QWidget *, QRect> designed[] = {{Label1, {2, 6, 48, 13}},
                                                    {Label2, {2, 30, 48, 13}},
                                                    {fedit, {52, 2, 187, 21}},
                                                    {redit, {52, 26, 187, 21}},
                                                    {mcase, {6, 52, 145, 17}},
                                                    {wword, {6, 72, 145, 17}},
                                                    {Searchup, {154, 52, 81, 17}},
                                                    {Starttop, {154, 72, 85, 17}},
                                                    {ToolbarButton971, {244, 2, 93, 22}},
                                                    {ToolbarButton972, {244, 24, 93, 22}},
                                                    {ToolbarButton973, {244, 46, 93, 22}},
                                                    {ToolbarButton974, {244, 68, 93, 22}}};
    double sx = 1.0, sy = 1.0;
    for (const auto &[widget, rect] : designed) {
        const QSize hint = widget->sizeHint();
        if (!qobject_cast<QComboBox *>(widget)) // a box's hint follows its items, not its caption
            sx = std::max(sx, double(hint.width()) / rect.width());
        sy = std::max(sy, double(hint.height()) / rect.height());
    }
    // Edges are scaled, not sizes, so that neighbours stay neighbours.
    const auto scaled = [sx, sy](const QRect &r) {
        const int left = qRound(r.left() * sx), top = qRound(r.top() * sy);
        return QRect(left, top, qRound((r.left() + r.width()) * sx) - left, qRound((r.top() + r.height()) * sy) - top);
    };
    for (const auto &[widget, rect] : designed)
        widget->setGeometry(scaled(rect));
    setFixedSize(scaled(QRect(QPoint(0, 0), kDesigned)).size());
}

void TSearchForm::FormCreate()
{
    setWindowTitle(lex::caption(1095));
    Label1->setText(lex::caption(1096));
    Label2->setText(lex::caption(1097));
    ToolbarButton971->setText(lex::caption(1098));
    ToolbarButton972->setText(lex::caption(1099));
    ToolbarButton973->setText(lex::caption(1100));
    ToolbarButton974->setText(lex::caption(1101));
    mcase->setText(lex::caption(1102));
    wword->setText(lex::caption(1103));
    Searchup->setText(lex::caption(1104));
    Starttop->setText(lex::caption(1105));
}

void TSearchForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TSearchForm::FormClose()
{
    dropCache();
    hide();
}

TColorMemo *TSearchForm::activeEditor() const
{
    return m_host ? m_host->ActiveEditor() : nullptr;
}

search::Query TSearchForm::query(const QString &replacement) const
{
    // Lines pasted into the boxes break with LF (or CR) alone; the search
    // works on the text with CR LF breaks, where each break counts two.
    const auto crLf = [](const QString &text) { return classicpos::withCrLf(classicpos::withLf(text)); };
    return {crLf(fedit->currentText()), crLf(replacement), {mcase->isChecked(), wword->isChecked(), Searchup->isChecked()}};
}

// From Begin acts once, for the next step only.
void TSearchForm::applyFromBegin(TColorMemo &memo)
{
    if (!Starttop->isChecked())
        return;
    memo.setSelStart(0);
    memo.setSelLength(0);
    Starttop->setChecked(false);
}

void TSearchForm::SearchNext(const QString &ReplaceText)
{
    TColorMemo *memo = activeEditor();
    if (!memo)
        return;
    showSource(*memo);
    applyFromBegin(*memo);
    const search::Query q = query(ReplaceText);
    const search::Step step = search::searchStep(editorText(*memo), scanText(*memo, q.options.matchCase), selectionOf(*memo), q);
    if (step.replace)
        memo->replaceSelection(ReplaceText);
    if (!step.found) {
        notFound(q);
        return;
    }
    memo->setFocus();
    select(*memo, step.selection);
    memo->scrollCaret();
}

// What the repeated steps would leave, put in as one undo step; the last
// step finds nothing and says so.
void TSearchForm::replaceAllSteps(TColorMemo &memo, const QString &ReplaceText)
{
    showSource(memo);
    applyFromBegin(memo);
    const search::Query q = query(ReplaceText);
    const search::Selection before = selectionOf(memo);
    const QString text = editorText(memo);
    const search::Replaced result = search::replaceAll(text, scanText(memo, q.options.matchCase), before, q);
    if (result.count() > 0)
        applyReplaced(memo, text, result, ReplaceText);
    if (result.count() > 0 || result.selection != before) {
        select(memo, result.selection);
        memo.scrollCaret();
    }
    notFound(q);
}

namespace {
constexpr qsizetype kEditRoom = 64 * 1024;
} // namespace

QString TSearchForm::editorText(TColorMemo &memo)
{
    QTextDocument *document = memo.document();
    const int length = classicpos::classicLength(document);
    if (!m_cache.valid || m_cache.document != document || m_cache.text.size() != length) {
        dropCache();
        m_cache.document = document;
        m_cache.watch = connect(document, &QTextDocument::contentsChange, this, &TSearchForm::followEdit);
        // Room to type into: the first key after a step must not move it all.
        m_cache.text = memo.Text(kEditRoom);
        m_cache.revision = document->revision();
        m_cache.valid = true;
    }
    return m_cache.text;
}

QString TSearchForm::scanText(TColorMemo &memo, bool matchCase)
{
    const QString text = editorText(memo);
    if (matchCase)
        return text;
    if (!m_cache.hasFolded) {
        m_cache.folded = search::fold(text, kEditRoom);
        m_cache.hasFolded = true;
    }
    return m_cache.folded;
}

// The edit is made in the kept texts too, so a step after typing does not
// read the whole document again. Whatever does not fit drops them.
void TSearchForm::followEdit(int position, int removed, int added)
{
    QTextDocument *document = m_cache.document;
    if (!m_cache.valid || !document || document->revision() == m_cache.revision)
        return;
    m_cache.revision = document->revision();
    // A large edit (Replace All, a conversion) is cheaper read again at the
    // next step than followed now.
    const QTextBlock block = document->findBlock(position);
    if (!block.isValid() || position + added > document->characterCount() - 1 || removed + added > kEditRoom) {
        dropCache();
        return;
    }
    // Text before the edit did not change: each line break before it is
    // one more character in the kept text, and each removed one was two.
    const qsizetype start = position + block.blockNumber();
    const QString &text = m_cache.text;
    qsizetype end = start;
    for (int i = 0; i < removed; ++i) {
        if (end >= text.size()) {
            dropCache();
            return;
        }
        end += text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1;
    }
    QTextCursor cursor(document);
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    QString inserted = cursor.selectedText();
    inserted.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    inserted = classicpos::withCrLf(inserted);
    m_cache.text.replace(start, end - start, inserted);
    if (m_cache.hasFolded)
        m_cache.folded.replace(start, end - start, search::fold(inserted));
}

void TSearchForm::dropCache()
{
    disconnect(m_cache.watch);
    m_cache.document = nullptr;
    m_cache.valid = m_cache.hasFolded = false;
    m_cache.text = QString();
    m_cache.folded = QString();
}

void TSearchForm::notFound(const search::Query &query)
{
    FReplaceAll = false;
    dialogs::inform(this, dialogs::Kind::Information, search::notFoundText(query, lex::message(3014)));
}

// The editor active now: the not-found box waits in an event loop of its
// own, and the window the step began in may have gone meanwhile.
void TSearchForm::giveFocusBack()
{
    if (TColorMemo *memo = activeEditor())
        memo->setFocus();
    if (m_host)
        m_host->FocusMainWindow();
}

void TSearchForm::ToolbarButton971Click()
{
    if (!activeEditor())
        return;
    if (!fedit->currentText().isEmpty()) {
        recordInHistory(*fedit);
        SearchNext(QString());
    }
    giveFocusBack();
}

void TSearchForm::ToolbarButton972Click()
{
    if (!activeEditor() || fedit->currentText().isEmpty())
        return;
    SearchNext(redit->currentText());
    recordInHistory(*fedit);
    recordInHistory(*redit);
    giveFocusBack();
}

void TSearchForm::ToolbarButton973Click()
{
    TColorMemo *memo = activeEditor();
    if (!memo || fedit->currentText().isEmpty())
        return;
    FReplaceAll = true;
    replaceAllSteps(*memo, redit->currentText());
    recordInHistory(*fedit);
    recordInHistory(*redit);
    giveFocusBack();
}

// Closed by the user, the window hands the keyboard back to the document.
void TSearchForm::ToolbarButton974Click()
{
    close();
    giveFocusBack();
}

void TSearchForm::keyPressEvent(QKeyEvent *event)
{
    // A tool window without a default button: Escape is its Close button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ToolbarButton974Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TSearchForm::ShowForSearch()
{
    show();
    raise();
    activateWindow();
    fedit->setFocus(Qt::ShortcutFocusReason);
    fedit->lineEdit()->selectAll();
}
