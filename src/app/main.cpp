#include "app/lexstrings.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString title = QStringLiteral("Morvaline\u00B4s Quirtle 2.3");
    QApplication::setApplicationName(title);
    QMainWindow window;
    window.setWindowTitle(title);
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
