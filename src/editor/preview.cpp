#include "preview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/shell.h"
#include "platform/textfile.h"

#include <algorithm>
#include <exception>

PreviewBrowser::PreviewBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HTMLViewer"));
    setFrameShape(QFrame::NoFrame);
    setOpenLinks(false);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(this, &QTextBrowser::anchorClicked, this, &PreviewBrowser::openLink);
}

namespace {

// The page without its comments: a tag written inside one is no tag.
QString withoutComments(const QString &html)
{
    QString text;
    for (qsizetype at = 0; at < html.size();) {
        const qsizetype open = html.indexOf(QLatin1String("<!--"), at);
        text += QStringView(html).mid(at, open < 0 ? html.size() - at : open - at);
        const qsizetype close = open < 0 ? -1 : html.indexOf(QLatin1String("-->"), open + 4);
        if (close < 0)
            break;
        at = close + 3;
    }
    return text;
}

// A tag name ends at a blank, ">" or "/": "<tablex" is another tag.
bool endsName(const QString &text, qsizetype at)
{
    return at == text.size() || text[at].isSpace() || text[at] == u'>' || text[at] == u'/';
}

} // namespace

int tableDepth(const QString &html)
{
    const QString text = withoutComments(html);
    int depth = 0;
    int deepest = 0;
    for (qsizetype at = text.indexOf(u'<'); at >= 0; at = text.indexOf(u'<', at + 1)) {
        const bool closing = at + 1 < text.size() && text[at + 1] == u'/';
        const qsizetype name = at + (closing ? 2 : 1);
        if (QStringView(text).mid(name, 5).compare(QLatin1String("table"), Qt::CaseInsensitive) != 0 || !endsName(text, name + 5))
            continue;
        depth = closing ? std::max(depth - 1, 0) : depth + 1;
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

QStringList framePages(const QString &html)
{
    // Comments out: a frameset written inside one is no frame.
    const QString text = withoutComments(html);
    bool frameset = false;
    for (qsizetype at = text.indexOf(QLatin1String("<frameset"), 0, Qt::CaseInsensitive); at >= 0 && !frameset;
         at = text.indexOf(QLatin1String("<frameset"), at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + 9;
        frameset = after == text.size() || text[after].isSpace() || text[after] == u'>' || text[after] == u'/';
    }
    if (!frameset)
        return {};
    static const QRegularExpression source(QStringLiteral(R"re((?:^|\s)src\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"),
                                           QRegularExpression::CaseInsensitiveOption);
    QStringList pages;
    for (qsizetype at = text.indexOf(QLatin1String("<frame"), 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(QLatin1String("<frame"), at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + 6;
        if (after < text.size() && !text[after].isSpace() && text[after] != u'/')
            continue; // <frameset>, <frame> without attributes
        const qsizetype close = text.indexOf(u'>', after);
        if (close < 0)
            break;
        const QRegularExpressionMatch match = source.match(QStringView(text).mid(after, close - after));
        const QString page = match.captured(match.lastCapturedIndex()).trimmed();
        if (match.hasMatch() && !page.isEmpty())
            pages.append(page);
        at = close;
    }
    return pages;
}

void PreviewBrowser::showPage(const QString &html)
{
    try {
        if (html.size() > kLargestPage) {
            showTooLarge();
        } else if (tableDepth(html) > kDeepestTables) {
            showNotRendered(3560);
        } else {
            setHtml(html);
            // The renderer lays out no frames: a page of them came out empty,
            // so the frames' pages are offered instead.
            const QStringList frames = toPlainText().trimmed().isEmpty() ? framePages(html) : QStringList();
            if (!frames.isEmpty()) {
                QString list = u"<p>" + lex::message(3370).toHtmlEscaped() + u"</p><ul>";
                for (const QString &page : frames) {
                    // As written in the page: entities stay, quotes are escaped for the new attribute.
                    QString address = page;
                    address.replace(u'"', QLatin1String("&quot;")).replace(u'<', QLatin1String("&lt;"));
                    list += u"<li><a href=\"" + address + u"\">" + address + u"</a></li>";
                }
                setHtml(list + u"</ul>");
            }
        }
        verticalScrollBar()->setValue(0);
    } catch (const std::exception &) {
        // A page the renderer cannot take stays as far as it got.
    }
}

QString PreviewBrowser::localPath(const QUrl &url) const
{
    if (url.isLocalFile())
        return url.toLocalFile();
    if (!url.scheme().isEmpty() || m_folder.isEmpty())
        return {};
    // Decoded: a page names "a#1.png" as "a%231.png".
    const QString path = url.path(QUrl::FullyDecoded);
    return QFileInfo(path).isAbsolute() ? path : m_folder + path;
}

namespace {

// A file the desktop would run rather than show: following a link opens
// documents, it never starts a program.
bool isProgram(const QString &path)
{
    static const QStringList programs = {
        QStringLiteral("exe"), QStringLiteral("com"),     QStringLiteral("bat"),      QStringLiteral("cmd"), QStringLiteral("scr"),
        QStringLiteral("pif"), QStringLiteral("msi"),     QStringLiteral("msp"),      QStringLiteral("cpl"), QStringLiteral("hta"),
        QStringLiteral("vbs"), QStringLiteral("vbe"),     QStringLiteral("js"),       QStringLiteral("jse"), QStringLiteral("wsf"),
        QStringLiteral("wsh"), QStringLiteral("ps1"),     QStringLiteral("lnk"),      QStringLiteral("reg"), QStringLiteral("jar"),
        QStringLiteral("sh"),  QStringLiteral("desktop"), QStringLiteral("appimage"), QStringLiteral("run")};
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    // Without an extension only the permission tells a program on this
    // platform; with one, the extension decides (copied files often carry
    // the permission needlessly).
    return programs.contains(suffix) || (suffix.isEmpty() && info.isExecutable());
}

} // namespace

QImage PreviewBrowser::missingPicture()
{
    static const QImage placeholder = [] {
        QImage image(QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
        if (image.isNull()) {
            image = QImage(16, 16, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
        }
        return image;
    }();
    return placeholder;
}

QVariant PreviewBrowser::loadResource(int type, const QUrl &name)
{
    // An inline data address holds its own bytes; the toolkit decodes it.
    if (name.scheme().compare(u"data", Qt::CaseInsensitive) == 0)
        return {};
    // A refusal is an empty text, never nothing, for the same reason as
    // missingPicture().
    const QVariant refused = type == QTextDocument::ImageResource ? QVariant(missingPicture()) : QVariant(QString());
    try {
        if (type == QTextDocument::ImageResource) {
            QString address = name.isLocalFile() ? name.toLocalFile() : name.scheme().isEmpty() ? name.path(QUrl::FullyDecoded) : QString();
            // A picture belongs to the page shown, which after a link is
            // not the document: its address counts from that page's folder.
            if (!address.isEmpty() && !m_folder.isEmpty() && QFileInfo(address).isRelative())
                address = m_folder + address;
            const QImage picture = m_pictures && !address.isEmpty() ? m_pictures(address) : QImage();
            return picture.isNull() ? refused : QVariant(picture);
        }
        const QString path = localPath(name);
        // Only a plain file of sane size: a named pipe would block the
        // window, a device could be read without end.
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile() || info.size() > kLargestFile)
            return refused;
        const LoadedBytes loaded = readFileBytes(path);
        return loaded.result.ok ? QVariant(decodeBytes(loaded.bytes).text) : refused;
    } catch (const std::exception &) {
        return refused;
    }
}

void PreviewBrowser::openLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https" || scheme == u"mailto") {
        openOutside(url, url.toDisplayString());
        return;
    }
    if (url.path().isEmpty() && url.hasFragment()) {
        scrollToAnchor(url.fragment());
        return;
    }
    if (scheme.isEmpty() && m_folder.isEmpty() && QFileInfo(url.path(QUrl::FullyDecoded)).isRelative()) {
        dialogs::inform(this, dialogs::Kind::Information, lex::message(3369));
        return;
    }
    // Scripts and other kinds of address are nothing the preview follows.
    const QString path = localPath(url);
    if (path.isEmpty())
        return;
    const QFileInfo target(path);
    if (!target.exists()) {
        dialogs::inform(this, dialogs::Kind::Warning, lex::message(3368) + u'\n' + QDir::toNativeSeparators(path));
        return;
    }
    // A folder, a pipe or a device is no page either.
    if (!target.isFile())
        return;
    // Pictures, documents and the like are no page: their own program shows
    // them, where the preview would show their bytes as text.
    static const QStringList pages = {QStringLiteral("htm"), QStringLiteral("html"), QStringLiteral("xhtml"), QStringLiteral("xht"),
                                      QStringLiteral("shtml")};
    if (!pages.contains(QFileInfo(path).suffix().toLower())) {
        if (isProgram(path))
            dialogs::inform(this, dialogs::Kind::Warning, lex::message(3366) + u'\n' + QDir::toNativeSeparators(path));
        else
            openOutside(QUrl::fromLocalFile(path), QDir::toNativeSeparators(path));
        return;
    }
    // A local page opens in the preview, its own links resolved from its folder.
    if (target.size() > kLargestFile) {
        setFolder(QFileInfo(path).absolutePath() + u'/');
        showTooLarge();
    } else {
        // Read here, not as a resource: a page that cannot be read says why
        // instead of showing as an empty one, and the page shown stays.
        const LoadedBytes loaded = readFileBytes(path);
        if (!loaded.result.ok) {
            dialogs::inform(this, dialogs::Kind::Warning,
                            lex::message(3300) + u'\n' + QDir::toNativeSeparators(path) + u'\n' + loaded.result.error);
            return;
        }
        setFolder(QFileInfo(path).absolutePath() + u'/');
        showPage(decodeBytes(loaded.bytes).text);
    }
    if (url.hasFragment())
        scrollToAnchor(url.fragment());
}

void PreviewBrowser::showTooLarge()
{
    showNotRendered(3352);
}

void PreviewBrowser::showNotRendered(int message)
{
    setHtml(u"<p>" + lex::message(message).toHtmlEscaped() + u"</p>");
}

void PreviewBrowser::openOutside(const QUrl &url, const QString &shown)
{
    if (!shell::current().openDefault(url))
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3081) + u'\n' + shown);
}
