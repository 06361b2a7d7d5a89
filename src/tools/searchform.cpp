#include "searchform.h"

#include "platform/lexstrings.h"

// A tool window of the main window: above the editor's windows, not above
// every other program on the desktop.
TSearchForm::TSearchForm(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(lex::caption(1095));
    setGeometry(256, 178, 339, 91);
}
