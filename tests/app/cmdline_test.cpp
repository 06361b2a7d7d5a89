#include "app/cmdline.h"
#include "quirtle_version.h"

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
