#include "literaltools.h"

#include "tools/entitytable.h"

#include <QList>

namespace literal {

namespace {

Conversion badCode(int row)
{
    Conversion c;
    c.fault = ConversionFault::BadCode;
    c.badRow = row;
    return c;
}

QString characterOf(const ConversionRow &row)
{
    return entities::characterText(*row.code);
}

// The working text as pieces; produced pieces are never searched again.
struct Piece {
    QString text;
    bool produced = false;
};

QString joined(const QList<Piece> &pieces)
{
    QString out;
    for (const Piece &p : pieces)
        out += p.text;
    return out;
}

// The first occurrence of what within one piece that was not produced.
bool replaceFirst(QList<Piece> &pieces, const QString &what, const QString &by)
{
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (pieces[i].produced)
            continue;
        const qsizetype at = pieces[i].text.indexOf(what);
        if (at < 0)
            continue;
        const QString text = pieces[i].text;
        pieces[i].text = text.left(at);
        pieces.insert(i + 1, Piece{by, true});
        pieces.insert(i + 2, Piece{text.mid(at + what.size()), false});
        return true;
    }
    return false;
}

} // namespace

StrippedText stripTags(const QString &text)
{
    QString rest = text;
    QStringList tags;
    while (rest.contains(u'<')) {
        rest.remove(0, rest.indexOf(u'<') + 1);
        if (!rest.contains(u'>'))
            break;
        const qsizetype close = rest.indexOf(u'>');
        tags.append(u'<' + rest.left(close + 1));
        rest.remove(0, close + 1);
    }
    StrippedText out{text, -1};
    for (const QString &tag : tags) {
        const qsizetype at = out.text.indexOf(tag);
        if (at < 0)
            continue;
        out.text.remove(at, tag.size());
        out.caret = at;
    }
    return out;
}

std::optional<Conversion> charsToEntities(const QString &text, const ConversionTable &table, int maxSteps)
{
    Conversion c{text};
    int steps = 0;
    for (int r = 0; r < int(table.size()); ++r) {
        const ConversionRow &row = table[size_t(r)];
        if (!row.code)
            return badCode(r);
        const QString character = characterOf(row);
        for (qsizetype at = c.text.indexOf(character); at >= 0; at = c.text.indexOf(character)) {
            if (++steps > maxSteps)
                return std::nullopt;
            c.text.replace(at, character.size(), row.entity);
        }
    }
    return c;
}

std::optional<Conversion> entitiesToChars(const QString &text, const ConversionTable &table, int maxSteps)
{
    Conversion c{text};
    int steps = 0;
    for (int r = 0; r < int(table.size()); ++r) {
        const ConversionRow &row = table[size_t(r)];
        for (qsizetype at = c.text.indexOf(row.entity); at >= 0; at = c.text.indexOf(row.entity)) {
            if (!row.code)
                return badCode(r);
            if (++steps > maxSteps)
                return std::nullopt;
            c.text.replace(at, row.entity.size(), characterOf(row));
        }
    }
    return c;
}

Conversion frozenCharsToEntities(const QString &text, const ConversionTable &table)
{
    QList<Piece> pieces{{text, false}};
    for (int r = 0; r < int(table.size()); ++r) {
        const ConversionRow &row = table[size_t(r)];
        if (!row.code)
            return badCode(r);
        while (replaceFirst(pieces, characterOf(row), row.entity)) {
        }
    }
    return Conversion{joined(pieces)};
}

Conversion frozenEntitiesToChars(const QString &text, const ConversionTable &table)
{
    QList<Piece> pieces{{text, false}};
    for (int r = 0; r < int(table.size()); ++r) {
        const ConversionRow &row = table[size_t(r)];
        if (!row.code) {
            const bool used =
                std::any_of(pieces.cbegin(), pieces.cend(), [&row](const Piece &p) { return !p.produced && p.text.contains(row.entity); });
            if (used)
                return badCode(r);
            continue;
        }
        while (replaceFirst(pieces, row.entity, characterOf(row))) {
        }
    }
    return Conversion{joined(pieces)};
}

bool soundForCharsToEntities(const ConversionTable &table)
{
    for (size_t later = 0; later < table.size(); ++later) {
        if (!table[later].code)
            return true; // the rules stop at this row anyway
        for (size_t r = 0; r <= later; ++r)
            if (table[r].entity.contains(characterOf(table[later])))
                return false;
    }
    return true;
}

bool soundForEntitiesToChars(const ConversionTable &table)
{
    for (size_t r = 0; r < table.size(); ++r) {
        if (!table[r].code)
            continue;
        for (size_t later = r; later < table.size(); ++later)
            if (table[later].entity.contains(characterOf(table[r])))
                return false;
    }
    return true;
}

} // namespace literal
