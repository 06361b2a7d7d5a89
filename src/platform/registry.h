// A per-user registry with the semantics of HKEY_CURRENT_USER: keys are paths
// with "\", values are texts or 32-bit numbers. This portable backend keeps
// them in one .reg file; every write is a locked read-modify-write, so
// several editors running at once never lose each other's values.
#pragma once

#include "regfile.h"
#include "usererror.h"

#include <QString>
#include <QStringList>

#include <functional>

class RegistryError : public UserError
{
public:
    explicit RegistryError(const QString &message);
};

class Registry
{
public:
    // The file named by QUIRTLE_REGISTRY, else $XDG_CONFIG_HOME/quirtle/user.reg.
    static QString defaultFilePath();

    explicit Registry(QString filePath = defaultFilePath());

    QString filePath() const { return m_filePath; }

    // Opens a key below HKEY_CURRENT_USER (a leading "\" is allowed). Without
    // canCreate a missing key gives false; with it the key and its parents are
    // made. Errors writing the file throw RegistryError.
    bool openKey(const QString &key, bool canCreate);
    void closeKey();
    bool hasCurrentKey() const { return !m_current.isEmpty(); }
    QString currentPath() const { return m_current; }

    bool keyExists(const QString &key);
    bool deleteKey(const QString &key);
    QStringList subKeyNames();

    // Value access on the open key. Reads throw RegistryError for a missing
    // value or one of another type; writes throw when no key is open or the
    // file cannot be written.
    bool valueExists(const QString &name);
    RegType valueType(const QString &name); // throws when missing
    QStringList valueNames();
    QString readString(const QString &name);
    qint32 readInteger(const QString &name);
    void writeString(const QString &name, const QString &value);
    void writeInteger(const QString &name, qint32 value);
    bool deleteValue(const QString &name);

    // Runs writes as one change of the file: one lock, one read, one
    // rewrite. Inside, writes change the data in memory and reads see them;
    // when writes throws, nothing is written and the file is read again.
    void batch(const std::function<void()> &writes);
    // How often registry files were rewritten in this process (each write
    // or batch once).
    static int fileWritesInProcess();

    // Lines of the file that could not be read at the last load.
    int badLinesAtLastLoad() const { return m_badLines; }

private:
    struct Stamp {
        qint64 inode = -1, size = -1, mtimeNs = -1;
        bool operator==(const Stamp &) const = default;
    };

    QString m_filePath;
    QString m_current;
    RegData m_data;
    Stamp m_stamp;
    int m_badLines = 0;
    QString m_readError;
    bool m_stale = false; // the data in memory may differ from the file
    bool m_inBatch = false;

    static QString fullPath(const QString &key);
    Stamp currentStamp() const;
    void refresh();
    bool loadFromDisk(); // false when the file exists but cannot be read
    void keepDamagedCopy() const;
    const RegValue *findValue(const QString &name);
    template <typename Change> void modify(Change change);
};
