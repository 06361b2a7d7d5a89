// Helpers for editor tests: the reference colouring of a document (one scan
// of the whole text, see support/refscan.h) against the colours of the
// engine or the editor, a bare document with a colour engine, and editors
// built from a text that marks the selection and the caret.
#pragma once

#include "editor/colmemo.h"
#include "editor/colorengine.h"
#include "editor/colorrules.h"
#include "editor/longline.h"
#include "support/refscan.h"

#include <QPlainTextEdit>

class QRandomGenerator;
#include <QString>
#include <QTextDocument>

#include <memory>
#include <vector>

using refscan::CharColor;

// Colour of every character of the document text ("\n" breaks, not
// counted), as one scan of the rules over the whole text gives it.
std::vector<CharColor> referenceColors(TDrawRules &rules, const QString &documentText);

// The same, as the editor paints it, line by line.
std::vector<CharColor> editorColors(TColorMemo &memo);
// The same, as the engine gives it, line by line.
std::vector<CharColor> engineColors(ColorEngine &engine);

// The document's lines as the scanner sees them (no-break spaces kept).
QStringList documentLines(const QTextDocument &doc);

// Rules of the HTML scheme with the default colours.
void addHtmlRules(TDrawRules &rules);

// Compiles the rules and turns them into the engine's.
std::vector<linescan::Rule> compiledLineRules(TDrawRules &rules, const THotSpot &hotSpot = {});

// A bare document with a colour engine following it: no editor, no window.
struct EngineDoc {
    QTextDocument doc;
    ColorEngine engine{&doc};
    TDrawRules rules;
    THotSpot hotSpot;

    // Hands `rules` and `hotSpot` (compiled) to the engine.
    void applyRules();
    // The colours the engine gives and the reference colours of the text.
    std::vector<CharColor> colors() { return engineColors(engine); }
    std::vector<CharColor> reference() const;
    std::vector<ColorRun> runsOfLine(int line) { return engine.runsFor(doc.findBlockByNumber(line)); }
};

// Editors from a text that marks the selection with [...] and the caret
// with @: "a[bc]@d" selects "bc" with the caret after it, "a@[bc]d" the same
// with the caret before it, "ab@cd" is a caret alone. "\n" breaks lines. A
// selection without a caret mark has the caret at its end.
void setMarkedText(QPlainTextEdit &editor, QStringView marked);
std::unique_ptr<TColorMemo> editorFrom(QStringView marked);
// The editor's text and cursor written the same way.
QString markedText(const QPlainTextEdit &editor);

// A random text of HTML pieces (tags, quotes, comments, breaks, stray keys)
// for equivalence tests of the colouring.
QString randomHtml(QRandomGenerator &rng, int pieces);

// Lowers the length from which a line counts as long, for one test.
struct LongFrom {
    int saved = longline::threshold();
    explicit LongFrom(int characters) { longline::setThreshold(characters); }
    ~LongFrom() { longline::setThreshold(saved); }
    LongFrom(const LongFrom &) = delete;
    LongFrom &operator=(const LongFrom &) = delete;
};
