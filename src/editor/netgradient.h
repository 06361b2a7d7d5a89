// A horizontal colour gradient with a caption drawn on it: the title strip
// of a document window.
#pragma once

#include "platform/colorvalue.h"

#include <QWidget>

enum TFillDirection { fdLeftToRight, fdRightToLeft };

// Colour of band i of n between begin and end, each component by integer
// multiply-divide with rounding; the begin colour alone when n < 2.
QColor gradientBand(const QColor &begin, const QColor &end, int i, int n);

class TNetGradient : public QWidget
{
    Q_OBJECT

public:
    explicit TNetGradient(QWidget *parent = nullptr);

    ColorValue BeginColor() const { return m_begin; }
    void setBeginColor(ColorValue c);
    ColorValue EndColor() const { return m_end; }
    void setEndColor(ColorValue c);
    TFillDirection FillDirection() const { return m_direction; }
    void setFillDirection(TFillDirection d);
    int NumberOfColors() const { return m_colors; }
    void setNumberOfColors(int n);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    int TextLeft() const { return m_textLeft; }
    void setTextLeft(int x);
    int TextTop() const { return m_textTop; }
    void setTextTop(int y);
    ColorValue FontColor() const { return m_fontColor; }
    void setFontColor(ColorValue c);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ColorValue m_begin = colors::clBtnFace;
    ColorValue m_end = colors::clHighlight;
    TFillDirection m_direction = fdLeftToRight;
    int m_colors = 255;
    QString m_caption;
    int m_textLeft = 12;
    int m_textTop = 5;
    ColorValue m_fontColor = colors::clHighlightText;
};
