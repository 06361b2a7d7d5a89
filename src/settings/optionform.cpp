#include "optionform.h"

#include "optionhost.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "platform/usererror.h"
#include "quirtle_version.h"
#include "settings/formpos.h"

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
#include <QScrollArea>
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

void setTextColor(QLabel *label, ColorValue color)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colors::toQColor(color, label->palette()));
    label->setPalette(p);
}

void selectEntry(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

// A page scrolls where the screen is too small for it, so that the dialog
// still fits and its buttons stay in reach. Where there is room it asks for
// the whole page (the toolkit's hint stops at a few lines of text).
class PageScroll : public QScrollArea
{
public:
    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

QScrollArea *scrolled(QWidget *page)
{
    auto *area = new PageScroll;
    area->setObjectName(page->objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    area->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    return area;
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
    PageControl->addTab(scrolled(TabWorkarea), QString());
    PageControl->addTab(scrolled(TabBrowser), QString());
    PageControl->addTab(scrolled(TabBack), QString());
    column->addWidget(PageControl, 1);
    column->addWidget(buildButtons());
    connectHandlers();
    FormCreate();
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

void TOptionForm::FormCreate()
{
    applyCaptions();
    m_backsFolders = settings::backsFolders(programdir::path());
    // A folder that cannot be made adds nothing to the list; the user's own
    // one is made so that the user finds where to put pictures.
    for (const QString &folder : std::as_const(m_backsFolders))
        QDir().mkpath(folder);
    const QStringList pictures = settings::backgroundPictures(m_backsFolders);
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
    const QString path = settings::backgroundFile(m_backsFolders, selected.first()->text());
    if (path.isEmpty())
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
            m_host->ShowException(exceptionText(e));
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
        resize(sizeHint());
        if (const QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
        keepOnScreen(this);
    }
    QDialog::showEvent(event);
}
