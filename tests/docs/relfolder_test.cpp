#include "docs/relfolder.h"
#include "editor/docfile.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Case {
    const char *name;
    const char *document;
    const char *scanned;
    const char *relative;
};

class RelativeFolder : public ::testing::TestWithParam<Case>
{
};

TEST_P(RelativeFolder, FollowsTheDocumentsFolder)
{
    EXPECT_EQ(relativeFolder(QString::fromUtf8(GetParam().document), QString::fromUtf8(GetParam().scanned)),
              QString::fromUtf8(GetParam().relative));
}

#ifdef Q_OS_WIN
constexpr Case kBackslashCase{"backslashes_turn", "X:\\web\\", "X:\\web\\img\\gif\\", "img/gif/"};
#else
// Here a backslash is part of a folder's name.
constexpr Case kBackslashCase{"backslash_in_a_name_stays", "/web/", "/web/img\\alt/", "img\\alt/"};
#endif

INSTANTIATE_TEST_SUITE_P(Folders, RelativeFolder,
                         ::testing::Values(Case{"below", "/web/", "/web/img/gif/", "img/gif/"}, Case{"same", "/web/", "/web/", ""},
                                           Case{"elsewhere", "/web/", "/pics/", "[..]"}, Case{"never_saved", "", "/web/img/", "[..]"},
                                           Case{"document_folder_without_separator", "/web", "/web/img/", "img/"},
                                           Case{"same_text_further_along", "/web/", "/x/web/img/", "[..]"},
                                           Case{"sibling_with_longer_name", "/web/", "/website/", "[..]"}, kBackslashCase,
                                           Case{"case_counts", "/Web/", "/web/img/", "[..]"}),
                         [](const auto &info) { return std::string(info.param.name); });

// A page at the top of a file system: tags for pictures below it keep their
// folder, as for a page anywhere else.
TEST(RelativeFolderOfAPage, PageAtTheRoot)
{
    DocumentFile page;
    page.adopt(QStringLiteral("/page.htm"), TextFormat{});
    EXPECT_EQ(relativeFolder(page.folder(), QStringLiteral("/pics/")), QStringLiteral("pics/"));
}

// A page opened through a linked folder (~/www pointing to /srv/www) and
// pictures chosen in the real one, or the other way round: the pictures lie
// below the page all the same, and a bare file name would name no file.
TEST(RelativeFolderOfAPage, FoldersReachedThroughALinkAreCompared)
{
    QTemporaryDir root;
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("real/web/img")));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("pics")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("real")), dir.filePath(QStringLiteral("link"))));
    const QString real = dir.filePath(QStringLiteral("real/web/"));
    const QString linked = dir.filePath(QStringLiteral("link/web/"));
    EXPECT_EQ(relativeFolder(linked, real + QStringLiteral("img/")), QStringLiteral("img/"));
    EXPECT_EQ(relativeFolder(real, linked + QStringLiteral("img/")), QStringLiteral("img/"));
    EXPECT_EQ(relativeFolder(linked, real), QString());
    EXPECT_EQ(relativeFolder(linked, dir.filePath(QStringLiteral("pics/"))), kOutsideFolder);
    // A linked folder inside the page's folder is reached by its own name.
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("pics")), real + QStringLiteral("bilder")));
    EXPECT_EQ(relativeFolder(real, real + QStringLiteral("bilder/")), QStringLiteral("bilder/"));
}

TEST(ImageTag, ReferenceLeavesOutTheOutsideMark)
{
    EXPECT_EQ(pictureReference(QStringLiteral("img/gif/"), QStringLiteral("logo.gif")), QStringLiteral("img/gif/logo.gif"));
    EXPECT_EQ(pictureReference(QStringLiteral("[..]"), QStringLiteral("logo.gif")), QStringLiteral("logo.gif"));
    EXPECT_EQ(pictureReference(QString(), QStringLiteral("logo.gif")), QStringLiteral("logo.gif"));
    EXPECT_EQ(pictureReference(QStringLiteral("neu#2/"), QStringLiteral("logo?.gif")), QStringLiteral("neu%232/logo%3F.gif"));
    // A browser would read the backslash as a folder separator.
    EXPECT_EQ(pictureReference(QStringLiteral("img\\alt/"), QStringLiteral("a\\b.gif")), QStringLiteral("img%5Calt/a%5Cb.gif"));
    EXPECT_EQ(imageTag(QStringLiteral("img/a.gif"), QStringLiteral("20"), QStringLiteral("10")),
              QStringLiteral("<img src=\"img/a.gif\" width=\"20\" height=\"10\" border=\"0\">"));
    EXPECT_EQ(imageTag(QStringLiteral("a.gif"), QString(), QString()),
              QStringLiteral("<img src=\"a.gif\" width=\"\" height=\"\" border=\"0\">"));
}

// In the tag's attribute "&copy" would be read as the copyright sign and
// "&amp;" as a bare ampersand: the picture would not be found.
TEST(ImageTag, AmpersandsOfFolderAndFileNameAreWrittenAsEntitiesInTheTag)
{
    const QString reference = pictureReference(QStringLiteral("Tom&Jerry/"), QStringLiteral("x&copy.gif"));
    EXPECT_EQ(reference, QStringLiteral("Tom&Jerry/x&copy.gif")) << "the reference alone is no HTML";
    EXPECT_EQ(imageTag(reference, QStringLiteral("2"), QStringLiteral("3")),
              QStringLiteral("<img src=\"Tom&amp;Jerry/x&amp;copy.gif\" width=\"2\" height=\"3\" border=\"0\">"));
}

} // namespace
