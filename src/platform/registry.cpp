#include "registry.h"

#include "fileerror.h"
#include "lexstrings.h"
#include "logging.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

int &writesInProcess()
{
    static int writes = 0;
    return writes;
}

} // namespace

RegistryError::RegistryError(const QString &message) : UserError(message.toStdString()) {}

QString Registry::defaultFilePath()
{
    const QString overridden = qEnvironmentVariable("QUIRTLE_REGISTRY");
    if (!overridden.isEmpty())
        return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/quirtle/user.reg");
}

Registry::Registry(QString filePath) : m_filePath(std::move(filePath)) {}

QString Registry::fullPath(const QString &key)
{
    QString k = key;
    while (k.startsWith(u'\\'))
        k.remove(0, 1);
    while (k.endsWith(u'\\'))
        k.chop(1);
    return k.isEmpty() ? kRoot : kRoot + u'\\' + k;
}

Registry::Stamp Registry::currentStamp() const
{
    struct stat st {
    };
    if (::stat(QFile::encodeName(m_filePath).constData(), &st) != 0)
        return {};
    return {qint64(st.st_ino), qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// Another editor may have written the file since the last read; values are
// never cached across such a change.
void Registry::refresh()
{
    if (m_stale || currentStamp() != m_stamp)
        loadFromDisk();
}

bool Registry::loadFromDisk()
{
    m_stale = false;
    m_stamp = currentStamp();
    m_data = {};
    m_badLines = 0;
    if (!QFileInfo::exists(m_filePath))
        return true;
    const LoadedBytes read = readFileBytes(m_filePath);
    if (!read.result.ok) {
        if (read.result.error != m_readError)
            qCWarning(lcPlatform) << "cannot read" << m_filePath << read.result.error;
        m_readError = read.result.error;
        // Nothing was read, so the empty data is no picture of the file:
        // the next access tries again.
        m_stale = true;
        return false;
    }
    m_readError.clear();
    RegParseResult parsed = parseRegText(decodeRegBytes(read.bytes));
    m_data = std::move(parsed.data);
    m_badLines = parsed.badLines;
    if (m_badLines > 0) {
        qCWarning(lcPlatform) << m_badLines << "unreadable lines skipped in" << m_filePath;
        keepDamagedCopy();
    }
    return true;
}

// The damaged original stays beside the file until the next good write
// replaces it, so that nothing the user had is silently thrown away.
void Registry::keepDamagedCopy() const
{
    const QString copy = m_filePath + QStringLiteral(".damaged");
    QFile::remove(copy);
    QFile::copy(m_filePath, copy);
}

template <typename Change> void Registry::modify(Change change)
{
    if (m_inBatch) {
        change(m_data); // written once when the batch ends
        return;
    }
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        throw RegistryError(lex::message(3032) + u'\n' + info.absolutePath());
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(5000)) {
        // Only a lock someone holds is one; a lock file that cannot be made
        // means the folder may not be written, and the user must hear that.
        if (lock.error() == QLockFile::LockFailedError || userMayWrite(info.absolutePath()))
            throw RegistryError(lex::message(3033) + u'\n' + m_filePath);
        const int cause = errno;
        throw RegistryError(lex::message(3035) + u'\n' + m_filePath + u'\n' + fileerror::describe(cause, info.absolutePath()));
    }
    // A file that exists but cannot be read is never replaced by the one
    // value about to be written.
    if (!loadFromDisk())
        throw RegistryError(lex::message(3034) + u'\n' + m_filePath + u'\n' + m_readError);
    const QString before = serializeRegText(m_data);
    change(m_data);
    const QString after = serializeRegText(m_data);
    if (after == before && QFileInfo::exists(m_filePath))
        return; // nothing changed: the file is not rewritten
    // Never renamed over a write-protected file: the write refuses as a plain one would.
    const FileResult written = saveFileAtomically(m_filePath, after.toUtf8());
    if (!written.ok) {
        m_stale = true; // the change is not kept: the next read takes the file again
        throw RegistryError(lex::message(3035) + u'\n' + m_filePath + u'\n' + written.error);
    }
    m_stamp = currentStamp();
    m_badLines = 0;
    ++writesInProcess();
}

int Registry::fileWritesInProcess()
{
    return writesInProcess();
}

void Registry::batch(const std::function<void()> &writes)
{
    if (m_inBatch) {
        writes();
        return;
    }
    modify([this, &writes](RegData &) {
        m_inBatch = true;
        try {
            writes();
        } catch (...) {
            m_inBatch = false;
            m_stale = true; // the changes made so far are dropped
            throw;
        }
        m_inBatch = false;
    });
}

bool Registry::openKey(const QString &key, bool canCreate)
{
    const QString path = fullPath(key);
    refresh();
    if (!m_data.keyExists(path)) {
        if (!canCreate)
            return false;
        modify([&path](RegData &d) { d.ensureKey(path); });
    }
    m_current = path;
    return true;
}

void Registry::closeKey()
{
    m_current.clear();
}

bool Registry::keyExists(const QString &key)
{
    refresh();
    return m_data.keyExists(fullPath(key));
}

bool Registry::deleteKey(const QString &key)
{
    const QString path = fullPath(key);
    if (!keyExists(key))
        return false;
    modify([&path](RegData &d) { d.removeKey(path); });
    return true;
}

QStringList Registry::subKeyNames()
{
    refresh();
    return m_current.isEmpty() ? QStringList() : m_data.subKeyNames(m_current);
}

const RegValue *Registry::findValue(const QString &name)
{
    refresh();
    if (m_current.isEmpty())
        return nullptr;
    const RegKey *key = m_data.findKey(m_current);
    return key ? key->findValue(name) : nullptr;
}

bool Registry::valueExists(const QString &name)
{
    return findValue(name) != nullptr;
}

RegType Registry::valueType(const QString &name)
{
    const RegValue *v = findValue(name);
    if (!v)
        throw RegistryError(lex::message(3036) + u' ' + name);
    return v->type;
}

QStringList Registry::valueNames()
{
    refresh();
    QStringList names;
    if (const RegKey *key = m_current.isEmpty() ? nullptr : m_data.findKey(m_current))
        for (const RegValue &v : key->values)
            names.append(v.name);
    return names;
}

QString Registry::readString(const QString &name)
{
    if (valueType(name) != RegType::String)
        throw RegistryError(lex::message(3037) + u' ' + name);
    return findValue(name)->text;
}

qint32 Registry::readInteger(const QString &name)
{
    if (valueType(name) != RegType::DWord)
        throw RegistryError(lex::message(3037) + u' ' + name);
    return qint32(findValue(name)->number);
}

void Registry::writeString(const QString &name, const QString &value)
{
    if (m_current.isEmpty())
        throw RegistryError(lex::message(3038) + u' ' + name);
    const QString path = m_current;
    modify([&](RegData &d) {
        RegValue &v = d.ensureKey(path).setValue(name);
        v.type = RegType::String;
        v.text = value;
    });
}

void Registry::writeInteger(const QString &name, qint32 value)
{
    if (m_current.isEmpty())
        throw RegistryError(lex::message(3038) + u' ' + name);
    const QString path = m_current;
    modify([&](RegData &d) {
        RegValue &v = d.ensureKey(path).setValue(name);
        v.type = RegType::DWord;
        v.number = quint32(value);
    });
}

bool Registry::deleteValue(const QString &name)
{
    if (!valueExists(name))
        return false;
    const QString path = m_current;
    modify([&](RegData &d) {
        if (RegKey *k = d.findKey(path))
            k->removeValue(name);
    });
    return true;
}
