#include "tagbutton.h"

TMvToolBarBtn97::TMvToolBarBtn97(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    // The editor keeps the focus, so typing goes on where the tags went in.
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}
