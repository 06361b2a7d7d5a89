// The new-document wizard: a page title, a background picture and five
// colours become a page skeleton. Made fresh for one modal run; its only
// product is HTMLText.
#pragma once

#include "platform/colorvalue.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TNewHTMLFileForm : public QDialog
{
    Q_OBJECT

public:
    explicit TNewHTMLFileForm(QWidget *parent = nullptr);

    // Runs the wizard owned by owner and gives its skeleton; empty when the
    // user chose an empty document or closed the window.
    static QString Execute(QWidget *owner);

    QLineEdit *EditTitle = nullptr, *EditPic = nullptr;
    QToolButton *ToolbarButton976 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QLineEdit *EditText = nullptr, *EditBGColor = nullptr, *EditLinks = nullptr, *EditAlink = nullptr, *EditVLink = nullptr;
    QToolButton *BtnText = nullptr, *BtnBGColor = nullptr, *BtnLink = nullptr, *BtnALink = nullptr, *BtnVLink = nullptr;
    QPushButton *BtnClose = nullptr, *BtnClearDoc = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr,
           *Label7 = nullptr;

    // Set only by "Make It".
    QString HTMLText;

    void ToolbarButton976Click();
    void BtnTextClick();
    void BtnBGColorClick();
    void BtnLinkClick();
    void BtnALinkClick();
    void BtnVLinkClick();
    void BtnCloseClick();
    void BtnClearDocClick();

private:
    // The one colour dialog of the five buttons opens with the colour last
    // chosen in this run.
    ColorValue m_dialogColor = colors::clBlack;

    void FormCreate();
    void buildColorRows();
    QToolButton *colorRow(int row, QLabel *&label, QLineEdit *&edit, const char *labelName, const char *editName, const char *buttonName);
    void chooseColorInto(QLineEdit *edit);
};
