#include "editor/colmemo.h"
#include "editor/editortestutil.h"
#include "support/testenv.h"
#include "tools/changetext.h"

#include <QScrollBar>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <memory>

namespace {

// An editor with the text; "[" and "]" mark the selection, "@" the caret.
std::unique_ptr<TColorMemo> editorWith(QString text)
{
    auto memo = std::make_unique<TColorMemo>();
    const qsizetype open = text.indexOf(u'['), caret = text.indexOf(u'@');
    text.remove(u'@');
    const qsizetype close = text.indexOf(u']');
    text.remove(u'[').remove(u']');
    memo->setPlainText(text);
    memo->document()->clearUndoRedoStacks();
    memo->document()->setModified(false);
    QTextCursor cursor = memo->textCursor();
    if (open >= 0) {
        cursor.setPosition(int(open));
        cursor.setPosition(int(close - 1), QTextCursor::KeepAnchor);
    } else if (caret >= 0) {
        cursor.setPosition(int(caret));
    }
    memo->setTextCursor(cursor);
    return memo;
}

int caretOf(const TColorMemo &memo)
{
    return memo.textCursor().position();
}

} // namespace

TEST(ConvertInEditor, WholeTextWhenNothingIsSelectedThenCaretAfterTheFirstCharacter)
{
    auto memo = editorWith(QStringLiteral("Grüße, Ärger@"));
    EXPECT_EQ(convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable()).fault, ConversionFault::None);
    EXPECT_EQ(memo->plainText(), QStringLiteral("Gr&uuml;&szlig;e, &Auml;rger"));
    EXPECT_EQ(memo->SelStart(), 1);
    EXPECT_FALSE(memo->textCursor().hasSelection());
}

TEST(ConvertInEditor, OnlyTheSelectionIsConverted)
{
    auto memo = editorWith(QStringLiteral("ä\n[ö &ouml;\n]ü"));
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    EXPECT_EQ(memo->plainText(), QStringLiteral("ä\n&ouml; &ouml;\nü"));
    EXPECT_EQ(memo->SelStart(), 1);
    EXPECT_FALSE(memo->textCursor().hasSelection());
    memo = editorWith(QStringLiteral("&auml;[&auml;]&auml;"));
    convertInEditor(*memo, ConversionDirection::ToCharacters, builtinConversionTable());
    EXPECT_EQ(memo->plainText(), QStringLiteral("&auml;ä&auml;"));
}

// A character outside the basic plane is two units in the text; a caret
// between them would split it, and the next key typed would ruin it.
TEST(ConvertInEditor, TheCaretGoesAfterAWholeFirstCharacter)
{
    auto memo = editorWith(QStringLiteral("\U0001F600 Grüße"));
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    EXPECT_EQ(memo->plainText(), QStringLiteral("\U0001F600 Gr&uuml;&szlig;e"));
    EXPECT_EQ(caretOf(*memo), 2);
    // So is a letter with a combining accent, or a flag of two letters: what
    // is typed after the first character must not take its accent.
    memo = editorWith(QStringLiteral("e\u0301 Grüße"));
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    EXPECT_EQ(caretOf(*memo), 2);
    memo = editorWith(QStringLiteral("\U0001F1E9\U0001F1EA Grüße"));
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    EXPECT_EQ(caretOf(*memo), 4);
    memo = editorWith(QStringLiteral("\nGrüße"));
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    EXPECT_EQ(caretOf(*memo), 0) << "a line break first: the caret stays on the first line";
}

// A row may give a character that breaks the line (a line separator, a
// carriage return): it becomes a real break, so that positions count it as
// the text shows it and what a search finds is what gets selected.
TEST(ConvertInEditor, CharactersThatBreakTheLineBecomeRealBreaks)
{
    const ConversionTable table = conversionTable({QStringLiteral("8232;&#8232"), QStringLiteral("13;&#13")});
    auto memo = editorWith(QStringLiteral("a&#8232;b&#13;c foo"));
    convertInEditor(*memo, ConversionDirection::ToCharacters, table);
    EXPECT_EQ(memo->Text(), QStringLiteral("a\r\nb\r\nc foo"));
    EXPECT_EQ(memo->lineCount(), 3);
    memo->setSelStart(int(memo->Text().indexOf(QStringLiteral("foo"))));
    memo->setSelLength(3);
    EXPECT_EQ(memo->SelText(), QStringLiteral("foo"));
}

TEST(ConvertInEditor, EmptyTextLeavesTheCaretAtTheStart)
{
    auto memo = editorWith(QString());
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    EXPECT_EQ(caretOf(*memo), 0);
}

TEST(ConvertInEditor, NoBreakSpacesAreConvertedAndKept)
{
    const ConversionTable table = conversionTable({QStringLiteral("160;&#160;&nbsp;")});
    auto memo = editorWith(QStringLiteral("a\u00A0b"));
    convertInEditor(*memo, ConversionDirection::ToEntities, table);
    EXPECT_EQ(memo->plainText(), QStringLiteral("a&nbsp;b"));
    convertInEditor(*memo, ConversionDirection::ToCharacters, table);
    EXPECT_EQ(memo->plainText(), QStringLiteral("a\u00A0b")) << "not turned into a blank on the way";
}

