#include "platform/filenames.h"

#include <gtest/gtest.h>

// The bytes behind a dropped address: escapes that are no UTF-8 survive,
// and so do the characters an address escapes for itself.
TEST(FileNames, AddressesGiveTheBytesOfTheirFile)
{
    EXPECT_EQ(filenames::nativePathOf(QUrl::fromEncoded("file:///tmp/caf%E9.htm")), QByteArray("/tmp/caf\xE9.htm"));
    EXPECT_EQ(filenames::nativePathOf(QUrl::fromLocalFile(QStringLiteral("/tmp/Über #1 50%?.htm"))),
              QStringLiteral("/tmp/Über #1 50%?.htm").toUtf8());
    EXPECT_TRUE(filenames::nativePathOf(QUrl(QStringLiteral("https://example.org/a.htm"))).isEmpty());

    const filenames::LocalFiles files =
        filenames::localFiles({QUrl::fromEncoded("file:///tmp/caf%E9.htm"), QUrl::fromLocalFile(QStringLiteral("/tmp/Über.htm")),
                               QUrl(QStringLiteral("https://example.org/a.htm"))});
    EXPECT_EQ(files.paths, QStringList{QStringLiteral("/tmp/Über.htm")});
    EXPECT_EQ(files.unreachable, QStringList{QStringLiteral("/tmp/café.htm")});
}

// Only the part of a path that is no UTF-8 is read as Windows-1252: a home
// folder "jürgen" stays as the user knows it beside a Latin-1 file name.
TEST(FileNames, OnlyThePartsThatAreNoUtf8AreReadAsWindows1252)
{
    EXPECT_EQ(filenames::shown("/home/j\xC3\xBCrgen/caf\xE9.htm"), QStringLiteral("/home/jürgen/café.htm"));
    EXPECT_EQ(filenames::shown("/home/j\xC3\xBCrgen/Gr\xFC\xDF"
                               "e/M\xC3\xBCller.htm"),
              QStringLiteral("/home/jürgen/Grüße/Müller.htm"));
    EXPECT_EQ(filenames::shown("relativ/caf\xE9"), QStringLiteral("relativ/café"));
    EXPECT_EQ(filenames::shown("/tmp/\xC3\xBC"
                               "ber.htm"),
              QStringLiteral("/tmp/über.htm"))
        << "all UTF-8: as read";
}
