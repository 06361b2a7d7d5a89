// The template chooser: lists the templates of template.mvt, shows the
// chosen one read-only and lets the user set its page title. Made fresh
// for one modal run; its only product is TemplateText.
#pragma once

#include "templates.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TTemplateForm : public QDialog
{
    Q_OBJECT

public:
    explicit TTemplateForm(QWidget *parent = nullptr);

    // Runs the chooser owned by owner and gives the chosen text; empty for
    // an empty document, a closed window or a file that could not be read.
    static QString Execute(QWidget *owner);

    // False when the file was missing or unreadable: the chooser then
    // closes at once, without being shown.
    bool loaded() const { return m_loaded; }

    QComboBox *ComboBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *BtnClose = nullptr, *BtnEmpty = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;

    // Set only by "Make It".
    QString TemplateText;

    void ComboBox1Change();
    void Edit1Change();
    void BtnCloseClick();
    void BtnEmptyClick();

private:
    QStringList m_templates; // entry k belongs to ComboBox1's item k
    bool m_loaded = false;
    int m_shown = -1; // the template Memo1 shows
    // Where the title stands in Memo1 now. Kept rather than searched again:
    // a title that holds "</title>" itself would otherwise end the range early.
    TitleRange m_title;

    void FormCreate();
    void loadTemplates();
    void setTitleEditable(bool editable);
};
