#include "editortestutil.h"

#include <QRandomGenerator>
#include <QTextBlock>

std::vector<CharColor> referenceColors(TDrawRules &rules, const QString &documentText)
{
    rules.ReparseRules();
    return refscan::lineColors(rules, THotSpot(), documentText.split(u'\n'));
}

std::vector<CharColor> editorColors(TColorMemo &memo)
{
    std::vector<CharColor> out;
    for (int line = 0; line < memo.lineCount(); ++line) {
        const int length = memo.document()->findBlockByNumber(line).length() - 1;
        const std::vector<CharColor> cells = refscan::cellsOf(memo.runsOfLine(line), length);
        out.insert(out.end(), cells.begin(), cells.end());
    }
    return out;
}

std::vector<CharColor> engineColors(ColorEngine &engine)
{
    std::vector<CharColor> out;
    for (QTextBlock b = engine.document()->begin(); b.isValid(); b = b.next()) {
        const std::vector<CharColor> cells = refscan::cellsOf(engine.runsFor(b), b.length() - 1);
        out.insert(out.end(), cells.begin(), cells.end());
    }
    return out;
}

QStringList documentLines(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

void addHtmlRules(TDrawRules &rules)
{
    rules.Add().keyBegEndLstRef().append(QStringLiteral("<;>;FF0000"));
    rules.Add().keyBegEndLstRef().append(QStringLiteral("\";\";0000FF"));
    rules.Add().keyBegEndLstRef().append(QStringLiteral("<!--;-->;808080"));
}

std::vector<linescan::Rule> compiledLineRules(TDrawRules &rules, const THotSpot &hotSpot)
{
    rules.setNeedsParse(true);
    rules.ReparseRules();
    return lineRulesOf(rules, hotSpot).rules;
}

void EngineDoc::applyRules()
{
    engine.setRules(compiledLineRules(rules, hotSpot));
}

std::vector<CharColor> EngineDoc::reference() const
{
    return refscan::lineColors(rules, hotSpot, documentLines(doc));
}

void setMarkedText(QPlainTextEdit &editor, QStringView marked)
{
    QString text;
    int anchor = -1, caret = -1, selectionEnd = -1;
    for (QChar c : marked) {
        if (c == u'[')
            anchor = int(text.size());
        else if (c == u']')
            selectionEnd = int(text.size());
        else if (c == u'@')
            caret = int(text.size());
        else
            text += c;
    }
    editor.setPlainText(text);
    QTextCursor cursor(editor.document());
    if (anchor >= 0 && selectionEnd >= 0) {
        // The caret mark sits at one end of the selection; the anchor is the other.
        const bool caretAtStart = caret == anchor && caret != selectionEnd;
        cursor.setPosition(caretAtStart ? selectionEnd : anchor);
        cursor.setPosition(caretAtStart ? anchor : selectionEnd, QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(caret >= 0 ? caret : int(text.size()));
    }
    editor.setTextCursor(cursor);
}

std::unique_ptr<TColorMemo> editorFrom(QStringView marked)
{
    auto memo = std::make_unique<TColorMemo>();
    setMarkedText(*memo, marked);
    return memo;
}

QString markedText(const QPlainTextEdit &editor)
{
    QString text = editor.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    const QTextCursor c = editor.textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    if (start == end)
        return text.insert(start, u'@');
    const bool caretAtStart = c.position() == start;
    text.insert(end, caretAtStart ? QStringLiteral("]") : QStringLiteral("]@"));
    text.insert(start, caretAtStart ? QStringLiteral("@[") : QStringLiteral("["));
    return text;
}

QString randomHtml(QRandomGenerator &rng, int pieces)
{
    static const char *const parts[] = {
        "<p>", "</p>",  "text ",  "\"q\"", "<a href=\"x.htm\">", "</a>", "<!-- c -->", "\n", "<!--", "-->", "<", ">",
        "\"",  "<b\n>", "a < b ", "\n\n",  "<img src=\"a\nb\">", "-- ",  "end"};
    QString text;
    for (int i = 0; i < pieces; ++i)
        text += QLatin1String(parts[rng.bounded(int(std::size(parts)))]);
    return text;
}
