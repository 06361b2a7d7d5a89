// The help pages shipped in data/help: every page readable, every local link
// and anchor leads somewhere, and the start page reaches every page.
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

const QString kHelpDir = QStringLiteral(QUIRTLE_SOURCE_DIR "/data/help/");

struct Link {
    QString page; // the page the link stands on
    QString target;
};

QString pageText(const QString &name)
{
    const QByteArray bytes = readAll(kHelpDir + name);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString() : text;
}

QStringList pages()
{
    return QDir(kHelpDir).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
}

QList<Link> linksOf(const QString &name)
{
    static const QRegularExpression attribute(QStringLiteral(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re"));
    QList<Link> links;
    for (const QRegularExpressionMatch &m : attribute.globalMatch(pageText(name)))
        links.append({name, m.captured(1)});
    return links;
}

bool isExternal(const QString &target)
{
    static const QRegularExpression scheme(QStringLiteral("^[a-zA-Z][a-zA-Z0-9+.-]*:"));
    return scheme.match(target).hasMatch();
}

bool hasAnchor(const QString &page, const QString &id)
{
    return pageText(page).contains(QStringLiteral("id=\"") + id + u'"');
}

TEST(HelpPages, EveryPageIsUtf8WithATitleInGerman)
{
    const QStringList names = pages();
    ASSERT_TRUE(names.contains(QStringLiteral("index.htm")));
    ASSERT_GT(names.size(), 5);
    static const QRegularExpression title(QStringLiteral("<title>\\s*\\S[^<]*</title>"));
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString text = pageText(name);
        ASSERT_FALSE(text.isEmpty()) << "unreadable or not UTF-8";
        EXPECT_TRUE(text.startsWith(QStringLiteral("<!DOCTYPE html>")));
        EXPECT_TRUE(text.contains(QStringLiteral("<html lang=\"de\">")));
        EXPECT_TRUE(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        EXPECT_TRUE(title.match(text).hasMatch());
        EXPECT_EQ(text.count(QStringLiteral("<body")), 1);
        EXPECT_TRUE(text.trimmed().endsWith(QStringLiteral("</html>")));
    }
}

TEST(HelpPages, EveryLocalLinkAndAnchorResolves)
{
    int local = 0;
    for (const QString &name : pages()) {
        for (const Link &link : linksOf(name)) {
            if (isExternal(link.target))
                continue;
            ++local;
            const qsizetype hash = link.target.indexOf(u'#');
            const QString file = hash < 0 ? link.target : link.target.left(hash);
            const QString anchor = hash < 0 ? QString() : link.target.mid(hash + 1);
            const QString target = file.isEmpty() ? link.page : QDir::cleanPath(file);
            EXPECT_TRUE(QFileInfo(kHelpDir + target).isFile()) << link.page.toStdString() << " -> " << link.target.toStdString();
            if (!anchor.isEmpty() && target.endsWith(QStringLiteral(".htm"))) {
                EXPECT_TRUE(hasAnchor(target, anchor)) << link.page.toStdString() << " -> " << link.target.toStdString();
            }
        }
    }
    EXPECT_GT(local, 20);
}

TEST(HelpPages, TheStartPageLinksEveryPageAndEveryPageLinksBack)
{
    QSet<QString> fromIndex;
    for (const Link &link : linksOf(QStringLiteral("index.htm")))
        fromIndex.insert(link.target.section(u'#', 0, 0));
    for (const QString &name : pages()) {
        if (name == QStringLiteral("index.htm"))
            continue;
        EXPECT_TRUE(fromIndex.contains(name)) << name.toStdString() << " is not linked from index.htm";
        bool back = false;
        for (const Link &link : linksOf(name))
            back = back || link.target.section(u'#', 0, 0) == QStringLiteral("index.htm");
        EXPECT_TRUE(back) << name.toStdString() << " has no way back to index.htm";
    }
}

} // namespace
