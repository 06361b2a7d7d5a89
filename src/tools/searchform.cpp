#include "searchform.h"

TSearchForm::TSearchForm(QWidget *parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Search & Replace"));
    setGeometry(256, 178, 339, 91);
}
