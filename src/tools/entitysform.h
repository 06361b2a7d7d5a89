// The table of special characters: a grid of character buttons read from
// entities.mvt; the chosen character's entity is copied or inserted into the
// active document. Made for one modal run each time.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QToolButton;
class MainHost;
class TMvToolBarBtn97;

class TEntitysForm : public QDialog
{
    Q_OBJECT

public:
    explicit TEntitysForm(MainHost *host, QWidget *parent = nullptr);

    QFrame *Box = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *labelZ = nullptr;
    QLabel *Label3 = nullptr;
    QToolButton *BtnCopy = nullptr;
    QToolButton *BtnInsert = nullptr;
    QToolButton *BtnClose = nullptr;

    // Builds the grid from the file; its faults go to the error box.
    void LoadEntities(const QString &fileName);
    QList<TMvToolBarBtn97 *> characterButtons() const;
    // The entity that Copy and Insert use (Label3 may show it shortened).
    QString entityText() const { return m_entity; }

    void BoxClick(TMvToolBarBtn97 *button);
    void BtnCopyClick();
    void BtnInsertClick();
    void BtnCloseClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainHost *m_host;
    QString m_entity;
    bool m_shown = false;

    void FormCreate();
    void FormShow();
    void buildPanel();
    void fitBox(int rows);
    int rowsOnScreen() const;
    bool entityChosen();
    TMvToolBarBtn97 *buttonInColumn(const TMvToolBarBtn97 *from, int rowStep) const;
};
