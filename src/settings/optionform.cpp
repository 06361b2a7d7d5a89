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

// Any program, or a file of exactly one of the two classic browser names.
// Programs carry no extension outside Windows.
#ifdef Q_OS_WIN
const char *const kBrowserFilter = "Internet Browser|*.exe|Internet Explorer|iexplore.exe|Netscape Navigator|netscape.exe";
#else
const char *const kBrowserFilter = "Internet Browser|*|Internet Explorer|iexplore.exe|Netscape Navigator|netscape.exe";
#endif

constexpr QSize kPictureArea(220, 160);
constexpr int kIconSize = 32;

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton *flatButton(QWidget *parent, const char *name)
{
    auto *button = named(new QToolButton(parent), name);
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

void setTextColor(QLabel *label, ColorValue color)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colors::toQColor(color, label->palette()));
    label->setPalette(p);
}

QSpinBox *sizeBox(QWidget *parent, const char *name)
{
    auto *box = named(new QSpinBox(parent), name);
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

void selectEntry(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace

QIcon programFileIcon(const QString &path)
{
    const QFileInfo file(path);
    const QIcon themed = QIcon::fromTheme(file.completeBaseName());
    return themed.isNull() ? QFileIconProvider().icon(file) : themed;
}

TOptionForm::TOptionForm(OptionHost *host, QWidget *parent) : QDialog(parent, Qt::Tool), m_host(host)
{
    setObjectName(QStringLiteral("OptionForm"));
    auto *column = new QVBoxLayout(this);
    PageControl = named(new QTabWidget(this), "PageControl");
    TabWorkarea = buildWorkarea();
    TabBrowser = buildBrowsers();
    TabBack = buildBack();
    PageControl->addTab(TabWorkarea, QString());
    PageControl->addTab(TabBrowser, QString());
    PageControl->addTab(TabBack, QString());
    column->addWidget(PageControl, 1);
    column->addWidget(buildButtons());
    connectHandlers();
    FormCreate();
}

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
    BtnCancel = named(new QPushButton(bottom), "BtnCancel");
    BtnOK = named(new QPushButton(bottom), "BtnOK");
    BtnTakeIt = named(new QPushButton(bottom), "BtnTakeIt");
    BtnOK->setDefault(true);
    row->addStretch();
    row->addWidget(BtnOK);
    row->addWidget(BtnCancel);
    row->addWidget(BtnTakeIt);
    return bottom;
}

void TOptionForm::connectHandlers()
{
    connect(BtnBackColor, &QToolButton::clicked, this, &TOptionForm::BtnBackColorClick);
    connect(BtnHTMLColor, &QToolButton::clicked, this, &TOptionForm::BtnHTMLColorClick);
    connect(BtnAttrColor, &QToolButton::clicked, this, &TOptionForm::BtnAttrColorClick);
    connect(BtnTextColor, &QToolButton::clicked, this, &TOptionForm::BtnTextColorClick);
    connect(BtnCommentColor, &QToolButton::clicked, this, &TOptionForm::BtnCommentColorClick);
    connect(BtnBrowser1, &QToolButton::clicked, this, &TOptionForm::BtnBrowser1Click);
    connect(BtnBrowser2, &QToolButton::clicked, this, &TOptionForm::BtnBrowser2Click);
    connect(EditB1_Program, &QLineEdit::textChanged, this, &TOptionForm::EditB1_ProgramChange);
    connect(EditB2_Program, &QLineEdit::textChanged, this, &TOptionForm::EditB2_ProgramChange);
    connect(FileList, &QListWidget::itemSelectionChanged, this, &TOptionForm::FileListChange);
    connect(BtnTakeIt, &QPushButton::clicked, this, &TOptionForm::BtnTakeItClick);
    connect(BtnOK, &QPushButton::clicked, this, &TOptionForm::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TOptionForm::BtnCancelClick);
    // Every edit, the browser titles included, is a change "Take It" records.
    for (QComboBox *list : {FC_Editor, FC_Printer})
        connect(list, &QComboBox::currentIndexChanged, this, &TOptionForm::updateTakeIt);
    for (QSpinBox *box : {UD_SizeEditor, UD_SizePrinter})
        connect(box, &QSpinBox::valueChanged, this, &TOptionForm::updateTakeIt);
    connect(RB_TagAlignRight, &QRadioButton::toggled, this, &TOptionForm::updateTakeIt);
    for (QLineEdit *edit : {EditB1_Title, EditB2_Title, EditB1_Program, EditB2_Program})
        connect(edit, &QLineEdit::textChanged, this, &TOptionForm::updateTakeIt);
    connect(FileList, &QListWidget::itemSelectionChanged, this, &TOptionForm::updateTakeIt);
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

void TOptionForm::FormCreate()
{
    applyCaptions();
    m_backsFolder = settings::backsFolder(programdir::path());
    // A folder that cannot be made leaves the list empty; the working area
    // then keeps its built-in picture.
    QDir().mkpath(m_backsFolder);
    const QStringList pictures = settings::backgroundPictures(m_backsFolder);
    FileList->addItems(pictures);
    QStringList fonts;
    for (int i = 0; i < FC_Editor->count(); ++i)
        fonts.append(FC_Editor->itemText(i));
    showValues(settings::fitToChoices(settings::loadOptionValues(), fonts, pictures));
    m_applied = shownValues();
    updateTakeIt();
}

void TOptionForm::showValues(const settings::OptionValues &v)
{
    m_backColor = v.backgroundColor;
    m_tagColor = v.tagColor;
    m_textColor = v.textColor;
    m_attrColor = v.attributeColor;
    m_commentColor = v.commentColor;
    paintSample();
    (v.tagListSide == settings::Side::Right ? RB_TagAlignRight : RB_TagAlignLeft)->setChecked(true);
    EditB1_Title->setText(v.browsers[0].name);
    EditB1_Program->setText(v.browsers[0].path);
    EditB2_Title->setText(v.browsers[1].name);
    EditB2_Program->setText(v.browsers[1].path);
    selectEntry(FC_Editor, v.editorFont);
    selectEntry(FC_Printer, v.printerFont);
    UD_SizeEditor->setValue(v.editorFontSize);
    UD_SizePrinter->setValue(v.printerFontSize);
    FileList->clearSelection();
    const QList<QListWidgetItem *> found = FileList->findItems(v.backgroundPicture, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (!v.backgroundPicture.isEmpty() && !found.isEmpty())
        FileList->setCurrentItem(found.first());
}

settings::OptionValues TOptionForm::shownValues() const
{
    settings::OptionValues v;
    v.tagListSide = RB_TagAlignRight->isChecked() ? settings::Side::Right : settings::Side::Left;
    v.editorFont = FC_Editor->currentIndex() < 0 ? QString() : FC_Editor->currentText();
    v.printerFont = FC_Printer->currentIndex() < 0 ? QString() : FC_Printer->currentText();
    v.editorFontSize = UD_SizeEditor->value();
    v.printerFontSize = UD_SizePrinter->value();
    v.backgroundColor = m_backColor;
    v.tagColor = m_tagColor;
    v.commentColor = m_commentColor;
    v.textColor = m_textColor;
    v.attributeColor = m_attrColor;
    v.browsers[0] = {EditB1_Title->text(), EditB1_Program->text()};
    v.browsers[1] = {EditB2_Title->text(), EditB2_Program->text()};
    const QList<QListWidgetItem *> selected = FileList->selectedItems();
    v.backgroundPicture = selected.isEmpty() ? QString() : selected.first()->text();
    return v;
}

bool TOptionForm::hasUnappliedChanges() const
{
    return shownValues() != m_applied;
}

void TOptionForm::updateTakeIt()
{
    BtnTakeIt->setEnabled(hasUnappliedChanges());
}

void TOptionForm::paintSample()
{
    QPalette p = P_Back->palette();
    p.setColor(QPalette::Window, colors::toQColor(m_backColor, palette()));
    P_Back->setPalette(p);
    for (QLabel *label : std::as_const(L_HTMLColor))
        setTextColor(label, m_tagColor);
    setTextColor(L_AttrColor, m_attrColor);
    setTextColor(L_TextColor1, m_textColor);
    setTextColor(L_TextColor2, m_textColor);
    setTextColor(L_CommColor, m_commentColor);
}

void TOptionForm::pickColor(ColorValue &target)
{
    const std::optional<ColorValue> chosen = dialogs::current().chooseColor(this, m_lastColor);
    if (!chosen)
        return;
    m_lastColor = *chosen;
    target = *chosen;
    paintSample();
    updateTakeIt();
}

void TOptionForm::BtnBackColorClick()
{
    pickColor(m_backColor);
}

void TOptionForm::BtnHTMLColorClick()
{
    pickColor(m_tagColor);
}

void TOptionForm::BtnAttrColorClick()
{
    pickColor(m_attrColor);
}

void TOptionForm::BtnTextColorClick()
{
    pickColor(m_textColor);
}

void TOptionForm::BtnCommentColorClick()
{
    pickColor(m_commentColor);
}

void TOptionForm::pickBrowser(QLineEdit *program)
{
    dialogs::FileRequest request;
    request.title = QStringLiteral(QUIRTLE_PRODUCT);
    request.filter = QLatin1String(kBrowserFilter);
    if (!program->text().isEmpty())
        request.folder = QFileInfo(program->text()).absolutePath();
    const std::optional<dialogs::FileResult> chosen = dialogs::current().openFile(this, request);
    // A program that is not there cannot be chosen.
    if (!chosen || !QFileInfo(chosen->path).isFile())
        return;
    program->setText(QFileInfo(chosen->path).absoluteFilePath());
}

void TOptionForm::BtnBrowser1Click()
{
    pickBrowser(EditB1_Program);
}

void TOptionForm::BtnBrowser2Click()
{
    pickBrowser(EditB2_Program);
}

void TOptionForm::showProgramIcon(const QLineEdit *program, QLabel *image)
{
    if (program->text().isEmpty() || !QFileInfo(program->text()).isFile())
        return;
    const QIcon icon = programFileIcon(program->text());
    if (!icon.isNull())
        image->setPixmap(icon.pixmap(kIconSize, kIconSize));
}

void TOptionForm::EditB1_ProgramChange()
{
    showProgramIcon(EditB1_Program, ImageIcon1);
}

void TOptionForm::EditB2_ProgramChange()
{
    showProgramIcon(EditB2_Program, ImageIcon2);
}

void TOptionForm::FileListChange()
{
    const QList<QListWidgetItem *> selected = FileList->selectedItems();
    if (selected.isEmpty())
        return;
    const QString path = m_backsFolder + selected.first()->text();
    if (!QFileInfo(path).isFile())
        return;
    QImageReader reader(path);
    const QImage picture = reader.read();
    // A picture that does not load leaves the previous one and its numbers.
    if (picture.isNull())
        return;
    const bool fits = picture.width() <= kPictureArea.width() && picture.height() <= kPictureArea.height();
    const QImage shown = fits ? picture : picture.scaled(kPictureArea, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    BackImage->setPixmap(QPixmap::fromImage(shown));
    L_Width->setText(QString::number(picture.width()));
    L_Height->setText(QString::number(picture.height()));
}

bool TOptionForm::apply()
{
    const settings::OptionValues values = shownValues();
    try {
        settings::storeOptionValues(values);
    } catch (const RegistryError &e) {
        // Nothing was stored; the changes stay in the dialog to try again.
        if (m_host)
            m_host->ShowException(e.message());
        return false;
    }
    m_applied = values;
    updateTakeIt();
    if (m_host) {
        try {
            m_host->RefreshFromOptions();
        } catch (const std::exception &e) {
            m_host->ShowException(QString::fromUtf8(e.what()));
        }
    }
    raise();
    activateWindow();
    return true;
}

void TOptionForm::BtnTakeItClick()
{
    apply();
}

void TOptionForm::BtnOKClick()
{
    if (hasUnappliedChanges() && !apply())
        return;
    accept();
}

void TOptionForm::BtnCancelClick()
{
    reject();
}

void TOptionForm::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        if (const QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}
