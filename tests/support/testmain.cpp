#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never need a display; a developer's shell may not say so.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quirtle tests"));
    return RUN_ALL_TESTS();
}
