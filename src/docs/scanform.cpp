#include "scanform.h"

#include "common/shorttext.h"
#include "platform/lexstrings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TScanForm::TScanForm(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("ScanForm"));
    Animate1 = new QProgressBar(this);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->setTextVisible(false);
    // Still until the first entry; then a busy bar.
    Animate1->setRange(0, 1);
    Label1 = new QLabel(lex::caption(1115), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setMinimumWidth(260);
    ToolbarButton971 = new QPushButton(lex::caption(1116), this);
    ToolbarButton971->setObjectName(QStringLiteral("ToolbarButton971"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Animate1);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(ToolbarButton971);
    connect(ToolbarButton971, &QPushButton::clicked, this, &TScanForm::ToolbarButton971Click);
}

void TScanForm::showEntry(const QString &name)
{
    Animate1->setRange(0, 0);
    Label1->setText(QStringLiteral("Scanne..."));
    // A name may hold line breaks; each would make the window a line taller.
    Label2->setText(shorttext::oneLine(name));
}

void TScanForm::ToolbarButton971Click()
{
    Q_EMIT stopRequested();
}

void TScanForm::keyPressEvent(QKeyEvent *event)
{
    // Escape included: it must not close the window under a running scan.
    if (!event->text().isEmpty())
        Q_EMIT stopRequested();
    else
        QDialog::keyPressEvent(event);
}
