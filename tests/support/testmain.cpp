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
    // Nor does a test that forgets its own settings file write the user's:
    // settings and data folders of the run are temporary as well.
    QTemporaryDir userHome;
    if (userHome.isValid()) {
        qputenv("QUIRTLE_REGISTRY", QFile::encodeName(userHome.filePath(QStringLiteral("user.reg"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(userHome.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(userHome.filePath(QStringLiteral("data"))));
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quirtle tests"));
    return RUN_ALL_TESTS();
}
