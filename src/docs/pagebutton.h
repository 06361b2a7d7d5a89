// The buttons the wizard and the template chooser end with.
#pragma once

class QPushButton;
class QWidget;

// "Make It" and "Empty Document" are flat; Return makes the page (the button
// named "BtnClose" is the default).
QPushButton *pageButton(QWidget *parent, const char *name);
