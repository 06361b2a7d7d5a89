#include "printprevform.h"

TPrintPrevForm::TPrintPrevForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PrintPrevForm"));
    setWindowTitle(QStringLiteral("Morvaline\u00B4s Quirtle"));
    resize(800, 600);
}
