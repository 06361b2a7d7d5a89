#include "pagebutton.h"

#include <QPushButton>

QPushButton *pageButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setDefault(qstrcmp(name, "BtnClose") == 0);
    return button;
}
