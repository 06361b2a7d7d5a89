// The options dialog: editor colours and fonts, the printer font, the side of
// the tag list, the two external browsers and the working area's background
// picture. Made for one modal run by the main window; it edits a copy of the
// stored values and writes them back when applied.
#pragma once

#include "platform/colorvalue.h"
#include "settings/optionchanges.h"

#include <QDialog>
#include <QIcon>
#include <QSize>

class OptionHost;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

// The icon of a program file: the desktop theme's icon of that program when
// there is one, else the one the file system gives its kind of file.
QIcon programFileIcon(const QString &path);

class TOptionForm : public QDialog
{
    Q_OBJECT

public:
    explicit TOptionForm(OptionHost *host, QWidget *parent = nullptr);

    // The values the dialog holds now.
    settings::OptionValues shownValues() const;
    // True while the dialog holds changes not yet applied; "Take It" is
    // enabled exactly then.
    bool hasUnappliedChanges() const;

    QTabWidget *PageControl = nullptr;
    QWidget *TabWorkarea = nullptr, *TabBrowser = nullptr, *TabBack = nullptr;
    QPushButton *BtnCancel = nullptr, *BtnOK = nullptr, *BtnTakeIt = nullptr;

    QGroupBox *GroupColors = nullptr, *GroupFonts = nullptr;
    QToolButton *BtnBackColor = nullptr, *BtnHTMLColor = nullptr, *BtnAttrColor = nullptr, *BtnTextColor = nullptr,
                *BtnCommentColor = nullptr;
    QWidget *P_Back = nullptr;
    QList<QLabel *> L_HTMLColor; // the seven tag labels of the sample
    QLabel *L_AttrColor = nullptr, *L_TextColor1 = nullptr, *L_TextColor2 = nullptr, *L_CommColor = nullptr;
    QComboBox *FC_Editor = nullptr, *FC_Printer = nullptr;
    QSpinBox *UD_SizeEditor = nullptr, *UD_SizePrinter = nullptr;
    QGroupBox *RB_TagAlign = nullptr;
    QRadioButton *RB_TagAlignLeft = nullptr, *RB_TagAlignRight = nullptr;

    QGroupBox *GroupBrowse1 = nullptr, *GroupBrowse2 = nullptr;
    QLineEdit *EditB1_Title = nullptr, *EditB2_Title = nullptr;
    QLineEdit *EditB1_Program = nullptr, *EditB2_Program = nullptr;
    QToolButton *BtnBrowser1 = nullptr, *BtnBrowser2 = nullptr;
    QLabel *ImageIcon1 = nullptr, *ImageIcon2 = nullptr;

    QListWidget *FileList = nullptr;
    QLabel *BackImage = nullptr, *L_Width = nullptr, *L_Height = nullptr;

    void BtnBackColorClick();
    void BtnHTMLColorClick();
    void BtnAttrColorClick();
    void BtnTextColorClick();
    void BtnCommentColorClick();
    void BtnBrowser1Click();
    void BtnBrowser2Click();
    void EditB1_ProgramChange();
    void EditB2_ProgramChange();
    void FileListChange();
    void BtnTakeItClick();
    void BtnOKClick();
    void BtnCancelClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    static constexpr QSize kPictureArea{220, 160};
    static constexpr int kIconSize = 32;
    template <typename W> static W *named(W *widget, const char *name)
    {
        widget->setObjectName(QLatin1String(name));
        return widget;
    }

    OptionHost *m_host;
    // What the settings hold as far as this dialog knows: the values shown
    // at opening, then the values last applied.
    settings::OptionValues m_applied;
    // The sample's colours; kept as values so that system colours survive.
    ColorValue m_backColor = colors::clWhite, m_tagColor = colors::clRed, m_attrColor = colors::clBlue, m_textColor = colors::clBlack,
               m_commentColor = colors::clGray;
    // The colour dialog opens with the colour chosen last in this run.
    ColorValue m_lastColor = colors::clBlack;
    QStringList m_backsFolders;
    bool m_centred = false;

    void FormCreate();
    QWidget *buildWorkarea();
    QGroupBox *buildColors();
    QWidget *buildSample();
    QGroupBox *buildFonts();
    QWidget *buildBrowsers();
    QGroupBox *buildBrowserGroup(int n);
    QWidget *buildBack();
    QWidget *buildButtons();
    void connectHandlers();
    void applyCaptions();
    void showValues(const settings::OptionValues &values);
    void paintSample();
    void pickColor(ColorValue &target);
    void pickBrowser(QLineEdit *program);
    void showProgramIcon(const QLineEdit *program, QLabel *image);
    bool apply();
    void updateTakeIt();
};
