// The registry's file form: Windows .reg export syntax ("REGEDIT4", [key]
// sections, "Name"="text", "Name"=dword:0000000a). Keys and value names
// compare without regard to case, as in the Windows registry.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

enum class RegType { String, DWord, Other };

struct RegValue {
    QString name; // empty for the key's default value ("@")
    RegType type = RegType::String;
    QString text;             // String
    std::uint32_t number = 0; // DWord
    QString raw;              // Other: the data as written after "=", kept verbatim
};

struct RegKey {
    QString path; // full path, root included, e.g. HKEY_CURRENT_USER\Software\X
    std::vector<RegValue> values;

    RegValue *findValue(QStringView name);
    const RegValue *findValue(QStringView name) const;
    RegValue &setValue(const QString &name); // finds or appends
    bool removeValue(QStringView name);
};

struct RegData {
    std::vector<RegKey> keys;

    RegKey *findKey(QStringView path);
    const RegKey *findKey(QStringView path) const;
    // A key exists when it has a section of its own or when a subkey has one.
    bool keyExists(QStringView path) const;
    // Adds the key and its missing parents, as an export lists them.
    RegKey &ensureKey(const QString &path);
    bool removeKey(QStringView path); // with its subkeys
    QStringList subKeyNames(QStringView path) const;
};

struct RegParseResult {
    RegData data;
    int badLines = 0; // lines that could not be read and were skipped
};

RegParseResult parseRegText(QStringView text);
QString serializeRegText(const RegData &data);

// Decodes the bytes of a .reg file: UTF-16 with a byte-order mark, else UTF-8,
// else Windows-1252.
QString decodeRegBytes(const QByteArray &bytes);
