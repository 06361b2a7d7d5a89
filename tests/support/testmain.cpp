#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never need a display; a developer's shell may not say so.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Recovery files of the tests' documents stay in the test's own folder,
    // away from the user's and from test programs running beside it.
    QTemporaryDir stateHome;
    if (stateHome.isValid())
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quirtle tests"));
    return RUN_ALL_TESTS();
}
