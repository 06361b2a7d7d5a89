// Random edits of a document while the colour engine follows it: insertions,
// deletions and replacements, several lines at once, undo and redo, a new
// text, and edits inside an open edit block with colours asked for in
// between (as a paint would). After every edit the lines asked for are
// compared with one scan of the whole text by the reference scanner, and at
// the end every line; a difference is printed and traps.
//
// Input: one byte choosing the rules (HTML scheme, extra rules, hot spots),
// then edit steps, each an operation byte and its arguments.
#include "editor/colorengine.h"
#include "editor/colorlayout.h"
#include "editor/linerules.h"
#include "support/refscan.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>

namespace {

class Bytes
{
public:
    Bytes(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_at >= m_size; }
    // 0 once the input is used up.
    int take() { return m_at < m_size ? m_data[m_at++] : 0; }
    int below(int n) { return n <= 0 ? 0 : take() % n; }
    int wide(int n) { return n <= 0 ? 0 : (take() << 8 | take()) % n; }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// Pieces of inserted text: the keys of every rule below, breaks of every
// kind, and text beyond Latin (a surrogate pair among it).
const QString &piece(int i)
{
    static const QString pieces[] = {
        QStringLiteral("<"),    QStringLiteral(">"),          QStringLiteral("\""),  QStringLiteral("<!--"), QStringLiteral("-->"),
        QStringLiteral("-"),    QStringLiteral("!"),          QStringLiteral("a"),   QStringLiteral("end"),  QStringLiteral(" "),
        QStringLiteral("\n"),   QStringLiteral("\r\n"),       QStringLiteral("\r"),  QString(QChar(0x2029)), QString(QChar(0x2028)),
        QStringLiteral("//"),   QStringLiteral("#"),          QStringLiteral("{"),   QStringLiteral("}"),    QStringLiteral("/*"),
        QStringLiteral("*/"),   QString(QChar(30)),           QString(QChar(31)),    QString(QChar(0xA0)),   QStringLiteral("Σα"),
        QStringLiteral("中文"), QStringLiteral("\U0001F600"), QStringLiteral("<b>"), QStringLiteral("\n\n"), QStringLiteral("x")};
    return pieces[i % int(std::size(pieces))];
}

QString textFrom(Bytes &in, int maxPieces)
{
    QString text;
    for (int n = in.below(maxPieces + 1); n > 0; --n)
        text += piece(in.take());
    return text;
}

void addHtmlRules(TDrawRules &rules)
{
    rules.Add().keyBegEndLstRef().append(QStringLiteral("<;>;FF0000"));
    rules.Add().keyBegEndLstRef().append(QStringLiteral("\";\";0000FF"));
    rules.Add().keyBegEndLstRef().append(QStringLiteral("<!--;-->;808080"));
}

// Bits 0-1: the HTML scheme alone, with a keyword rule, with a line-end rule,
// or with four more begin-end rules (more states than fit a block's number);
// bit 2: hot spots; bits 3-4: KeyCase and PartWord; bits 5-7: the extra
// rule's layer.
void chooseRules(int flags, TDrawRules &rules, THotSpot &hotSpot)
{
    addHtmlRules(rules);
    const auto layer = std::uint8_t(flags >> 5);
    if ((flags & 3) == 1) {
        TColorRule &words = rules.Add();
        words.setKeyDrawingType(dtKeyShow);
        words.setKeyCase(flags & 8);
        words.setPartWord(flags & 16);
        words.setZOrder(layer);
        words.keywordsRef() << QStringLiteral("end;00FF00") << QStringLiteral("a;008000") << QStringLiteral("σα;800000");
    } else if ((flags & 3) == 2) {
        TColorRule &lineEnd = rules.Add();
        lineEnd.setKeyDrawingType(dtBeginLineEnd);
        lineEnd.setZOrder(layer);
        lineEnd.keyLineEndLstRef() << QStringLiteral("//;00FF00") << QStringLiteral("#;008000");
    } else if ((flags & 3) == 3) {
        for (const char *pair : {"{;};00FF00", "/*;*/;008000", "#;\";800000", "a;end;808000"})
            rules.Add().keyBegEndLstRef().append(QLatin1String(pair));
        rules.Items(rules.count() - 1).setZOrder(layer);
    }
    hotSpot.Active = flags & 4;
    rules.setNeedsParse(true);
    rules.ReparseRules();
}

// A document as the editor has it: the colouring layout, which announces
// edits still held back in an open edit block, and the engine.
ColorLayout *colouringLayout(QTextDocument &doc)
{
    auto *layout = new ColorLayout(&doc); // owned by the document
    doc.setDocumentLayout(layout);
    return layout;
}

struct Subject {
    TDrawRules rules;
    THotSpot hotSpot;
    QTextDocument doc;
    ColorLayout *layout = colouringLayout(doc);
    ColorEngine engine{&doc};

