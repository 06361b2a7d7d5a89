// The small window shown while the image browser scans a folder: what is
// being read, and a Stop button. Stop and any character key end the scan.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TScanForm : public QDialog
{
    Q_OBJECT

public:
    explicit TScanForm(QWidget *parent = nullptr);

    QProgressBar *Animate1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *ToolbarButton971 = nullptr;

    void showEntry(const QString &name);

Q_SIGNALS:
    void stopRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ToolbarButton971Click();
};
