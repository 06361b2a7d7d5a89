// The three pages and the buttons of the options dialog, as they are laid out;
// what they show and do lives in optionform.cpp.
#include "optionform.h"

#include "optionhost.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "quirtle_version.h"

#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace {

QToolButton *flatButton(QWidget *parent, const char *name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QLabel *sampleLabel(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    // Tags shown as text; a label would otherwise take "<html>" as markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return label;
}

QSpinBox *sizeBox(QWidget *parent, const char *name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(settings::kMinFontSize, settings::kMaxFontSize);
    return box;
}

// Read-only fields and the picture list have the button face behind them.
void buttonFaceBehind(QWidget *widget)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    widget->setPalette(p);
}
} // namespace

QWidget *TOptionForm::buildWorkarea()
{
    auto *page = named(new QWidget, "TabWorkarea");
    auto *column = new QVBoxLayout(page);
    column->addWidget(buildColors());
    column->addWidget(buildFonts());
    RB_TagAlign = named(new QGroupBox(page), "RB_TagAlign");
    RB_TagAlignLeft = named(new QRadioButton(RB_TagAlign), "RB_TagAlignLeft");
    RB_TagAlignRight = named(new QRadioButton(RB_TagAlign), "RB_TagAlignRight");
    auto *sides = new QHBoxLayout(RB_TagAlign);
    sides->addWidget(RB_TagAlignLeft);
    sides->addWidget(RB_TagAlignRight);
    column->addWidget(RB_TagAlign);
    column->addStretch();
    return page;
}

