#include "settings.h"

#include "logging.h"
#include "platform/lexstrings.h"
#include "platform/registry.h"

#include <QSet>

#include <memory>

namespace settings {

namespace {

std::unique_ptr<Registry> &instance()
{
    static std::unique_ptr<Registry> reg;
    return reg;
}

// Opens the key for one access and closes it again on every path out.
class KeyAccess
{
public:
    KeyAccess(const QString &key, bool canCreate) : m_reg(registry())
    {
        m_reg.closeKey();
        m_open = m_reg.openKey(key, canCreate);
    }
    ~KeyAccess() { m_reg.closeKey(); }
    KeyAccess(const KeyAccess &) = delete;
    KeyAccess &operator=(const KeyAccess &) = delete;

    bool open() const { return m_open; }
    bool has(const QString &name) const { return m_open && m_reg.valueExists(name); }
    Registry *operator->() const { return &m_reg; }

private:
    Registry &m_reg;
    bool m_open = false;
};

QString getText(const QString &name, const QString &fallback = {})
{
    KeyAccess key(kSettingsKey, false);
    return key.has(name) ? key->readString(name) : fallback;
}

qint32 getNumber(const QString &name, qint32 fallback)
{
    KeyAccess key(kSettingsKey, false);
    return key.has(name) ? key->readInteger(name) : fallback;
}

void setText(const QString &name, const QString &value, bool canCreate = false)
{
    KeyAccess key(kSettingsKey, canCreate);
    key->writeString(name, value);
}

void setNumber(const QString &name, qint32 value, bool canCreate = false)
{
    KeyAccess key(kSettingsKey, canCreate);
    key->writeInteger(name, value);
}

bool g_defaultsUnstored = false;
bool g_defaultMissed = false; // a getter gave an unstored default

ColorValue storedColor(const QString &name, ColorValue fallback)
{
    {
        KeyAccess key(kSettingsKey, false);
        if (key.has(name) && key->valueType(name) == RegType::DWord)
            return ColorValue(key->readInteger(name));
    }
    if (g_defaultsUnstored) {
        g_defaultMissed = true;
        return fallback;
    }
    // Storing the default is a courtesy to the user's settings file; a store
    // that cannot be written still gives the colour.
    try {
        setNumber(name, qint32(fallback), true);
    } catch (const RegistryError &) {
    }
    return fallback;
}

QString browserValue(int n, const char *part)
{
    return QStringLiteral("Browser%1%2").arg(n).arg(QLatin1String(part));
}

QString browserText(const QString &name)
{
    KeyAccess key(kSettingsKey, false);
    if (!key.has(name) || key->valueType(name) != RegType::String)
        return {};
    return key->readString(name);
}

} // namespace

namespace {

struct Reporting {
    std::function<void(const QString &)> report;
    QSet<QString> told;
};

Reporting &reporting()
{
    static Reporting r;
    return r;
}

} // namespace

void setErrorReporter(std::function<void(const QString &message)> report)
{
    reporting().report = std::move(report);
    reporting().told.clear();
}

DefaultsUnstored::DefaultsUnstored() : m_was(g_defaultsUnstored), m_missedBefore(g_defaultMissed)
{
    g_defaultsUnstored = true;
    g_defaultMissed = false;
}
DefaultsUnstored::~DefaultsUnstored()
{
    g_defaultsUnstored = m_was;
    g_defaultMissed = g_defaultMissed || m_missedBefore;
}
bool DefaultsUnstored::missed() const
{
    return g_defaultMissed;
}

bool firstTelling(const QString &message)
{
    Reporting &r = reporting();
    if (r.told.contains(message))
        return false;
    r.told.insert(message);
    return true;
}

void reportOnce(const QString &message)
{
    if (!firstTelling(message))
        return;
    qCWarning(lcSettings).noquote() << message;
    if (Reporting &r = reporting(); r.report)
        r.report(message + u'\n' + lex::message(3039));
}

Registry &registry()
{
    if (!instance())
        instance() = std::make_unique<Registry>();
    return *instance();
}

void releaseRegistry()
{
    instance().reset();
}

QString background()
{
    return getText(QStringLiteral("Background"));
}
void setBackground(const QString &name)
{
    setText(QStringLiteral("Background"), name);
}

ColorValue previewColor()
{
    return ColorValue(getNumber(QStringLiteral("PreviewColor"), qint32(defaults::previewColor)));
}
void setPreviewColor(ColorValue color)
{
    // Made with the key: a preview opened from the image browser may come
    // before anything else has made it, and its colour would be lost.
    setNumber(QStringLiteral("PreviewColor"), qint32(color), true);
}

bool mdiListVisible()
{
    return getNumber(QStringLiteral("MDIListVisible"), defaults::mdiListVisible ? 1 : 0) != 0;
}
void setMdiListVisible(bool visible)
{
    setNumber(QStringLiteral("MDIListVisible"), visible ? 1 : 0);
}

bool tagListVisible()
{
    return getNumber(QStringLiteral("TagListVisible"), defaults::tagListVisible ? 1 : 0) != 0;
}
void setTagListVisible(bool visible)
{
    setNumber(QStringLiteral("TagListVisible"), visible ? 1 : 0);
}

Side tagListAlign()
{
    return getNumber(QStringLiteral("TagListAlign"), defaults::tagListAlign == Side::Right ? 1 : 0) != 0 ? Side::Right : Side::Left;
}
void setTagListAlign(Side side)
{
    setNumber(QStringLiteral("TagListAlign"), side == Side::Right ? 1 : 0);
}

QString font()
{
    return getText(QStringLiteral("Font"));
}
void setFont(const QString &name)
{
    setText(QStringLiteral("Font"), name);
}
int fontHeight()
{
    return getNumber(QStringLiteral("FontHeight"), defaults::fontHeight);
}
void setFontHeight(int points)
{
    setNumber(QStringLiteral("FontHeight"), points);
}

QString pFont()
{
    return getText(QStringLiteral("PFont"));
}
void setPFont(const QString &name)
{
    setText(QStringLiteral("PFont"), name);
}
int pFontHeight()
{
    return getNumber(QStringLiteral("PFontHeight"), defaults::pFontHeight);
}
void setPFontHeight(int points)
{
    setNumber(QStringLiteral("PFontHeight"), points);
}

ColorValue backgroundColor()
{
    return storedColor(QStringLiteral("BackColor"), colors::clWhite);
}
void setBackgroundColor(ColorValue color)
{
    setNumber(QStringLiteral("BackColor"), qint32(color), true);
}
ColorValue textColor()
{
    return storedColor(QStringLiteral("FrontColor"), colors::clBlack);
}
void setTextColor(ColorValue color)
{
    setNumber(QStringLiteral("FrontColor"), qint32(color), true);
}
ColorValue tagColor()
{
    return storedColor(QStringLiteral("HTMLColor"), colors::clRed);
}
void setTagColor(ColorValue color)
{
    setNumber(QStringLiteral("HTMLColor"), qint32(color), true);
}
ColorValue attributeColor()
{
    return storedColor(QStringLiteral("AttrbColor"), colors::clBlue);
}
void setAttributeColor(ColorValue color)
{
    setNumber(QStringLiteral("AttrbColor"), qint32(color), true);
}
ColorValue commentColor()
{
    return storedColor(QStringLiteral("KommColor"), colors::clGray);
}
void setCommentColor(ColorValue color)
{
    setNumber(QStringLiteral("KommColor"), qint32(color), true);
}

QString browserName(int n)
{
    return browserText(browserValue(n, "Name"));
}
void setBrowserName(int n, const QString &name)
{
    setText(browserValue(n, "Name"), name, true);
}
QString browserPath(int n)
{
    return browserText(browserValue(n, "Path"));
}
void setBrowserPath(int n, const QString &path)
{
    setText(browserValue(n, "Path"), path, true);
}

QStringList loadOpenFiles()
{
    QStringList files;
    KeyAccess key(kOpenFilesKey, false);
    for (int n = 1; n <= kMaxOpenFiles; ++n) {
        const QString name = QStringLiteral("FileName%1").arg(n);
        // A value of another type, or an empty one, is no path; it is passed
        // over like a gap.
        if (key.has(name) && key->valueType(name) == RegType::String) {
            const QString path = key->readString(name);
            if (!path.trimmed().isEmpty())
                files.append(path);
        }
    }
    return files;
}

void saveOpenFiles(const QStringList &paths)
{
    KeyAccess key(kOpenFilesKey, true);
    for (qsizetype k = 0; k < paths.size() && k < kMaxOpenFiles; ++k)
        key->writeString(QStringLiteral("FileName%1").arg(k + 1), paths[k]);
}

} // namespace settings