TEST(ConvertInEditor, OneUndoRestoresTheText)
{
    const QString text = QStringLiteral("ä ö ü\nÄ Ö Ü\nß");
    auto memo = editorWith(text);
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    ASSERT_NE(memo->plainText(), text);
    EXPECT_TRUE(memo->Modified());
    memo->undo();
    EXPECT_EQ(memo->plainText(), text);
    EXPECT_FALSE(memo->document()->isUndoAvailable());
}

// Undo puts the text back and the caret where it stood before the command,
// not at the start of a long text.
TEST(ChangeTextUndo, PutsTheCaretBackWhereItWas)
{
    auto memo = editorWith(QStringLiteral("xx [ä ö] yy"));
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    memo->undo();
    EXPECT_EQ(memo->plainText(), QStringLiteral("xx ä ö yy"));
    EXPECT_EQ(caretOf(*memo), 6) << "conversion";
    memo = editorWith(QStringLiteral("a <b>b@old</b>\nc <i>d</i>"));
    stripTagsInEditor(*memo);
    memo->undo();
    EXPECT_EQ(memo->plainText(), QStringLiteral("a <b>bold</b>\nc <i>d</i>"));
    EXPECT_EQ(caretOf(*memo), 6) << "tag stripping";
    // The caret right before the first change: undo still puts it there,
    // not after the restored stretch.
    memo = editorWith(QStringLiteral("@\u00E4b\n") + QString(200, u'x') + QStringLiteral("\n\u00F6"));
    convertInEditor(*memo, ConversionDirection::ToEntities, builtinConversionTable());
    memo->undo();
    EXPECT_EQ(caretOf(*memo), 0) << "conversion from the caret";
    memo = editorWith(QStringLiteral("a @<b>bold</b>\nc <i>d</i>"));
    stripTagsInEditor(*memo);
    memo->undo();
    EXPECT_EQ(caretOf(*memo), 2) << "tag stripping from the caret";
    memo = editorWith(QStringLiteral("@<br>x\n") + QString(200, u'x'));
    stripTagsInEditor(*memo);
    ASSERT_EQ(memo->plainText(), QStringLiteral("x\n") + QString(200, u'x'));
    memo->undo();
    EXPECT_EQ(memo->plainText(), QStringLiteral("<br>x\n") + QString(200, u'x'));
    EXPECT_EQ(caretOf(*memo), 0) << "a tag alone removed at the caret";
}

TEST(ConvertInEditor, AFaultLeavesTextAndSelection)
{
    auto memo = editorWith(QStringLiteral("ä[ö]"));
    const Conversion c = convertInEditor(*memo, ConversionDirection::ToEntities, conversionTable({QStringLiteral("abc;&#1;")}));
    EXPECT_EQ(c.fault, ConversionFault::BadCode);
    EXPECT_EQ(memo->plainText(), QStringLiteral("äö"));
    EXPECT_EQ(memo->textCursor().selectedText(), QStringLiteral("ö"));
    EXPECT_FALSE(memo->Modified());
}

TEST(StripInEditor, WholeTextWhateverIsSelectedInOneUndoStep)
{
    const QString text = QStringLiteral("<p>a <b>bo[ld</b>]\ntext</p> tail");
    auto memo = editorWith(text);
    stripTagsInEditor(*memo);
    EXPECT_EQ(memo->plainText(), QStringLiteral("a bold\ntext tail"));
    EXPECT_EQ(caretOf(*memo), 11) << "where the last tag was";
    EXPECT_FALSE(memo->textCursor().hasSelection());
    memo->undo();
    EXPECT_EQ(memo->plainText(), QStringLiteral("<p>a <b>bold</b>\ntext</p> tail"));
    EXPECT_FALSE(memo->document()->isUndoAvailable());
}

TEST(StripInEditor, WithoutTagsNothingChanges)
{
    for (const QString &text : {QString(), QStringLiteral("x < y"), QStringLiteral("a > b")}) {
        auto memo = editorWith(text + u'@');
        stripTagsInEditor(*memo);
        EXPECT_EQ(memo->plainText(), text);
        EXPECT_FALSE(memo->Modified());
        EXPECT_EQ(caretOf(*memo), text.size());
    }
}

// A minified page is one long line: the caret where the last tag went is
// far to the right, and the view must follow it there as on a short line.
TEST(StripInEditor, TheCaretOnALongLineIsInView)
{
    const LongFrom longFrom(200);
    QString page;
    for (int i = 0; i < 100; ++i)
        page += QStringLiteral("<b>word</b> ");
    auto memo = editorWith(page + QStringLiteral("\nend"));
    memo->resize(400, 300);
    memo->show();
    stripTagsInEditor(*memo);
    ASSERT_EQ(caretOf(*memo), 499);
    EXPECT_GT(memo->horizontalScrollBar()->value(), 0) << "the view stayed at the line's start";
}
