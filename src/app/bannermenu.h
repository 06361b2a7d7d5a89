// A pop-up menu with a painted side banner; the banner text reads upwards
// from the menu's bottom end.
#pragma once

#include <QMenu>

class BannerMenu : public QMenu
{
    Q_OBJECT

public:
    BannerMenu(int bannerWidth, QWidget *parent = nullptr);

    QString bannerText() const { return m_text; }
    void setBannerText(const QString &text);
    int bannerWidth() const { return m_width; }
    QFont bannerFont() const;
    // Tall enough for the whole banner text, also with only one or two items.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_width;
    QString m_text;
};
