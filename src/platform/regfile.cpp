#include "regfile.h"

#include "cp1252.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>

#include <optional>
#include <vector>

namespace {

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Reads a quoted text starting at pos (on the opening quote); returns false
// when the closing quote is missing. Backslash escapes \\, \" and, for our
// own files, nothing else.
bool readQuoted(QStringView line, qsizetype &pos, QString &out)
{
    if (pos >= line.size() || line[pos] != u'"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return true;
        }
        if (c == u'\\' && pos + 1 < line.size())
            ++pos;
        out.append(line[pos]);
    }
    return false;
}

QString quoted(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out.append(u'"');
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            out.append(u'\\');
        out.append(c);
    }
    out.append(u'"');
    return out;
}

bool needsHexForm(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

// hex(1): is a text as UTF-16LE bytes with a closing NUL; used for texts with
// line breaks and other control characters, which the quoted form cannot hold.
QString hexStringForm(QStringView text)
{
    QString out = QStringLiteral("hex(1):");
    auto byte = [&out](unsigned b) {
        if (!out.endsWith(u':'))
            out.append(u',');
        out.append(QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')));
    };
    for (const QChar c : text) {
        byte(c.unicode() & 0xFF);
        byte(c.unicode() >> 8);
    }
    byte(0);
    byte(0);
    return out;
}

bool parseHexBytes(QStringView list, QByteArray &bytes)
{
    bytes.clear();
    if (list.trimmed().isEmpty())
        return true;
    for (const QStringView part : list.split(u',')) {
        bool ok = false;
        const QStringView t = part.trimmed();
        const uint b = t.toUInt(&ok, 16);
        if (!ok || t.size() > 2)
            return false;
        bytes.append(char(b));
    }
    return true;
}

bool parseData(QStringView data, RegValue &value)
{
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        value.type = RegType::String;
        return readQuoted(data, pos, value.text) && data.mid(pos).trimmed().isEmpty();
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QStringView digits = data.mid(6).trimmed();
        bool ok = false;
        value.type = RegType::DWord;
        value.number = digits.toUInt(&ok, 16);
        return ok && !digits.isEmpty() && digits.size() <= 8;
    }
    if (data.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive)) {
        QByteArray bytes;
        if (!parseHexBytes(data.mid(7), bytes) || bytes.size() % 2)
            return false;
        value.type = RegType::String;
        // Built unit by unit: a decoder would drop a leading byte-order mark.
        value.text.resize(bytes.size() / 2);
        for (qsizetype i = 0; i < value.text.size(); ++i)
            value.text[i] = QChar(char16_t(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8)));
        if (value.text.endsWith(QChar(0)))
            value.text.chop(1); // the terminator, not part of the text
        return true;
    }
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        const qsizetype colon = data.indexOf(u':');
        QByteArray bytes;
        if (colon < 0 || !parseHexBytes(data.mid(colon + 1), bytes))
            return false;
        value.type = RegType::Other;
        value.raw = data.toString();
        return true;
    }
    return false;
}

class Parser
{
public:
    RegParseResult result;

    void line(QStringView l)
    {
        l = l.trimmed();
        if (l.isEmpty() || l.startsWith(u';'))
            return;
        if (!sawHeader) {
            sawHeader = true;
            if (l == QLatin1String("REGEDIT4") || l.startsWith(QLatin1String("Windows Registry Editor")))
                return;
            ++result.badLines;
        }
        if (l.startsWith(u'['))
            section(l);
        else
            valueLine(l);
    }

private:
    // Deeper or longer key paths than the system's own registry allows are
    // damage: each level would keep a copy of its whole path.
    static constexpr int kMaxDepth = 512;
    static constexpr qsizetype kMaxPath = 4096;

    bool sawHeader = false;
    std::optional<std::size_t> current; // index of the key the values go to
    // Indexes for this read, by case-folded name: a long or crafted file
    // must not take quadratic time at every start.
    QHash<QString, std::size_t> keyAt;
    QSet<QString> existing; // keys with a section and all their parents
    QHash<std::size_t, QHash<QString, std::size_t>> valueAt;

    void section(QStringView l)
    {
        current.reset();
        if (!l.endsWith(u']') || l.size() < 3) {
            ++result.badLines;
            return;
        }
        const QStringView path = l.mid(1, l.size() - 2);
        if (path.startsWith(u'-'))
            return; // a deletion entry: nothing to keep
        if (path.size() > kMaxPath || path.count(u'\\') >= kMaxDepth) {
            ++result.badLines;
            return;
        }
        current = ensureKey(path.toString());
    }

    // As RegData::ensureKey: the key and its parents that no key has yet,
    // parents first.
    std::size_t ensureKey(const QString &path)
    {
        QString folded = path.toCaseFolded();
        if (const auto it = keyAt.constFind(folded); it != keyAt.constEnd())
            return *it;
        const auto foldedLeft = [&](qsizetype cut) {
            return folded.size() == path.size() ? folded.left(cut) : path.left(cut).toCaseFolded();
        };
        std::vector<qsizetype> missing;
        for (qsizetype cut = path.lastIndexOf(u'\\'); cut > 0 && !existing.contains(foldedLeft(cut));
             cut = path.lastIndexOf(u'\\', cut - 1))
            missing.push_back(cut);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            addKey(path.left(*it), foldedLeft(*it));
        return addKey(path, std::move(folded));
    }

