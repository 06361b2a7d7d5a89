// The search and replace window: one instance for the program's lifetime;
// closing it only hides it. The search itself lives in search.h.
#pragma once

#include "search.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTextDocument;
class TColorMemo;

// What the search window needs of the main window; the main window
// implements it.
class SearchHost
{
public:
    virtual ~SearchHost() = default;
    // The editor of the active document window; nullptr when the active
    // child is no document window or there is none.
    virtual TColorMemo *ActiveEditor() const = 0;
    virtual void FocusMainWindow() = 0;
};

class TSearchForm : public QWidget
{
    Q_OBJECT

public:
    explicit TSearchForm(QWidget *parent = nullptr, SearchHost *host = nullptr);

    // One search step in the active editor; a selection that is a match is
    // replaced by ReplaceText first (an empty one replaces nothing).
    void SearchNext(const QString &ReplaceText);

    void ToolbarButton971Click(); // Find Next
    void ToolbarButton972Click(); // Replace
    void ToolbarButton973Click(); // Replace All
    void ToolbarButton974Click(); // Close
    // The search command: shows the window in front with the keyboard in the
    // search box, its text selected, so that typing starts a new search text.
    void ShowForSearch();

    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QComboBox *fedit = nullptr, *redit = nullptr;
    QCheckBox *mcase = nullptr, *wword = nullptr, *Searchup = nullptr, *Starttop = nullptr;
    QPushButton *ToolbarButton971 = nullptr, *ToolbarButton972 = nullptr, *ToolbarButton973 = nullptr, *ToolbarButton974 = nullptr;

    // True while Replace All runs; a step that finds nothing clears it.
    bool FReplaceAll = false;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SearchHost *m_host;
    // The active editor's text as the steps read it, and its folded copy,
    // kept while the window is open and follows the document's edits:
    // repeated steps in a large document then only scan, also after typing.
    struct {
        QPointer<QTextDocument> document;
        QMetaObject::Connection watch;
        bool valid = false, hasFolded = false;
        int revision = -1; // recolouring reports changes too; edits raise this
        QString text, folded;
    } m_cache;

    void buildComponents();
    void fitLayout();
    void FormCreate();
    void FormClose();
    TColorMemo *activeEditor() const;
    search::Query query(const QString &replacement) const;
    void applyFromBegin(TColorMemo &memo);
    void replaceAllSteps(TColorMemo &memo, const QString &ReplaceText);
    void notFound(const search::Query &query);
    void giveFocusBack();
    QString editorText(TColorMemo &memo);
    QString scanText(TColorMemo &memo, bool matchCase);
    void dropCache();
    void followEdit(int position, int removed, int added);
};
