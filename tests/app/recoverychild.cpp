// A running editor for the crash tests: opens a file, types into it, says
// so on stdout and then either runs until it is killed or quits cleanly,
// discarding its edits. Usage: recoverychild FILE TEXT [quit]
#include "app/mainform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/recoverykeeper.h"
#include "editor/recoverystore.h"
#include "platform/scripteddialogs.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    dialogs::ScriptedDialogsGuard scripted;
    scripted->defaultAnswer = dialogs::Answer::No; // "save changes?" no
    TMainForm form;
    form.recoveryKeeper()->setDelays(50, 500);
    form.show();
    QCoreApplication::processEvents();
    TEditForm *doc = form.OpenDocument(QFile::decodeName(argv[1]), false, 0);
    if (!doc)
        return 3;
    // Key by key, as typing delivers them; the text may hold any character.
    for (QChar c : QString::fromUtf8(argv[2])) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(doc->ColorMemo, &press);
        QApplication::sendEvent(doc->ColorMemo, &release);
    }
    std::printf("typed %s\n", qPrintable(form.recoveryStore()->folder()));
    std::fflush(stdout);
    if (argc > 3 && QByteArray(argv[3]) == "quit") {
        // Long enough for the recovery file to be written first.
        QTimer::singleShot(1500, &form, &QWidget::close);
    }
    return QApplication::exec();
}
