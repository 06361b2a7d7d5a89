#include "editor/colorrules.h"

#include <algorithm>
#include <optional>

namespace {

struct NamedColor {
    QStringView name;
    ColorValue value;
};

constexpr NamedColor namedColors[] = {
    {u"BLACK", colors::clBlack},   {u"MAROON", colors::clMaroon},   {u"GREEN", colors::clGreen}, {u"OLIVE", colors::clOlive},
    {u"NAVY", colors::clNavy},     {u"PURPLE", colors::clPurple},   {u"TEAL", colors::clTeal},   {u"GRAY", colors::clGray},
    {u"SILVER", colors::clSilver}, {u"RED", colors::clRed},         {u"LIME", colors::clLime},   {u"YELLOW", colors::clYellow},
    {u"BLUE", colors::clBlue},     {u"FUCHSIA", colors::clFuchsia}, {u"AQUA", colors::clAqua},   {u"WHITE", colors::clWhite},
};

constexpr int MaxColorTextLength = 10;

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// "$" and at least one digit, the value within 32 bits (the text is upper case).
std::optional<quint32> dollarHexValue(QStringView text)
{
    if (text.size() < 2 || text.front() != u'$')
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : text.mid(1)) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint64(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return quint32(value);
}

bool isBlank(QStringView text)
{
    return text.trimmed().isEmpty();
}

} // namespace

ColorValue ParseColorText(QStringView text)
{
    QString t = text.trimmed().toString().toUpper().left(MaxColorTextLength);
    for (const NamedColor &named : namedColors) {
        if (t == named.name)
            return named.value;
    }
    const qsizetype hash = t.indexOf(u'#');
    if (hash >= 0)
        t.remove(hash, 1);
    if (!t.contains(u'$'))
        t.prepend(u'$');
    const std::optional<quint32> v = dollarHexValue(t);
    if (!v)
        return colors::clWhite;
    // Written as RRGGBB like in HTML; colour values keep red in the low byte.
    return (*v & 0xFF00) + ((*v & 0xFF) << 16) + ((*v >> 16) & 0xFF);
}

void TColorRule::setKeywords(const QStringList &lines)
{
    m_keyPattern.clear();
    for (const QString &line : lines) {
        if (isBlank(line))
            continue;
        const qsizetype p = line.indexOf(u';');
        const QStringView word = p < 0 ? QStringView(line) : QStringView(line).left(p);
        if (isBlank(word))
            continue;
        const QStringView colorText = p < 0 ? QStringView() : QStringView(line).mid(p + 1);
        m_keyPattern.push_back({keywordText(word), colorOf(colorText)});
    }
    if (&lines != &m_keywords)
        m_keywords = lines;
}

void TColorRule::setKeyBegEndLst(const QStringList &lines)
{
    m_keyTable.fill(TKeyEntry());
    const qsizetype n = std::min<qsizetype>(lines.size(), KeyTableSize);
    for (qsizetype i = 0; i < n; ++i)
        m_keyTable[std::size_t(i)] = begEndEntry(lines[i]);
    if (&lines != &m_keyBegEndLst)
        m_keyBegEndLst = lines;
}

void TColorRule::setKeyLineEndLst(const QStringList &lines)
{
    m_keyTable.fill(TKeyEntry());
    const qsizetype n = std::min<qsizetype>(lines.size(), KeyTableSize);
    for (qsizetype i = 0; i < n; ++i)
        m_keyTable[std::size_t(i)] = lineEndEntry(lines[i]);
    if (&lines != &m_keyLineEndLst)
        m_keyLineEndLst = lines;
}

// begin;end;colour. A missing or leading ";" leaves the entry empty.
TKeyEntry TColorRule::begEndEntry(QStringView line) const
{
    const qsizetype p = line.indexOf(u';');
    if (p < 1)
        return {};
    const QStringView rest = line.mid(p + 1);
    const qsizetype q = rest.indexOf(u';');
    const QStringView endKey = q < 0 ? rest : rest.left(q);
    const QStringView colorText = q < 0 ? QStringView() : rest.mid(q + 1);
    return {line.left(p).left(MaxKeyLength).toString(), endKey.left(MaxKeyLength).toString(), colorOf(colorText)};
}

// begin;colour. ";;colour" defines the key ";"; any other line whose only
// ";" leads, or that has none, is all key.
TKeyEntry TColorRule::lineEndEntry(QStringView line) const
{
    const qsizetype p = line.indexOf(u';');
    QStringView key = line;
    QStringView colorText;
    if (p >= 1) {
        key = line.left(p);
        colorText = line.mid(p + 1);
    } else if (p == 0 && line.size() > 1 && line[1] == u';') {
        key = line.left(1);
        colorText = line.mid(2);
    }
    return {key.left(MaxKeyLength).toString(), QString(), colorOf(colorText)};
}

ColorValue TColorRule::colorOf(QStringView colorText) const
{
    return isBlank(colorText) ? m_defKeyColor : ParseColorText(colorText);
}

QString TColorRule::keywordText(QStringView word) const
{
    QString text = word.left(MaxKeywordLength).toString();
    if (!m_keyCase)
        std::transform(text.begin(), text.end(), text.begin(), upperKeyChar);
    return text;
}

void TColorRule::Assign(const TColorRule &source)
{
    if (&source == this)
        return;
    m_keyDrawingType = source.m_keyDrawingType;
    m_zOrder = source.m_zOrder;
    m_keyMaxHeight = source.m_keyMaxHeight;
    m_keyCase = source.m_keyCase;
    m_enabled = source.m_enabled;
    m_partWord = source.m_partWord;
    m_defKeyColor = source.m_defKeyColor;
    m_keyBrushColor = source.m_keyBrushColor;
    setKeywords(source.m_keywords);
    setKeyLineEndLst(source.m_keyLineEndLst);
    setKeyBegEndLst(source.m_keyBegEndLst);
}

bool TColorRule::Compile()
{
    setKeyBegEndLst(m_keyBegEndLst);
    bool content = !m_keyBegEndLst.isEmpty();
    if (m_keyDrawingType == dtKeyShow) {
        setKeywords(m_keywords);
        content = content || !m_keywords.isEmpty();
    }
    if (m_keyDrawingType == dtBeginLineEnd) {
        setKeyLineEndLst(m_keyLineEndLst);
        content = content || !m_keyLineEndLst.isEmpty();
    }
    return content;
}

TColorRule &TDrawRules::Add()
{
    m_rules.push_back(std::make_unique<TColorRule>());
    return *m_rules.back();
}

void TDrawRules::ReparseRules()
{
    if (!m_needsParse) {
        m_needsParse = true;
        return;
    }
    bool content = false;
    for (const auto &rule : m_rules)
        content = rule->Compile() || content;
    m_needsParse = !content;
}

void TDrawRules::Assign(const TDrawRules &source)
{
    if (&source == this)
        return;
    m_rules.clear();
    for (const auto &rule : source.m_rules)
        Add().Assign(*rule);
    m_needsParse = true;
}

int TDrawRules::Scan(ScanContext &ctx, int r, QStringView text, int start, int limit)
{
    for (const auto &rule : m_rules) {
        if (rule->enabled())
            r = rule->Scan(ctx, r, text, start, limit);
    }
    return r;
}
