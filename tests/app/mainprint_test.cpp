#include "app/mainform.h"
#include "docs/printprevform.h"
#include "docs/printreport.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

class MainPrintTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    std::unique_ptr<TMainForm> form;
    TPrintPrevForm *preview = nullptr;

    MainPrintTest()
    {
        form = std::make_unique<TMainForm>();
        preview = new TPrintPrevForm(form.get());
        form->setToolWindows(nullptr, nullptr, preview);
        form->show();
        QCoreApplication::processEvents();
        scripted->messages.clear(); // the test folder has no tagcodes.mvt
    }
    ~MainPrintTest() override
    {
        for (TEditForm *doc : form->documents())
            doc->ColorMemo->document()->setModified(false);
        scripted->answers.push_back(dialogs::Answer::Yes);
        form->close();
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(MainPrintTest, PrintingNeedsADocumentAndNamesTheJobAfterIt)
{
    EXPECT_FALSE(form->BtnPrint->isEnabled());
    EXPECT_FALSE(form->Menu_PrintPreview->isEnabled());
    programDir.write(QStringLiteral("seite.html"), "<p>eins</p>\r\n<p>zwei</p>\r\n");
    const QString path = programDir.path() + QStringLiteral("seite.html");
    ASSERT_NE(form->OpenDocument(path, false, -1), nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->BtnPrint->isEnabled());
    EXPECT_TRUE(form->Menu_Print->isEnabled());
    EXPECT_TRUE(form->Menu_PrintPreview->isEnabled());

    const QString out = programDir.path() + QStringLiteral("druck.pdf");
    scripted->printFiles = {std::nullopt, out};
    form->BtnPrint->trigger();
    EXPECT_FALSE(QFile::exists(out)) << "cancelled";
    form->Menu_Print->trigger();
    EXPECT_TRUE(readAll(out).startsWith("%PDF"));
    EXPECT_EQ(scripted->printJobs, QStringList(2, QStringLiteral("Morvaline´s Quirtle [") + path + QStringLiteral("]")));
    EXPECT_TRUE(scripted->messages.isEmpty());
}

TEST_F(MainPrintTest, PreviewTakesTheTextAndThePrinterFontAtThatMoment)
{
    reg.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Morvaline\\Quirtle\\Workarea]\n"
              "\"PFont\"=\"Courier New\"\n\"PFontHeight\"=dword:0000000e\n");
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    doc->ColorMemo->setText(QStringLiteral("a\r\nb"));
    form->Menu_PrintPreview->trigger();
    ASSERT_TRUE(preview->report().has_value());
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->report()->lines, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(preview->report()->fileName, QString()) << "a new document has no path yet";
    EXPECT_EQ(preview->report()->font.family(), QStringLiteral("Courier New"));
    EXPECT_EQ(preview->report()->font.pointSize(), 14);
    EXPECT_EQ(preview->QRPreview1->pageCount(), 1);

    // An empty document still gives its page.
    doc->ColorMemo->setText(QString());
    form->Menu_PrintPreview->trigger();
    EXPECT_EQ(preview->report()->lines, QStringList{QString()});
    EXPECT_EQ(preview->QRPreview1->pageCount(), 1);
    preview->close();
}

// A text whose last line ends with a break has no further line: printing it
// must not add an empty line, nor a blank page when the text fills a page.
TEST_F(MainPrintTest, ABreakAfterTheLastLineAddsNoLineAndNoPage)
{
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    doc->ColorMemo->setText(QStringLiteral("a\r\nb\r\n"));
    form->Menu_PrintPreview->trigger();
    ASSERT_TRUE(preview->report().has_value());
    EXPECT_EQ(preview->report()->lines, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

    // Empty lines before the last break are lines of their own.
    doc->ColorMemo->setText(QStringLiteral("a\r\n\r\n\r\n"));
    form->Menu_PrintPreview->trigger();
    EXPECT_EQ(preview->report()->lines, (QStringList{QStringLiteral("a"), QString(), QString()}));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(QStringLiteral("Zeile %1").arg(i));
    doc->ColorMemo->setText(many.join(QStringLiteral("\r\n")));
    form->Menu_PrintPreview->trigger();
    const qsizetype perPage = printing::layoutReport(*preview->report(), printer).first().lines.size();
    ASSERT_GT(perPage, 10);
    doc->ColorMemo->setText(many.mid(0, perPage).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    form->Menu_PrintPreview->trigger();
    EXPECT_EQ(printing::layoutReport(*preview->report(), printer).size(), 1);
    EXPECT_EQ(preview->QRPreview1->pageCount(), 1);
    preview->close();
}
