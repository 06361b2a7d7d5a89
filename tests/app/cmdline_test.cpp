#include "app/cmdline.h"
#include "quirtle_version.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(CommandLine, OnlyOwnOptionsBeforeTheSeparator)
{
    using cmdline::Action;
    const struct {
        QStringList args;
        Action action;
    } cases[] = {
        {{}, Action::Run},
        {{QStringLiteral("a.htm"), QStringLiteral("b.htm")}, Action::Run},
        {{QStringLiteral("a.htm"), QStringLiteral("--version")}, Action::Version},
        {{QStringLiteral("--help")}, Action::Help},
        {{QStringLiteral("-h"), QStringLiteral("--version")}, Action::Help},
        {{QStringLiteral("--"), QStringLiteral("--version")}, Action::Run}, // a file named --version
        {{QStringLiteral("-version")}, Action::Run},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cmdline::parse(c.args), c.action) << c.args.join(u' ').toStdString();

    EXPECT_EQ(cmdline::files({QStringLiteral("--"), QStringLiteral("--help"), QStringLiteral("--")}),
              QStringList({QStringLiteral("--help"), QStringLiteral("--")}));
    EXPECT_EQ(cmdline::versionText(), QStringLiteral("Quirtle " QUIRTLE_VERSION));
    const QString help = cmdline::helpText();
    for (const char *option : {"--help", "--version", "DATEI"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}

// A name in Latin-1 ("caf\xE9.htm" from an old archive) reaches the program
// with a replacement character: opened by that name it showed as an empty
// page, and saving made a second file. Such names are set apart and shown as
// Windows-1252, the way the user wrote them.
TEST(CommandLine, NamesThatAreNoUtf8AreSetApart)
{
    const QByteArray latin1("/tmp/caf\xE9.htm");
    const QByteArray utf8 = QStringLiteral("/tmp/Über.htm").toUtf8();
    const QStringList args{QStringLiteral("--"), QStringLiteral("a.htm"), QFile::decodeName(latin1), QFile::decodeName(utf8),
                           QStringLiteral("--")};
    const cmdline::StartFiles start = cmdline::startFiles(args, {"--", "a.htm", latin1, utf8, "--"});
    EXPECT_EQ(start.open, (QStringList{QStringLiteral("a.htm"), QStringLiteral("/tmp/Über.htm"), QStringLiteral("--")}));
    EXPECT_EQ(start.unreadable, QStringList{QStringLiteral("/tmp/café.htm")});
    // Bytes of another argument (out of step) leave the name to be opened.
    EXPECT_EQ(cmdline::startFiles({QStringLiteral("b.htm")}, {latin1}).open, QStringList{QStringLiteral("b.htm")});
}
