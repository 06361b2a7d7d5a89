// The image browser window: one instance for the program's lifetime;
// closing it only hides it.
#pragma once

#include <QWidget>

class QLabel;

class TBrowseForm : public QWidget
{
    Q_OBJECT

public:
    explicit TBrowseForm(QWidget *parent = nullptr);

    // One-line panel showing the clipboard's text, kept current by the main window.
    QLabel *P_Clipbrd = nullptr;
};
