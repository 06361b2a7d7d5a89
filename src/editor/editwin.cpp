#include "editwin.h"

#include "mainhost.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TEditForm::TEditForm(TMainHost *host, QWidget *parent) : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(QStringLiteral("Editor"));
    ColorMemo = new QPlainTextEdit(this);
    ColorMemo->setObjectName(QStringLiteral("ColorMemo"));
    ColorMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ColorMemo->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ColorMemo);
    setFocusProxy(ColorMemo);
    connect(ColorMemo->document(), &QTextDocument::modificationChanged, this, &TEditForm::ColorMemoChange);
}

TEditForm::~TEditForm()
{
    m_destroying = true;
}

bool TEditForm::isModified() const
{
    return ColorMemo->document()->isModified();
}

void TEditForm::ColorMemoChange()
{
    if (m_host)
        m_host->UpdateCommandState();
}
