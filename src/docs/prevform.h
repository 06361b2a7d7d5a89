// The picture previews: a still picture (TPrevForm) and an animated GIF
// (TGifPrevForm) at their real size on a background colour the user picks,
// to judge transparent areas. A click anywhere on the picture or around it
// closes the window; colour and bounds are kept for the next preview.
#pragma once

#include "platform/colorvalue.h"

#include <QDialog>

#include <memory>

class QLabel;
class QScrollArea;
class QToolButton;
class TFormPosition;

// Sixteen colour cells in two rows of eight; a click picks a cell.
class TColorGrid : public QWidget
{
    Q_OBJECT

public:
    explicit TColorGrid(QWidget *parent = nullptr);
    static ColorValue cellColor(int cell);
    static constexpr int kCells = 16;
    QSize sizeHint() const override;
    int cellAt(QPoint pos) const;

Q_SIGNALS:
    void cellClicked(int cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// What both previews share: the layout, the colour and the closing.
class TPreviewForm : public QDialog
{
    Q_OBJECT

public:
    ~TPreviewForm() override;

    QScrollArea *ScrollBox1 = nullptr;
    QWidget *Panel1 = nullptr;
    TColorGrid *ColorGrid = nullptr;
    QToolButton *BtnColor = nullptr;
    QToolButton *BtnClose = nullptr;
    std::unique_ptr<TFormPosition> FormPos;

    ColorValue backgroundColor() const { return m_color; }
    void setBackgroundColor(ColorValue color);

    void ColorGridClick(int cell);
    void BtnColorClick();
    void ScrollBox1Click();

protected:
    explicit TPreviewForm(QWidget *parent);
    // Puts the picture control into the scroll box; called once by the twin.
    void setPicture(QLabel *picture, const QString &path);
    bool eventFilter(QObject *watched, QEvent *event) override;
    virtual void releasePicture() {}

private:
    ColorValue m_color = 0;
    bool m_closed = false;
    void FormCreate();
    void FormClose();
};

class TPrevForm : public TPreviewForm
{
    Q_OBJECT

public:
    explicit TPrevForm(QWidget *parent = nullptr);
    // False when the file gives no picture; the window is not to be shown then.
    bool loadPicture(const QString &path);

    QLabel *Image1 = nullptr;
};

// Opens the fitting preview for an existing picture file and runs it
// through the dialogs seam; false when it could not be shown.
bool showPicturePreview(QWidget *parent, const QString &path);
