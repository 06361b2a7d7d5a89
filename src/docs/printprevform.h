// The print preview window: one instance for the program's lifetime.
#pragma once

#include <QWidget>

class TPrintPrevForm : public QWidget
{
    Q_OBJECT

public:
    explicit TPrintPrevForm(QWidget *parent = nullptr);
};
