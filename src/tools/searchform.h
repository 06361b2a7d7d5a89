// The search and replace window: one instance for the program's lifetime;
// closing it only hides it.
#pragma once

#include <QWidget>

class TSearchForm : public QWidget
{
    Q_OBJECT

public:
    explicit TSearchForm(QWidget *parent = nullptr);
};
