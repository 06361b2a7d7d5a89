#include "editwin.h"

#include "colmemo.h"
#include "htmlscheme.h"
#include "mainhost.h"

#include <QVBoxLayout>

TEditForm::TEditForm(TMainHost *host, QWidget *parent) : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(QStringLiteral("Editor"));
    ColorMemo = new TColorMemo(this);
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

void TEditForm::ApplyColorScheme()
{
    ::ApplyColorScheme(*ColorMemo);
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
