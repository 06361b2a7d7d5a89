#include "convert.h"

#include "entitytable.h"
#include "platform/lexstrings.h"

#include <QHash>

#include <algorithm>

#include <unordered_map>

namespace {

constexpr char32_t kAmpersand = 38;

// The row index per character: the first row of a character wins.
class FirstRowByCharacter
{
public:
    explicit FirstRowByCharacter(const ConversionTable &table) : m_bmp(table.empty() ? 0 : 0x10000, -1)
    {
        for (int i = 0; i < int(table.size()); ++i) {
            const char32_t code = *table[size_t(i)].code;
            if (code < 0x10000) {
                if (m_bmp[code] < 0)
                    m_bmp[code] = i;
            } else if (!m_others.contains(code)) {
                m_others.insert(code, i);
            }
        }
    }
    int operator()(char32_t code) const
    {
        if (code < 0x10000)
            return m_bmp.empty() ? -1 : m_bmp[code];
        return m_others.value(code, -1);
    }

private:
    std::vector<int> m_bmp;
    QHash<char32_t, int> m_others;
};

// The code point at i and its length in UTF-16 units; a lone surrogate
// stands for itself.
std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

// Entity texts read backwards from their closing ";". As no entity holds
// another ";", each walk ends at the ";" before it, and the walks of a
// text together read each character at most once.
class EntityTrie
{
public:
    explicit EntityTrie(const ConversionTable &table) : m_rowAt(1, -1)
    {
        for (int i = 0; i < int(table.size()); ++i)
            add(table[size_t(i)].entity, i);
    }

    // The first row whose entity ends at end (a ";"), and the entity's
    // length; row -1 when none does.
    std::pair<int, qsizetype> firstRowEndingAt(QStringView text, qsizetype end) const
    {
        int node = 0, row = -1;
        qsizetype length = 0;
        for (qsizetype p = end; p >= 0; --p) {
            const auto child = m_children.find(key(node, text[p]));
            if (child == m_children.end())
                break;
            node = child->second;
            const int here = m_rowAt[size_t(node)];
            if (here >= 0 && (row < 0 || here < row)) {
                row = here;
                length = end - p + 1;
            }
        }
        return {row, length};
    }

private:
    std::vector<int> m_rowAt;
    std::unordered_map<quint64, int> m_children;

    static quint64 key(int node, QChar c) { return (quint64(node) << 16) | c.unicode(); }

    void add(const QString &entity, int row)
    {
        Q_ASSERT(entity.endsWith(u';') && entity.count(u';') == 1);
        int node = 0;
        for (qsizetype p = entity.size() - 1; p >= 0; --p) {
            const auto [it, added] = m_children.try_emplace(key(node, entity[p]), int(m_rowAt.size()));
            if (added)
                m_rowAt.push_back(-1);
            node = it->second;
        }
        if (m_rowAt[size_t(node)] < 0)
            m_rowAt[size_t(node)] = row;
    }
};

Conversion badCode(int row)
{
    Conversion c;
    c.fault = ConversionFault::BadCode;
    c.badRow = row;
    return c;
}

ConversionRow rowOf(const entities::Row &fields, int line)
{
    ConversionRow row;
    row.code = entities::characterCode(fields.codeField);
    row.entity = (fields.named.isEmpty() ? fields.numeric : fields.named) + u';';
    row.line = line;
    row.codeField = fields.codeField;
    return row;
}

} // namespace

ConversionTable builtinConversionTable()
{
    ConversionTable table = conversionTable({
        QStringLiteral("196;&#196;&Auml;"),
        QStringLiteral("214;&#214;&Ouml;"),
        QStringLiteral("220;&#220;&Uuml;"),
        QStringLiteral("223;&#223;&szlig;"),
        QStringLiteral("228;&#228;&auml;"),
        QStringLiteral("246;&#246;&ouml;"),
        QStringLiteral("252;&#252;&uuml;"),
    });
    for (ConversionRow &row : table)
        row.line = 0;
    return table;
}

ConversionTable conversionTable(const QStringList &lines)
{
    ConversionTable table;
    for (int i = 0; i < lines.size(); ++i) {
        const entities::Row fields = entities::splitRow(lines[i]);
        if (fields.codeField.isEmpty() || (fields.named.isEmpty() && fields.numeric.isEmpty()))
            continue;
        ConversionRow row = rowOf(fields, i + 1);
        if (row.code != kAmpersand)
            table.push_back(std::move(row));
    }
    return table;
}

Conversion charsToEntities(QStringView text, const ConversionTable &table, qsizetype maxLength)
{
    for (int i = 0; i < int(table.size()); ++i)
        if (!table[size_t(i)].code)
            return badCode(i);
    const FirstRowByCharacter firstRow(table);
    // The length first, so that a huge entity is refused before any memory is taken.
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size();) {
        const auto [code, units] = codePointAt(text, i);
        const int row = firstRow(code);
        length += row < 0 ? units : table[size_t(row)].entity.size();
        if (length > maxLength) {
            Conversion c;
            c.fault = ConversionFault::TooLarge;
            return c;
        }
        i += units;
    }
    Conversion c;
    c.text.reserve(length);
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size();) {
        const auto [code, units] = codePointAt(text, i);
        const int row = firstRow(code);
        if (row >= 0) {
            c.text += text.mid(copied, i - copied);
            c.text += table[size_t(row)].entity;
            copied = i + units;
        }
        i += units;
    }
    c.text += text.mid(copied);
    return c;
}

Conversion entitiesToChars(QStringView text, const ConversionTable &table)
{
    const EntityTrie trie(table);
    Conversion c;
    c.text.reserve(text.size());
    int firstBad = -1;
    qsizetype copied = 0;
    for (qsizetype end = text.indexOf(u';'); end >= 0; end = text.indexOf(u';', end + 1)) {
        const auto [row, length] = trie.firstRowEndingAt(text, end);
        if (row < 0)
            continue;
        const ConversionRow &r = table[size_t(row)];
        if (!r.code) {
            // Rows are used in table order: the earliest bad row that is used is the one met.
            if (firstBad < 0 || row < firstBad)
                firstBad = row;
            continue;
        }
        const qsizetype start = end - length + 1;
        c.text += text.mid(copied, start - copied);
        c.text += entities::characterText(*r.code);
        copied = end + 1;
    }
    if (firstBad >= 0)
        return badCode(firstBad);
    c.text += text.mid(copied);
    return c;
}

QString conversionFaultMessage(const Conversion &conversion, const ConversionTable &table)
{
    switch (conversion.fault) {
    case ConversionFault::None: return QString();
    case ConversionFault::TooLarge: return lex::message(3052);
    case ConversionFault::BadCode: break;
    }
    const ConversionRow &row = table.at(size_t(conversion.badRow));
    return entities::badCodeMessage(row.line, row.codeField);
}
