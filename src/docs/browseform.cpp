#include "browseform.h"

#include "platform/lexstrings.h"

#include <QLabel>
#include <QVBoxLayout>

// A window of its own that the desktop keeps above the main window (it is
// the main window's transient), not above every other program.
TBrowseForm::TBrowseForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("BrowseForm"));
    setWindowTitle(lex::caption(1106));
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
