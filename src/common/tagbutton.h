// A button of the tag list: one click puts TagBefore before and TagAfter
// after the selection of the active document.
#pragma once

#include <QToolButton>

class TMvToolBarBtn97 : public QToolButton
{
    Q_OBJECT

public:
    explicit TMvToolBarBtn97(QWidget *parent = nullptr);

    QString TagBefore;
    QString TagAfter;
};
