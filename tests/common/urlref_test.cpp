#include "common/urlref.h"

#include <gtest/gtest.h>

TEST(UrlReference, EscapesOnlyWhatWouldCutTheReferenceShort)
{
    // A '#' starts a fragment, a '?' a query, a '"' ends the attribute; a
    // '%' must be escaped too, or "%23" in a name would turn into '#'.
    EXPECT_EQ(urlReference(QStringLiteral("bilder/a#1?.png")), QStringLiteral("bilder/a%231%3F.png"));
    EXPECT_EQ(urlReference(QStringLiteral("100%23 \"x\".gif")), QStringLiteral("100%2523 %22x%22.gif"));
    // A browser takes a backslash for "/": the name "alt\logo.gif" would lead
    // into a folder "alt".
    EXPECT_EQ(urlReference(QStringLiteral("bilder/alt\\logo.gif")), QStringLiteral("bilder/alt%5Clogo.gif"));
    // Blanks, umlauts and folders stay as the user named them.
    EXPECT_EQ(urlReference(QStringLiteral("Über uns/Bild 1.jpg")), QStringLiteral("Über uns/Bild 1.jpg"));
    EXPECT_EQ(urlReference(QString()), QString());
}

// A browser drops tabs and line breaks from an address and cuts control
// characters at its ends, so a file named with one was linked as a file
// that does not exist; written as escapes, the reference names it.
TEST(UrlReference, ControlCharactersInANameAreEscaped)
{
    EXPECT_EQ(urlReference(QStringLiteral("neue\nZeile.png")), QStringLiteral("neue%0AZeile.png"));
    EXPECT_EQ(urlReference(QStringLiteral("a\tb\rc\x7F.gif")), QStringLiteral("a%09b%0Dc%7F.gif"));
    EXPECT_EQ(urlReference(QString(QChar(1)) + QStringLiteral("x.jpg") + QChar(0x1F)), QStringLiteral("%01x.jpg%1F"));
}

// Browsers strip blanks from both ends of an address, so a picture named
// " logo.gif" (or in a folder " alt") was linked as one without the blank.
TEST(UrlReference, BlanksAtTheEndsAreEscapedInsideOnesStay)
{
    EXPECT_EQ(urlReference(QStringLiteral(" logo.gif")), QStringLiteral("%20logo.gif"));
    EXPECT_EQ(urlReference(QStringLiteral("  alt/Bild 1.jpg")), QStringLiteral("%20 alt/Bild 1.jpg"));
    EXPECT_EQ(urlReference(QStringLiteral("seite ")), QStringLiteral("seite%20"));
    EXPECT_EQ(urlReference(QStringLiteral(" ")), QStringLiteral("%20"));
}

// A browser reads "c:bild.gif" or "Foto:1.jpg" as an address of the scheme
// "c" or "foto", not as a file beside the page; a colon later in the path,
// or after something no scheme may hold, is read as part of a name.
TEST(UrlReference, AColonThatWouldMakeTheNameAnAddressIsEscaped)
{
    EXPECT_EQ(urlReference(QStringLiteral("c:bild.gif")), QStringLiteral("c%3Abild.gif"));
    EXPECT_EQ(urlReference(QStringLiteral("Foto+1.2-x:a:b.jpg")), QStringLiteral("Foto+1.2-x%3Aa:b.jpg"));
    EXPECT_EQ(urlReference(QStringLiteral("javascript:alert(1).png")), QStringLiteral("javascript%3Aalert(1).png"));
    EXPECT_EQ(urlReference(QStringLiteral("bilder/c:bild.gif")), QStringLiteral("bilder/c:bild.gif"));
    EXPECT_EQ(urlReference(QStringLiteral("12:30.jpg")), QStringLiteral("12:30.jpg"));
    EXPECT_EQ(urlReference(QStringLiteral("Foto 12:30.jpg")), QStringLiteral("Foto 12:30.jpg"));
    EXPECT_EQ(urlReference(QStringLiteral("Grüße:1.gif")), QStringLiteral("Grüße:1.gif"));
}
