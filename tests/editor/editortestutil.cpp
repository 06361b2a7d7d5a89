#include "editortestutil.h"

#include <QTextBlock>

std::vector<CharColor> referenceColors(TDrawRules &rules, const QString &documentText)
{
    QString crlf = documentText;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    rules.ReparseRules();
    ScanContext ctx;
    ctx.beginPass();
    const int count = rules.Scan(ctx, 0, crlf, 0, int(crlf.size()));
    std::vector<CharColor> cells(static_cast<std::size_t>(crlf.size()));
    for (int i = 0; i < count; ++i) {
        const TKeyDescr &r = ctx.ranges[std::size_t(i)];
        if (r.isFree())
            continue;
        for (int c = r.KeyStart; c <= r.KeyEnd && c < int(crlf.size()); ++c) {
            CharColor &cell = cells[std::size_t(c)];
            if (!cell.covered || r.Layer >= cell.layer)
                cell = CharColor{true, r.KeyColor, r.Layer};
        }
    }
    std::vector<CharColor> out;
    for (qsizetype i = 0; i < crlf.size(); ++i)
        if (crlf[i] != u'\r' && crlf[i] != u'\n')
            out.push_back(cells[std::size_t(i)]);
    return out;
}

std::vector<CharColor> editorColors(TColorMemo &memo)
{
    std::vector<CharColor> out;
    for (int line = 0; line < memo.lineCount(); ++line) {
        const int length = memo.document()->findBlockByNumber(line).length() - 1;
        std::vector<CharColor> cells(static_cast<std::size_t>(length));
        for (const ColorRun &run : memo.runsOfLine(line))
            for (int c = run.start; c < run.start + run.length; ++c)
                cells[std::size_t(c)] = CharColor{true, run.color, run.layer};
        out.insert(out.end(), cells.begin(), cells.end());
    }
    return out;
}

void addHtmlRules(TDrawRules &rules)
{
    rules.Add().keyBegEndLstRef().append(QStringLiteral("<;>;FF0000"));
    rules.Add().keyBegEndLstRef().append(QStringLiteral("\";\";0000FF"));
    rules.Add().keyBegEndLstRef().append(QStringLiteral("<!--;-->;808080"));
}
