#include "templateform.h"

#include "docs/logging.h"
#include "pagebutton.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"
#include "settings/formpos.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// The memo's text with every character as it stands (the toolkit's plain
// text turns no-break spaces into blanks), lines broken by "\n".
QString memoText(const QPlainTextEdit &memo)
{
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return text;
}

} // namespace

TTemplateForm::TTemplateForm(QWidget *parent) : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TemplateForm"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    auto *bar = new QHBoxLayout(panel1);
    Label1 = new QLabel(panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(panel1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // A long template name must not widen the window past the screen and
    // push its buttons out of reach.
    ComboBox1->setMaximumWidth(ComboBox1->fontMetrics().averageCharWidth() * 48);
    // On a narrow screen the list and the title give way before the buttons
    // do: the window then still fits and its buttons stay in reach.
    ComboBox1->setMinimumWidth(ComboBox1->fontMetrics().averageCharWidth() * 12);
    Label2 = new QLabel(panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1 = new QLineEdit(panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // The template's title comes in whole: a cut one would replace the
    // template's own at the first key.
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    Edit1->setMinimumWidth(Edit1->fontMetrics().averageCharWidth() * 20);
    Label1->setBuddy(ComboBox1);
    Label2->setBuddy(Edit1);
    BtnEmpty = pageButton(panel1, "BtnEmpty");
    BtnClose = pageButton(panel1, "BtnClose");
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, ComboBox1, Label2, Edit1})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(BtnEmpty);
    bar->addWidget(BtnClose);
    layout->addWidget(panel1);

    auto *panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    auto *client = new QVBoxLayout(panel2);
    client->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setBackgroundRole(QPalette::Button);
    QPalette face = Memo1->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    Memo1->setPalette(face);
    Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    client->addWidget(Memo1);
    layout->addWidget(panel2, 1);

    connect(ComboBox1, &QComboBox::activated, this, &TTemplateForm::ComboBox1Change);
    connect(Edit1, &QLineEdit::textChanged, this, &TTemplateForm::Edit1Change);
    connect(BtnClose, &QPushButton::clicked, this, &TTemplateForm::BtnCloseClick);
    connect(BtnEmpty, &QPushButton::clicked, this, &TTemplateForm::BtnEmptyClick);
    FormCreate();
    // Sized once the templates are in: the list asks room for their names.
    layout->activate(); // the window's least size, which keepOnScreen must respect
    resize(std::max(640, sizeHint().width()), 420);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    keepOnScreen(this);
}

void TTemplateForm::FormCreate()
{
    loadTemplates();
    setWindowTitle(lex::caption(1039));
    Label1->setText(lex::caption(1050));
    Label2->setText(lex::caption(1040));
    BtnEmpty->setText(lex::caption(1048));
    BtnClose->setText(lex::caption(1049));
    // The title is what the user most often changes: typing replaces it.
    if (Edit1->isEnabled()) {
        Edit1->setFocus();
        Edit1->selectAll();
    } else {
        ComboBox1->setFocus();
    }
}

void TTemplateForm::loadTemplates()
{
    ComboBox1->clear();
    const QString path = programdir::path() + QStringLiteral("template.mvt");
    const TemplateFile file = loadTemplateFile(path);
    switch (file.state) {
    case TemplateFileState::Missing: dialogs::inform(parentWidget(), dialogs::Kind::Error, lex::message(1002)); return;
    case TemplateFileState::Unreadable:
        // A file that is there but cannot be read is no choice of an empty page.
        qCWarning(lcDocs) << "cannot read" << path;
        dialogs::inform(parentWidget(), dialogs::Kind::Error, path + u'\n' + lex::message(3210) + u'\n' + file.error);
        return;
    case TemplateFileState::Loaded: break;
    }
    m_loaded = true;
    m_templates = file.templates.entries;
    ComboBox1->addItems(file.templates.names);
    if (!m_templates.isEmpty()) {
        ComboBox1->setCurrentIndex(0);
        ComboBox1Change();
    } else {
        setTitleEditable(false);
    }
}

QString TTemplateForm::Execute(QWidget *owner)
{
    TTemplateForm form(owner);
    if (!form.loaded())
        return QString();
    dialogs::current().runModal(form);
    return form.TemplateText;
}

void TTemplateForm::setTitleEditable(bool editable)
{
    Edit1->setEnabled(editable);
    Edit1->setReadOnly(!editable);
    QPalette p = Edit1->palette();
    p.setColor(QPalette::Base, palette().color(editable ? QPalette::Base : QPalette::Button));
    Edit1->setPalette(p);
}

void TTemplateForm::ComboBox1Change()
{
    const int k = ComboBox1->currentIndex();
    // The list reports every pick, also of the template already shown:
    // showing it afresh would throw away the title the user typed.
    if (k < 0 || k >= m_templates.size() || k == m_shown)
        return;
    m_shown = k;
    Memo1->setPlainText(templateLines(m_templates[k]).join(u'\n'));
    m_title = findTitleRange(memoText(*Memo1));
    // Only a title with both tags can be set: without "</title>" every
    // change would insert the whole title again, so the template is handed
    // over as it stands.
    if (m_title.kind == TitleRange::Closed) {
        setTitleEditable(true);
        const QString current = memoText(*Memo1).mid(m_title.start, m_title.length);
        const QSignalBlocker quiet(Edit1); // the text is already in place
        Edit1->setText(current);
    } else {
        const QSignalBlocker quiet(Edit1);
        Edit1->clear();
        setTitleEditable(false);
    }
}

void TTemplateForm::Edit1Change()
{
    if (m_title.kind != TitleRange::Closed)
        return;
    // The editor's positions are those of its plain text: a line break
    // counts once there.
    QTextCursor cursor(Memo1->document());
    cursor.setPosition(int(m_title.start));
    cursor.setPosition(int(m_title.start + m_title.length), QTextCursor::KeepAnchor);
    cursor.insertText(Edit1->text());
    m_title.length = cursor.position() - m_title.start;
}

void TTemplateForm::BtnCloseClick()
{
    QStringList lines;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    // A memo shows one empty line when it holds nothing: that is no template.
    TemplateText = m_templates.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n"));
    accept();
}

void TTemplateForm::BtnEmptyClick()
{
    reject();
}
