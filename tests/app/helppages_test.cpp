// The help pages shipped in data/help: every page readable, every local link
// and anchor leads somewhere, the start page reaches every page, and the
// main-window page names the commands as the window shows them.
#include "mainwindowtest.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTextDocumentFragment>
#include <QToolBar>
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

// One row of a command table on the main-window page: the name a user looks
// for, and the key when the table has a key column.
struct CommandRow {
    QString name;
    QString key;
};

QString plain(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().trimmed();
}

QList<CommandRow> commandTable(const QString &page, const QString &sectionId)
{
    const QString text = pageText(page);
    const qsizetype section = text.indexOf(QStringLiteral("id=\"") + sectionId + u'"');
    const qsizetype start = section < 0 ? -1 : text.indexOf(QStringLiteral("<table>"), section);
    const qsizetype end = start < 0 ? -1 : text.indexOf(QStringLiteral("</table>"), start);
    if (end < 0)
        return {};
    const QString table = text.mid(start, end - start);
    const bool keyed = table.contains(QStringLiteral("<th>Taste</th>"));
    static const QRegularExpression row(QStringLiteral("<tr><td>(.*?)</td><td>(.*?)</td>"));
    QList<CommandRow> rows;
    for (const QRegularExpressionMatch &m : row.globalMatch(table))
        rows.append({plain(m.captured(1)), keyed ? plain(m.captured(2)) : QString()});
    return rows;
}

// What the window shows: the caption without its access-key marks, and the
// key in the words the help uses.
QList<CommandRow> shownCommands(const QList<QAction *> &actions)
{
    QList<CommandRow> rows;
    for (const QAction *a : actions) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        QString key = a->shortcut().toString(QKeySequence::PortableText);
        key.replace(QStringLiteral("Ctrl"), QStringLiteral("Strg")).replace(QStringLiteral("Del"), QStringLiteral("Entf"));
        rows.append({QString(a->text()).remove(u'&'), key});
    }
    return rows;
}

void expectSameCommands(const QList<CommandRow> &help, const QList<CommandRow> &shown, bool keyed)
{
    ASSERT_FALSE(help.isEmpty());
    EXPECT_EQ(help.size(), shown.size());
    for (qsizetype i = 0; i < std::min(help.size(), shown.size()); ++i) {
        EXPECT_EQ(help[i].name, shown[i].name) << "row " << i + 1;
        if (keyed) {
            EXPECT_EQ(help[i].key, shown[i].key) << help[i].name.toStdString();
        }
    }
}

class HelpMainWindowPage : public MainWindowTest
{
};

// The page names every menu item and toolbar button in the order and with
// the key the window has, so a renamed or moved command shows up here.
TEST_F(HelpMainWindowPage, NamesTheMenusAndToolbarAsTheWindowShowsThem)
{
    auto form = shown();
    const QString page = QStringLiteral("hauptfenster.htm");
    const std::pair<const char *, QMenu *> menus[] = {{"menue-datei", form->Menu_File},
                                                      {"menue-bearbeiten", form->Menu_Edit},
                                                      {"menue-extras", form->Menu_Extras},
                                                      {"menue-fenster", form->Menu_Window},
                                                      {"menue-hilfe", form->Menu_Help}};
    for (const auto &[id, menu] : menus) {
        SCOPED_TRACE(id);
        // No document is open: the window menu holds its fixed items only.
        expectSameCommands(commandTable(page, QLatin1String(id)), shownCommands(menu->actions()), true);
    }
    {
        SCOPED_TRACE("symbolleiste");
        expectSameCommands(commandTable(page, QStringLiteral("symbolleiste")), shownCommands(form->Toolbar->actions()), false);
    }
    quit(*form);
}

} // namespace
