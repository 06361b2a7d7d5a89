#include "newhtmlform.h"

#include "newhtmltext.h"
#include "pagebutton.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace {

QToolButton *flatButton(QWidget *parent, const char *name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    return button;
}

QLineEdit *edit(QWidget *parent, const char *name)
{
    auto *line = new QLineEdit(parent);
    line->setObjectName(QLatin1String(name));
    // A pasted data: address for the picture runs far past the edit's usual
    // 32767 characters; cut off, the page would get a broken one.
    line->setMaxLength(std::numeric_limits<int>::max());
    return line;
}

QLabel *label(QWidget *parent, const char *name)
{
    auto *text = new QLabel(parent);
    text->setObjectName(QLatin1String(name));
    return text;
}

// The colour button shows what its edit names, when the text is a colour;
// the edit itself stays free text.
QIcon swatch(const QString &text)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    const QColor color(text.trimmed());
    QPainter p(&pixmap);
    p.setPen(QColor(Qt::gray));
    if (color.isValid())
        p.setBrush(color);
    p.drawRect(1, 1, 13, 13);
    if (!color.isValid())
        p.drawLine(3, 12, 12, 3);
    return QIcon(pixmap);
}

} // namespace

TNewHTMLFileForm::TNewHTMLFileForm(QWidget *parent) : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("NewHTMLFileForm"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QGridLayout;
    Label1 = label(this, "Label1");
    EditTitle = edit(this, "EditTitle");
    Label2 = label(this, "Label2");
    EditPic = edit(this, "EditPic");
    ToolbarButton976 = flatButton(this, "ToolbarButton976");
    ToolbarButton976->setText(QStringLiteral("\u2026"));
    top->addWidget(Label1, 0, 0);
    top->addWidget(EditTitle, 0, 1, 1, 2);
    top->addWidget(Label2, 1, 0);
    top->addWidget(EditPic, 1, 1);
    top->addWidget(ToolbarButton976, 1, 2);
    layout->addLayout(top);
    buildColorRows();
    layout->addWidget(GroupBox1);
    auto *buttons = new QHBoxLayout;
    BtnClearDoc = pageButton(this, "BtnClearDoc");
    BtnClose = pageButton(this, "BtnClose");
    buttons->addWidget(BtnClearDoc);
    buttons->addStretch();
    buttons->addWidget(BtnClose);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed border

    connect(ToolbarButton976, &QToolButton::clicked, this, &TNewHTMLFileForm::ToolbarButton976Click);
    connect(BtnText, &QToolButton::clicked, this, &TNewHTMLFileForm::BtnTextClick);
    connect(BtnBGColor, &QToolButton::clicked, this, &TNewHTMLFileForm::BtnBGColorClick);
    connect(BtnLink, &QToolButton::clicked, this, &TNewHTMLFileForm::BtnLinkClick);
    connect(BtnALink, &QToolButton::clicked, this, &TNewHTMLFileForm::BtnALinkClick);
    connect(BtnVLink, &QToolButton::clicked, this, &TNewHTMLFileForm::BtnVLinkClick);
    connect(BtnClose, &QPushButton::clicked, this, &TNewHTMLFileForm::BtnCloseClick);
    connect(BtnClearDoc, &QPushButton::clicked, this, &TNewHTMLFileForm::BtnClearDocClick);
    FormCreate();
    EditTitle->setFocus();
}

void TNewHTMLFileForm::buildColorRows()
{
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(GroupBox1);
    grid->setColumnMinimumWidth(1, 160);
    BtnText = colorRow(0, Label3, EditText, "Label3", "EditText", "BtnText");
    BtnBGColor = colorRow(1, Label4, EditBGColor, "Label4", "EditBGColor", "BtnBGColor");
    BtnLink = colorRow(2, Label5, EditLinks, "Label5", "EditLinks", "BtnLink");
    BtnALink = colorRow(3, Label6, EditAlink, "Label6", "EditAlink", "BtnALink");
    BtnVLink = colorRow(4, Label7, EditVLink, "Label7", "EditVLink", "BtnVLink");
}

QToolButton *TNewHTMLFileForm::colorRow(int row, QLabel *&rowLabel, QLineEdit *&rowEdit, const char *labelName, const char *editName,
                                        const char *buttonName)
{
    auto *grid = static_cast<QGridLayout *>(GroupBox1->layout());
    rowLabel = label(GroupBox1, labelName);
    rowEdit = edit(GroupBox1, editName);
    QToolButton *button = flatButton(GroupBox1, buttonName);
    button->setIcon(swatch(QString()));
    connect(rowEdit, &QLineEdit::textChanged, button, [button](const QString &text) { button->setIcon(swatch(text)); });
    grid->addWidget(rowLabel, row, 0);
    grid->addWidget(rowEdit, row, 1);
    grid->addWidget(button, row, 2);
    return button;
}

void TNewHTMLFileForm::FormCreate()
{
    setWindowTitle(lex::caption(1039));
    Label1->setText(lex::caption(1040));
    Label2->setText(lex::caption(1041));
    GroupBox1->setTitle(lex::caption(1042));
    Label3->setText(lex::caption(1043));
    Label4->setText(lex::caption(1044));
    Label5->setText(lex::caption(1045));
    Label6->setText(lex::caption(1046));
    Label7->setText(lex::caption(1047));
    BtnClearDoc->setText(lex::caption(1048));
    BtnClose->setText(lex::caption(1049));
    const std::pair<QLabel *, QWidget *> buddies[] = {{Label1, EditTitle}, {Label2, EditPic},   {Label3, EditText}, {Label4, EditBGColor},
                                                      {Label5, EditLinks}, {Label6, EditAlink}, {Label7, EditVLink}};
    for (const auto &[text, field] : buddies)
        text->setBuddy(field);
}

QString TNewHTMLFileForm::Execute(QWidget *owner)
{
    TNewHTMLFileForm form(owner);
    dialogs::current().runModal(form);
    return form.HTMLText;
}

void TNewHTMLFileForm::ToolbarButton976Click()
{
    dialogs::FileRequest request;
    request.title = lex::caption(1160);
    request.filter = lex::caption(1161);
    if (const auto chosen = dialogs::current().openFile(this, request))
        EditPic->setText(pictureReference(chosen->path));
}

void TNewHTMLFileForm::chooseColorInto(QLineEdit *target)
{
    const std::optional<ColorValue> chosen = dialogs::current().chooseColor(this, m_dialogColor);
    if (!chosen)
        return;
    m_dialogColor = *chosen;
    target->setText(colorAttributeText(*chosen));
}

void TNewHTMLFileForm::BtnTextClick()
{
    chooseColorInto(EditText);
}

void TNewHTMLFileForm::BtnBGColorClick()
{
    chooseColorInto(EditBGColor);
}

void TNewHTMLFileForm::BtnLinkClick()
{
    chooseColorInto(EditLinks);
}

void TNewHTMLFileForm::BtnALinkClick()
{
    chooseColorInto(EditAlink);
}

void TNewHTMLFileForm::BtnVLinkClick()
{
    chooseColorInto(EditVLink);
}

void TNewHTMLFileForm::BtnCloseClick()
{
    NewPageFields fields;
    fields.title = EditTitle->text();
    fields.picture = EditPic->text();
    fields.text = EditText->text();
    fields.bgColor = EditBGColor->text();
    fields.link = EditLinks->text();
    fields.aLink = EditAlink->text();
    fields.vLink = EditVLink->text();
    HTMLText = buildNewPageText(fields);
    accept();
}

void TNewHTMLFileForm::BtnClearDocClick()
{
    reject();
}
