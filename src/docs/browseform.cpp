#include "browseform.h"

#include <QLabel>
#include <QVBoxLayout>

TBrowseForm::TBrowseForm(QWidget *parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("BrowseForm"));
    setWindowTitle(QStringLiteral("Bilder"));
    resize(640, 480);
    P_Clipbrd = new QLabel(this);
    P_Clipbrd->setObjectName(QStringLiteral("P_Clipbrd"));
    P_Clipbrd->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(P_Clipbrd);
}