    std::size_t addKey(const QString &path, QString folded)
    {
        const std::size_t index = result.data.keys.size();
        result.data.keys.push_back(RegKey{path, {}});
        keyAt.insert(folded, index);
        // The key and its parents exist from here on; once one is known,
        // its parents are too.
        for (qsizetype cut = folded.size(); cut > 0 && !existing.contains(folded.left(cut)); cut = folded.lastIndexOf(u'\\', cut - 1))
            existing.insert(folded.left(cut));
        return index;
    }

    void valueLine(QStringView l)
    {
        RegValue value;
        qsizetype pos = 0;
        if (l.startsWith(u'@')) {
            pos = 1;
        } else if (!readQuoted(l, pos, value.name)) {
            ++result.badLines;
            return;
        }
        while (pos < l.size() && l[pos].isSpace())
            ++pos;
        if (!current || pos >= l.size() || l[pos] != u'=') {
            ++result.badLines;
            return;
        }
        const QStringView data = l.mid(pos + 1).trimmed();
        if (data == u'-')
            return;
        if (!parseData(data, value)) {
            ++result.badLines;
            return;
        }
        std::vector<RegValue> &values = result.data.keys[*current].values;
        QHash<QString, std::size_t> &names = valueAt[*current];
        const QString folded = value.name.toCaseFolded();
        if (const auto it = names.constFind(folded); it != names.constEnd()) {
            values[*it] = std::move(value);
        } else {
            names.insert(folded, values.size());
            values.push_back(std::move(value));
        }
    }
};

QString dataText(const RegValue &v)
{
    switch (v.type) {
    case RegType::DWord: return QStringLiteral("dword:%1").arg(v.number, 8, 16, QLatin1Char('0'));
    case RegType::Other: return v.raw;
    case RegType::String: break;
    }
    return needsHexForm(v.text) ? hexStringForm(v.text) : quoted(v.text);
}

} // namespace

RegValue *RegKey::findValue(QStringView name)
{
    for (RegValue &v : values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

const RegValue *RegKey::findValue(QStringView name) const
{
    return const_cast<RegKey *>(this)->findValue(name);
}

RegValue &RegKey::setValue(const QString &name)
{
    if (RegValue *v = findValue(name))
        return *v;
    values.push_back(RegValue{name, RegType::String, {}, 0, {}});
    return values.back();
}

bool RegKey::removeValue(QStringView name)
{
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (sameName(it->name, name)) {
            values.erase(it);
            return true;
        }
    }
    return false;
}

RegKey *RegData::findKey(QStringView path)
{
    for (RegKey &k : keys)
        if (sameName(k.path, path))
            return &k;
    return nullptr;
}

const RegKey *RegData::findKey(QStringView path) const
{
    return const_cast<RegData *>(this)->findKey(path);
}

bool RegData::keyExists(QStringView path) const
{
    for (const RegKey &k : keys) {
        if (sameName(k.path, path))
            return true;
        if (k.path.size() > path.size() && k.path[path.size()] == u'\\' && sameName(QStringView(k.path).left(path.size()), path))
            return true;
    }
    return false;
}

RegKey &RegData::ensureKey(const QString &path)
{
    if (RegKey *k = findKey(path))
        return *k;
    // Parents first, so that an export lists them before their subkeys.
    const qsizetype cut = path.lastIndexOf(u'\\');
    if (cut > 0 && !keyExists(QStringView(path).left(cut)))
        ensureKey(path.left(cut));
    keys.push_back(RegKey{path, {}});
    return keys.back();
}

bool RegData::removeKey(QStringView path)
{
    const auto before = keys.size();
    std::erase_if(keys, [path](const RegKey &k) {
        return sameName(k.path, path) ||
               (k.path.size() > path.size() && k.path[path.size()] == u'\\' && sameName(QStringView(k.path).left(path.size()), path));
    });
    return keys.size() != before;
}

QStringList RegData::subKeyNames(QStringView path) const
{
    QStringList names;
    for (const RegKey &k : keys) {
        if (k.path.size() <= path.size() + 1 || k.path[path.size()] != u'\\' || !sameName(QStringView(k.path).left(path.size()), path))
            continue;
        const QString name = k.path.mid(path.size() + 1).section(u'\\', 0, 0);
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

RegParseResult parseRegText(QStringView text)
{
    Parser parser;
    QString pending;
    for (QStringView line : text.split(u'\n')) {
        const QStringView t = line.trimmed();
        // A trailing backslash continues a long hex list on the next line;
        // a comment that happens to end in one (a folder) continues nothing.
        const bool comment = pending.isEmpty() && t.startsWith(u';');
        if (t.endsWith(u'\\') && !comment) {
            pending += t.chopped(1);
            continue;
        }
        if (pending.isEmpty()) {
            parser.line(t);
        } else {
            pending += t;
            parser.line(pending);
            pending.clear();
        }
    }
    if (!pending.isEmpty())
        parser.line(pending);
    return std::move(parser.result);
}

QString serializeRegText(const RegData &data)
{
    QString out = QStringLiteral("REGEDIT4\n");
    for (const RegKey &k : data.keys) {
        out += u'\n' + (u'[' + k.path + u']') + u'\n';
        for (const RegValue &v : k.values) {
            out += v.name.isEmpty() ? QStringLiteral("@") : quoted(v.name);
            out += u'=' + dataText(v) + u'\n';
        }
    }
    return out;
}

QString decodeRegBytes(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    // Line by line: a line that is no UTF-8 is in the ANSI code page of
    // REGEDIT4 exports, so that none of its characters turns into U+FFFD and
    // is written back that way; a damaged or cut-off line leaves the others.
    QString text;
    text.reserve(bytes.size());
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView line(bytes.constData() + start, end - start);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8(line);
        text += utf8.hasError() ? cp1252::decode(line) : decoded;
        start = end;
    }
    return text;
}