QGroupBox *TOptionForm::buildColors()
{
    GroupColors = named(new QGroupBox, "GroupColors");
    auto *row = new QHBoxLayout(GroupColors);
    auto *buttons = new QVBoxLayout;
    BtnBackColor = flatButton(GroupColors, "BtnBackColor");
    BtnHTMLColor = flatButton(GroupColors, "BtnHTMLColor");
    BtnAttrColor = flatButton(GroupColors, "BtnAttrColor");
    BtnTextColor = flatButton(GroupColors, "BtnTextColor");
    BtnCommentColor = flatButton(GroupColors, "BtnCommentColor");
    for (QToolButton *b : {BtnBackColor, BtnHTMLColor, BtnAttrColor, BtnTextColor, BtnCommentColor}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    row->addLayout(buttons);
    row->addWidget(buildSample(), 1);
    return GroupColors;
}

QWidget *TOptionForm::buildSample()
{
    auto *panel2 = named(new QFrame, "Panel2");
    panel2->setFrameShape(QFrame::Panel);
    panel2->setFrameShadow(QFrame::Sunken);
    auto *frame = new QVBoxLayout(panel2);
    frame->setContentsMargins(2, 2, 2, 2);
    P_Back = named(new QWidget(panel2), "P_Back");
    P_Back->setAutoFillBackground(true);
    frame->addWidget(P_Back);

    const char *tags[] = {"<html><head>", "<title>", "</title>", "</head>", "<body bgcolor=", ">", "</body></html>"};
    const char *names[] = {"L_HTMLColor1", "L_HTMLColor2", "L_HTMLColor3", "L_HTMLColor4", "L_HTMLColor5", "L_HTMLColor7", "L_HTMLColor8"};
    for (int i = 0; i < 7; ++i)
        L_HTMLColor.append(named(sampleLabel(P_Back, QLatin1String(tags[i])), names[i]));
    L_AttrColor = named(sampleLabel(P_Back, QStringLiteral("\"black\"")), "L_AttrColor");
    L_TextColor1 = named(sampleLabel(P_Back, QStringLiteral("test")), "L_TextColor1");
    L_TextColor2 = named(sampleLabel(P_Back, QStringLiteral("DEFG")), "L_TextColor2");
    L_CommColor = named(sampleLabel(P_Back, QStringLiteral("<!-- ABC -->")), "L_CommColor");

    const QList<QList<QLabel *>> lines = {{L_HTMLColor[0]}, {L_HTMLColor[1], L_TextColor1, L_HTMLColor[2]},
                                          {L_HTMLColor[3]}, {L_HTMLColor[4], L_AttrColor, L_HTMLColor[5]},
                                          {L_CommColor},    {L_TextColor2},
                                          {L_HTMLColor[6]}};
    auto *text = new QVBoxLayout(P_Back);
    text->setSpacing(0);
    for (const QList<QLabel *> &line : lines) {
        auto *row = new QHBoxLayout;
        row->setSpacing(0);
        for (QLabel *label : line)
            row->addWidget(label);
        row->addStretch();
        text->addLayout(row);
    }
    text->addStretch();
    return panel2;
}

QGroupBox *TOptionForm::buildFonts()
{
    GroupFonts = named(new QGroupBox, "GroupFonts");
    auto *grid = new QGridLayout(GroupFonts);
    FC_Editor = named(new QComboBox(GroupFonts), "FC_Editor");
    FC_Printer = named(new QComboBox(GroupFonts), "FC_Printer");
    UD_SizeEditor = sizeBox(GroupFonts, "UD_SizeEditor");
    UD_SizePrinter = sizeBox(GroupFonts, "UD_SizePrinter");
    const QStringList families = settings::sortedFontFamilies();
    for (QComboBox *list : {FC_Editor, FC_Printer}) {
        list->addItems(families);
        list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    grid->addWidget(named(new QLabel(GroupFonts), "Label1"), 0, 0);
    grid->addWidget(FC_Editor, 0, 1);
    grid->addWidget(named(new QLabel(GroupFonts), "LabelSize1"), 0, 2);
    grid->addWidget(UD_SizeEditor, 0, 3);
    grid->addWidget(named(new QLabel(GroupFonts), "Label2"), 1, 0);
    grid->addWidget(FC_Printer, 1, 1);
    grid->addWidget(named(new QLabel(GroupFonts), "LabelSize2"), 1, 2);
    grid->addWidget(UD_SizePrinter, 1, 3);
    return GroupFonts;
}

QWidget *TOptionForm::buildBrowsers()
{
    auto *page = named(new QWidget, "TabBrowser");
    auto *column = new QVBoxLayout(page);
    GroupBrowse1 = buildBrowserGroup(1);
    GroupBrowse2 = buildBrowserGroup(2);
    column->addWidget(GroupBrowse1);
    column->addWidget(GroupBrowse2);
    column->addStretch();
    return page;
}

QGroupBox *TOptionForm::buildBrowserGroup(int n)
{
    const bool first = n == 1;
    auto *group = named(new QGroupBox, first ? "GroupBrowse1" : "GroupBrowse2");
    auto *title = named(new QLineEdit(group), first ? "EditB1_Title" : "EditB2_Title");
    auto *program = named(new QLineEdit(group), first ? "EditB1_Program" : "EditB2_Program");
    program->setReadOnly(true);
    buttonFaceBehind(program);
    auto *pick = flatButton(group, first ? "BtnBrowser1" : "BtnBrowser2");
    pick->setIcon(QIcon::fromTheme(QStringLiteral("document-open")));
    pick->setText(QStringLiteral("..."));
    pick->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    auto *icon = named(new QLabel(group), first ? "ImageIcon1" : "ImageIcon2");
    icon->setFixedSize(kIconSize + 4, kIconSize + 4);
    icon->setAlignment(Qt::AlignCenter);

    auto *grid = new QGridLayout(group);
    grid->addWidget(named(new QLabel(group), first ? "Label12" : "Label14"), 0, 0);
    grid->addWidget(title, 0, 1, 1, 2);
    grid->addWidget(icon, 0, 3, 2, 1);
    grid->addWidget(named(new QLabel(group), first ? "Label13" : "Label15"), 1, 0);
    grid->addWidget(program, 1, 1);
    grid->addWidget(pick, 1, 2);
    (first ? EditB1_Title : EditB2_Title) = title;
    (first ? EditB1_Program : EditB2_Program) = program;
    (first ? BtnBrowser1 : BtnBrowser2) = pick;
    (first ? ImageIcon1 : ImageIcon2) = icon;
    return group;
}

QWidget *TOptionForm::buildBack()
{
    auto *page = named(new QWidget, "TabBack");
    auto *row = new QHBoxLayout(page);
    FileList = named(new QListWidget(page), "FileList");
    FileList->setSelectionMode(QAbstractItemView::SingleSelection);
    buttonFaceBehind(FileList);
    row->addWidget(FileList, 1);

    auto *column = new QVBoxLayout;
    auto *panel3 = named(new QFrame(page), "Panel3");
    panel3->setFrameShape(QFrame::Panel);
    panel3->setFrameShadow(QFrame::Sunken);
    panel3->setFixedSize(kPictureArea + QSize(4, 4));
    BackImage = named(new QLabel(panel3), "BackImage");
    BackImage->setAlignment(Qt::AlignCenter);
    BackImage->setGeometry(2, 2, kPictureArea.width(), kPictureArea.height());
    column->addWidget(panel3);
    auto *size = new QGridLayout;
    L_Width = named(new QLabel(page), "L_Width");
    L_Height = named(new QLabel(page), "L_Height");
    size->addWidget(named(new QLabel(page), "LabelWidth"), 0, 0);
    size->addWidget(L_Width, 0, 1);
    size->addWidget(named(new QLabel(page), "LabelHeight"), 1, 0);
    size->addWidget(L_Height, 1, 1);
    size->setColumnStretch(1, 1);
    column->addLayout(size);
    auto *rule = named(new QLabel(page), "LabelPictureRule");
    rule->setWordWrap(true);
    column->addWidget(rule);
    column->addStretch();
    row->addLayout(column);
    return page;
}

QWidget *TOptionForm::buildButtons()
{
    auto *bottom = named(new QWidget(this), "P_Bottom");
    auto *row = new QHBoxLayout(bottom);
    row->setContentsMargins(0, 0, 0, 0);
    // Made in the order they stand, so that Tab goes from left to right.
    BtnOK = named(new QPushButton(bottom), "BtnOK");
    BtnCancel = named(new QPushButton(bottom), "BtnCancel");
    BtnTakeIt = named(new QPushButton(bottom), "BtnTakeIt");
    BtnOK->setDefault(true);
    row->addStretch();
    row->addWidget(BtnOK);
    row->addWidget(BtnCancel);
    row->addWidget(BtnTakeIt);
    return bottom;
}

void TOptionForm::applyCaptions()
{
    setWindowTitle(lex::caption(1052));
    PageControl->setTabText(0, lex::caption(1053));
    PageControl->setTabText(1, lex::caption(1054));
    PageControl->setTabText(2, lex::caption(1094));
    GroupBrowse1->setTitle(lex::caption(1054) + QStringLiteral(" 1"));
    GroupBrowse2->setTitle(lex::caption(1054) + QStringLiteral(" 2"));
    GroupColors->setTitle(lex::caption(1055));
    GroupFonts->setTitle(lex::caption(1056));
    const std::pair<QToolButton *, int> colorButtons[] = {
        {BtnBackColor, 1057}, {BtnHTMLColor, 1058}, {BtnAttrColor, 1059}, {BtnTextColor, 1060}, {BtnCommentColor, 1061}};
    for (const auto &[button, number] : colorButtons)
        button->setText(lex::caption(number));
    const std::pair<const char *, int> labels[] = {{"Label1", 1062},      {"Label2", 1063},          {"Label12", 1064},
                                                   {"Label14", 1064},     {"Label13", 1065},         {"Label15", 1065},
                                                   {"LabelSize1", 1182},  {"LabelSize2", 1182},      {"LabelWidth", 1180},
                                                   {"LabelHeight", 1181}, {"LabelPictureRule", 1183}};
    for (const auto &[name, number] : labels)
        findChild<QLabel *>(QLatin1String(name))->setText(lex::caption(number));
    BtnTakeIt->setText(lex::caption(1066));
    BtnCancel->setText(lex::caption(1067));
    BtnOK->setText(lex::caption(1068));
    // An empty font name stands for the program's own choice.
    FC_Editor->setPlaceholderText(lex::caption(1184));
    FC_Printer->setPlaceholderText(lex::caption(1184));
    RB_TagAlign->setTitle(lex::caption(1079));
    RB_TagAlignLeft->setText(lex::caption(1080));
    RB_TagAlignRight->setText(lex::caption(1081));
}
