#include "printprevform.h"

#include "quirtle_version.h"

TPrintPrevForm::TPrintPrevForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PrintPrevForm"));
    setWindowTitle(QStringLiteral(QUIRTLE_PRODUCT));
    resize(800, 600);
}
