// The colour-code picker: mixes a colour from red, green and blue, takes a
// standard colour or one of the colour dialog, and inserts or copies its
// "#RRGGBB" code. Made for one modal run by the main window.
#pragma once

#include "platform/colorvalue.h"

#include <QDialog>

class MainHost;
class QLabel;
class QScrollBar;
class QToolButton;

// A row of sixteen cells with the standard colours; a click tells the cell.
// The arrow keys walk the cells and tell each one reached, Space or Enter
// tells the marked cell again.
class ColorGrid : public QWidget
{
    Q_OBJECT

public:
    explicit ColorGrid(QWidget *parent = nullptr);
    // The cell at a point, or -1 outside the cells.
    int cellAt(const QPoint &point) const;

Q_SIGNALS:
    void cellClicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_current = 0; // the picker starts black, the first cell's colour

    QRect cellRect(int index) const;
    void take(int index);
    // Takes the cell a key leads to, unless it leads nowhere new.
    void moveTo(int index);
};

class TColorForm : public QDialog
{
    Q_OBJECT

public:
    explicit TColorForm(MainHost *host, QWidget *parent = nullptr);

    // The colour the bars hold.
    ColorValue color() const;
    // Sets the bars from a colour, red first, then green and blue.
    void setColor(ColorValue color);

    QWidget *P_Color = nullptr;
    QLabel *P_Hex = nullptr;
    ColorGrid *ColorGridCtl = nullptr;
    QScrollBar *SB_R = nullptr, *SB_G = nullptr, *SB_B = nullptr;
    QLabel *Edit_R = nullptr, *Edit_G = nullptr, *Edit_B = nullptr;
    QToolButton *BtnDark = nullptr, *BtnLight = nullptr;
    QToolButton *BtnColorDlg = nullptr, *BtnInsert = nullptr, *BtnClipBrd = nullptr, *BtnClose = nullptr;

    void SB_RChange();
    void ColorGridClick(int index);
    void SpeedButton1MouseDown(Qt::MouseButton button);
    void SpeedButton2MouseDown(Qt::MouseButton button);
    void BtnColorDlgClick();
    void BtnClipBrdClick();
    void BtnInsertClick();
    void BtnCloseClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainHost *m_host;

    void buildSwatch();
    void buildControls(QWidget *bottom);
    QScrollBar *colourBar(QWidget *parent, int top);
    void FormShow();
};
