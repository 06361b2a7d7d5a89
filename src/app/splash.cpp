#include "splash.h"

#include "glyphs.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

TSplashScreen::TSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_picture(splashPixmap())
{
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TSplashScreen::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}

namespace {

class TInfoBox : public QDialog
{
public:
    explicit TInfoBox(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    {
        setObjectName(QStringLiteral("InfoBox"));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(1, 1, 1, 6);
        auto *picture = new TSplashScreen(this);
        picture->setWindowFlags(Qt::Widget);
        layout->addWidget(picture);
        auto *address = new QLabel(QStringLiteral("<a href=\"https://quirtle.morvaline.de\">quirtle.morvaline.de</a>"), this);
        address->setAlignment(Qt::AlignCenter);
        address->setCursor(Qt::PointingHandCursor);
        address->setOpenExternalLinks(true);
        layout->addWidget(address);
    }

protected:
    void mousePressEvent(QMouseEvent *) override { accept(); }
};

} // namespace

void showInfoBox(QWidget *parent)
{
    TInfoBox box(parent);
    box.exec();
}