    explicit Subject(int flags)
    {
        layout->setEditHandler([this](int from, int removed, int added) { engine.contentsChange(from, removed, added); });
        chooseRules(flags, rules, hotSpot);
        engine.setRules(lineRulesOf(rules, hotSpot).rules);
    }
};

QStringList linesOf(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

[[noreturn]] void report(const QStringList &lines, int line, const char *when)
{
    std::fprintf(stderr, "colours of line %d differ from the whole-text scan (%s); the text:\n", line + 1, when);
    for (qsizetype i = 0; i < lines.size(); ++i)
        std::fprintf(stderr, "%4lld|%s\n", static_cast<long long>(i + 1), qPrintable(lines[i]));
    __builtin_trap();
}

// Compares `count` lines from `first` with the reference, as a paint asks
// for them: the held-back edit announced first.
void check(Subject &s, int first, int count, const char *when)
{
    s.layout->announcePendingEdit();
    const QStringList lines = linesOf(s.doc);
    const auto expected = refscan::colorsByLine(s.rules, s.hotSpot, lines);
    for (int line = first; line < first + count && line < int(lines.size()); ++line) {
        const QTextBlock block = s.doc.findBlockByNumber(line);
        if (refscan::cellsOf(s.engine.runsFor(block), int(lines[line].size())) != expected[std::size_t(line)])
            report(lines, line, when);
    }
    if (s.engine.validBlocks() > s.doc.blockCount())
        report(lines, s.engine.validBlocks(), "frontier beyond the last line");
}

void select(QTextCursor &c, Bytes &in)
{
    const int end = c.document()->characterCount() - 1;
    c.setPosition(in.wide(end + 1));
    const int length = in.take();
    c.setPosition(std::min(end, c.position() + (length & 0x80 ? length & 0x7F : length & 7) * 3), QTextCursor::KeepAnchor);
}

void edit(Subject &s, Bytes &in)
{
    QTextCursor c(&s.doc);
    select(c, in);
    switch (in.below(3)) {
    case 0: c.insertText(textFrom(in, 6)); break;                             // insert or replace
    case 1: c.removeSelectedText(); break;                                    // delete
    default: c.insertText(textFrom(in, 3) + u'\n' + textFrom(in, 3) + u'\n'); // several lines
    }
}

void step(Subject &s, Bytes &in)
{
    switch (in.below(6)) {
    case 0: s.doc.undo(); break;
    case 1: s.doc.redo(); break;
    case 2: s.doc.setPlainText(textFrom(in, 40).repeated(1 + in.below(24))); break; // long enough for stretches done in one go
    case 3: {
        // Colours asked for while the block is open, as a paint may.
        QTextCursor block(&s.doc);
        block.beginEditBlock();
        edit(s, in);
        check(s, in.wide(s.doc.blockCount()), 1 + in.below(4), "inside an edit block");
        edit(s, in);
        block.endEditBlock();
        break;
    }
    default: edit(s, in); break;
    }
}

void ensureApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_coloredits";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *application = new QGuiApplication(argc, argv); // for the whole run
    Q_UNUSED(application);
}

} // namespace

// The application lives until the process ends, and with it the font
// configuration it loaded: that is no leak of the code under test.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    Bytes in(data, size);
    Subject s(in.take());
    for (int steps = 0; !in.empty() && steps < 64; ++steps) {
        step(s, in);
        check(s, in.wide(s.doc.blockCount()), 1 + in.below(8), "after an edit");
    }
    check(s, 0, s.doc.blockCount(), "all lines at the end");
    return 0;
}
