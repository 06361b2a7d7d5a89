// The start picture, shown while the main window is made; also the info box.
#pragma once

#include <QWidget>

class TSplashScreen : public QWidget
{
    Q_OBJECT

public:
    explicit TSplashScreen(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

// The info box: the start picture with the product's address; a click on the
// picture closes it.
void showInfoBox(QWidget *parent);
