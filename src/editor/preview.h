// The Preview page: the editor's text rendered as a page. Pictures, style
// sheets and local pages are taken from the document's folder, so the
// preview shows what the saved page will show.
#pragma once

#include <QScrollBar>
#include <QTextBrowser>

#include <functional>

// The pages of a page made of frames, as its frame tags name them (empty
// when it has no frameset outside comments).
QStringList framePages(const QString &html);

// How deep the page's tables nest, comments left out (unclosed tables nest
// ever deeper).
int tableDepth(const QString &html);

class PreviewBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    // Answers a picture request: the picture at the folder + address, or a
    // null image when there is none.
    using PictureRequest = std::function<QImage(const QString &address)>;

    // Laying out a longer text takes the window minutes, with no way to
    // stop it; such a text is not rendered, the page says why instead.
    static constexpr qsizetype kLargestPage = qsizetype(4) << 20;
    // Each level of nested tables doubles the time to lay them out: 20 take
    // the window minutes. Deeper nested pages are not rendered either.
    static constexpr int kDeepestTables = 12;
    // A file the preview reads (a style sheet, a linked page) is no larger.
    static constexpr qint64 kLargestFile = qint64(16) << 20;

    explicit PreviewBrowser(QWidget *parent = nullptr);

    void setFolder(const QString &folder) { m_folder = folder; }
    void setPictureRequest(PictureRequest request) { m_pictures = std::move(request); }
    // Loads the text as a page with no base location; errors end the load
    // quietly. A text over kLargestPage shows why it is not rendered.
    void showPage(const QString &html);

    QVariant loadResource(int type, const QUrl &name) override;
    // What the page shows for a picture it has not got. Never null: for a
    // null one the toolkit reads the address itself, from the working folder
    // and from any pipe or device it names.
    static QImage missingPicture();

private:
    QString m_folder;
    PictureRequest m_pictures;

    void openLink(const QUrl &url);
    // Hands the address to the desktop; a refusal is reported with `shown`.
    void openOutside(const QUrl &url, const QString &shown);
    void showTooLarge();
    void showNotRendered(int message);
    QString localPath(const QUrl &url) const;
};
