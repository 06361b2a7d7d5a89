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
    P_Clipbrd->setTextFormat(Qt::PlainText);
    P_Clipbrd->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(P_Clipbrd);
}
