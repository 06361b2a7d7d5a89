// The start picture, shown while the main window is made; also the info box.
#pragma once

#include <QPixmap>
#include <QUrl>
#include <QWidget>

// Our artwork (resources/splash.svg) with the product's name and version.
QPixmap splashPixmap();

class TSplashScreen : public QWidget
{
    Q_OBJECT

public:
    explicit TSplashScreen(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPixmap m_picture;
};

// The info box: the start picture with the product's address, which a click
// opens in the default browser; a click on the picture closes the box.
void showInfoBox(QWidget *parent, const QUrl &address);
