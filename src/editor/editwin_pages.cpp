// The Info and Links pages of the document window.
#include "editwin.h"

#include "colmemo.h"
#include "common/shorttext.h"
#include "docrules.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Wider than any tree window; longer tags are cut in the tree.
constexpr qsizetype kShownTagLength = 300;
constexpr qsizetype kWrappedTagLength = 10000;

} // namespace

QWidget *TEditForm::buildInfoPage()
{
    auto *scroll = new QScrollArea(Pages);
    scroll->setObjectName(QStringLiteral("TabInfos"));
    scroll->setFrameShape(QFrame::NoFrame);
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("P_Infos"));
    auto *grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(12);
    auto value = [panel](const char *name) {
        auto *label = new QLabel(panel);
        label->setObjectName(QLatin1String(name));
        // A folder named "<b>neu" is a name, not markup.
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    L_FilePath = value("L_FilePath");
    L_FileSize = value("L_FileSize");
    L_AltName = value("L_AltName");
    L_Changed = value("L_Changed");
    L_Encoding = value("L_Encoding");
    L_LineBreaks = value("L_LineBreaks");
    const std::pair<int, QLabel *> rows[] = {{1119, L_FilePath}, {1120, L_FileSize}, {1121, L_AltName}, {1122, L_Changed}};
    int row = 0;
    for (const auto &[caption, label] : rows) {
        grid->addWidget(new QLabel(lex::caption(caption), panel), row, 0);
        grid->addWidget(label, row++, 1, 1, 2);
    }
    grid->addWidget(new QLabel(lex::caption(1128), panel), row, 0);
    grid->addWidget(L_Encoding, row++, 1, 1, 2);
    grid->addWidget(new QLabel(lex::caption(1129), panel), row, 0);
    grid->addWidget(L_LineBreaks, row++, 1, 1, 2);
    grid->addWidget(new QLabel(lex::caption(1123), panel), row, 0);
    auto box = [panel](const char *name, int caption) {
        auto *b = new QCheckBox(lex::caption(caption), panel);
        b->setObjectName(QLatin1String(name));
        b->setEnabled(false);
        return b;
    };
    Cb_ReadOnly = box("Cb_ReadOnly", 1124);
    CB_Hidden = box("CB_Hidden", 1125);
    CB_Archiv = box("CB_Archiv", 1127);
    CB_System = box("CB_System", 1126);
    grid->addWidget(Cb_ReadOnly, row, 1);
    grid->addWidget(CB_Hidden, row++, 2);
    grid->addWidget(CB_Archiv, row, 1);
    grid->addWidget(CB_System, row++, 2);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    return scroll;
}

QWidget *TEditForm::buildLinksPage()
{
    auto *page = new QWidget(Pages);
    page->setObjectName(QStringLiteral("TabLinks"));
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    TreeView = new QTreeWidget(page);
    TreeView->setObjectName(QStringLiteral("TreeView"));
    TreeView->setHeaderHidden(true);
    TreeView->setIndentation(19);
    TreeView->setFrameShape(QFrame::NoFrame);
    column->addWidget(TreeView, 1);
    TagMemo = new QPlainTextEdit(page);
    TagMemo->setObjectName(QStringLiteral("TagMemo"));
    TagMemo->setReadOnly(true);
    TagMemo->setFrameShape(QFrame::NoFrame);
    TagMemo->setFixedHeight(50);
    // The edit control paints its viewport, not itself: the face colour goes there.
    TagMemo->viewport()->setBackgroundRole(QPalette::Button);
    column->addWidget(TagMemo);
    connect(TreeView, &QTreeWidget::currentItemChanged, this, &TEditForm::TreeViewChange);
    return page;
}

void TEditForm::TabInfosEnter()
{
    L_FilePath->setText(FilePath);
    L_Encoding->setText(encodingName(File.format()));
    L_LineBreaks->setText(lineBreakName(File.format().lineBreak));
    const QFileInfo info(fullPath());
    const bool found = !FileName.isEmpty() && info.exists();
    L_FileSize->setText(found ? QString::number(info.size()) : QString());
    // This platform keeps no short alternate names.
    L_AltName->setText(QString());
    const QDateTime changed = info.lastModified();
    // The language of the texts, not the system's: no English month names
    // among the German captions.
    const QLocale locale(lex::language());
    L_Changed->setText(found ? locale.toString(changed.date(), QLocale::ShortFormat) + u' ' +
                                   locale.toString(changed.time(), QLocale::LongFormat)
                             : QString());
    Cb_ReadOnly->setChecked(found && !userMayWrite(info.filePath()));
    CB_Hidden->setChecked(found && info.fileName().startsWith(u'.'));
    CB_Archiv->setChecked(false);
    CB_System->setChecked(found && !info.isFile());
}

void TEditForm::BuildLinksTree()
{
    bool exists = false;
    const QList<ResourceKind> kinds = readResourceKinds(programdir::path() + QStringLiteral("resscan.mvt"), &exists);
    if (!exists)
        return;
    TreeView->clear();
    const QString text = ColorMemo->Text();
    for (const ResourceKind &kind : kinds) {
        const QStringList tags = FindResourceTags(text, kind.opener);
        if (tags.isEmpty())
            continue;
        auto *node = new QTreeWidgetItem(TreeView, QStringList{kind.kind});
        for (const QString &tag : tags) {
            // A tag holding a whole picture as a data address runs to
            // megabytes: the tree shows its start, the memo the whole tag.
            auto *item = new QTreeWidgetItem(node, QStringList{shorttext::cut(tag, kShownTagLength)});
            item->setData(0, Qt::UserRole, tag);
        }
    }
    TagMemo->clear();
}

void TEditForm::TreeViewChange()
{
    const QTreeWidgetItem *item = TreeView->currentItem();
    const QString text = item ? item->data(0, Qt::UserRole).toString() : QString();
    // Wrapping a line of megabytes takes seconds; so long a tag stays one
    // line, scrolled sideways.
    TagMemo->setLineWrapMode(text.size() > kWrappedTagLength ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    TagMemo->setPlainText(text.startsWith(u'<') ? text : QString());
}
