// Colour rules of the colouring editor: their three definition lists, the
// tables compiled from them and the scans that turn a text into found ranges.
// Window-free: the editor control owns a TDrawRules, compiles it when a rule
// was touched and turns the compiled rules into the line scanner's snapshot,
// which colours lines as they are laid out (not at every paint).
#pragma once

#include "platform/colorvalue.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum TKeyDrawingType : std::uint8_t {
    dtKeyShow = 0,      // keywords
    dtEventDraw = 1,    // ranges supplied by the OnDraw handler
    dtBeginEnd = 2,     // from a begin key to an end key
    dtBeginLineEnd = 3, // from a begin key to the end of its line
};

// One found range. Positions index the whole text, in which a line break is
// the two characters CR LF.
struct TKeyDescr {
    static constexpr int FreeKeyStart = 2147483647;

    int KeyStart = 0;
    int KeyEnd = 0; // last character, inclusive
    ColorValue KeyColor = 0;
    std::uint8_t Layer = 0; // a rule's ZOrder (0..251) or the control's own 252..255
    std::uint8_t IsKeyword = 0;

    bool isFree() const { return KeyStart == FreeKeyStart; }
    friend bool operator==(const TKeyDescr &, const TKeyDescr &) = default;
};

struct TKeyEntry {
    QString BeginKey; // empty ends the table for scanning
    QString EndKey;   // empty for line-end entries
    ColorValue Color = 0;
};

// Lowest KeyStart and highest KeyEnd of the ranges stored in one pass; -1/-1
// when none. Ranges that cover no character (KeyEnd < KeyStart) do not widen it.
struct KeySpan {
    int lowest = -1;
    int highest = -1;

    bool isEmpty() const { return lowest < 0; }
    void widen(const TKeyDescr &range);
};

class TColorRule;

// Supplies ranges for dtEventDraw rules: the handler fills the first itemsCount
// records of a (positions relative to fromPos; Layer 0 means the rule's ZOrder).
using TDrawEvent = std::function<void(TColorRule &sender, int fromPos, std::vector<TKeyDescr> &a, int &itemsCount)>;

// What the scans of one colouring pass share. Records are reused from pass to
// pass, so the list only grows.
struct ScanContext {
    std::vector<TKeyDescr> ranges;
    KeySpan span;
    TDrawEvent onDraw;
    int colorLimMax = 0; // records handed to onDraw; 0 disables dtEventDraw rules
    std::vector<TKeyDescr> drawScratch;

    // Marks every record free and empties the span.
    void beginPass();
    // Stores at r (reusing the record there or appending; r is clamped to the
    // list's size), widens the span and returns the next free index.
    int store(int r, const TKeyDescr &range);
    void markFree(int r);
};

// Colour text to colour: one of the 16 HTML colour names, or a hexadecimal
// RRGGBB with an optional "#" or "$"; anything else gives white.
ColorValue ParseColorText(QStringView text);

// Keywords and the text they are searched in are compared through this
// one-to-one mapping, so positions in the upper-case copy are text positions.
inline QChar upperKeyChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return QChar(u >= u'a' && u <= u'z' ? char16_t(u - 32) : u);
    return c.toUpper();
}

class TColorRule
{
public:
    static constexpr int KeyTableSize = 40;
    static constexpr int MaxKeyLength = 6;
    static constexpr int MaxKeywordLength = 30;

    struct KeyPatternItem {
        QString word; // upper case unless KeyCase was set when compiled
        ColorValue color = 0;
    };
    using KeyTable = std::array<TKeyEntry, KeyTableSize>;

    std::uint8_t zOrder() const { return m_zOrder; }
    void setZOrder(std::uint8_t layer) { m_zOrder = layer; }
    const QString &intChar() const { return m_intChar; }
    void setIntChar(const QString &text) { m_intChar = text; }
    int keyMaxHeight() const { return m_keyMaxHeight; }
    void setKeyMaxHeight(int lines) { m_keyMaxHeight = lines; }
    TKeyDrawingType keyDrawingType() const { return m_keyDrawingType; }
    void setKeyDrawingType(TKeyDrawingType type) { m_keyDrawingType = type; }
    bool keyCase() const { return m_keyCase; }
    void setKeyCase(bool on) { m_keyCase = on; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }
    bool partWord() const { return m_partWord; }
    void setPartWord(bool on) { m_partWord = on; }
    ColorValue defKeyColor() const { return m_defKeyColor; }
    void setDefKeyColor(ColorValue c) { m_defKeyColor = c; }
    ColorValue keySelColor() const { return m_keySelColor; }
    void setKeySelColor(ColorValue c) { m_keySelColor = c; }
    ColorValue keyBrushColor() const { return m_keyBrushColor; }
    void setKeyBrushColor(ColorValue c) { m_keyBrushColor = c; }

    // The setters compile the list, then keep a copy of it. Lines added through
    // the Ref accessors are compiled by the next Compile().
    const QStringList &keywords() const { return m_keywords; }
    void setKeywords(const QStringList &lines);
    QStringList &keywordsRef() { return m_keywords; }
    const QStringList &keyBegEndLst() const { return m_keyBegEndLst; }
    void setKeyBegEndLst(const QStringList &lines);
    QStringList &keyBegEndLstRef() { return m_keyBegEndLst; }
    const QStringList &keyLineEndLst() const { return m_keyLineEndLst; }
    void setKeyLineEndLst(const QStringList &lines);
    QStringList &keyLineEndLstRef() { return m_keyLineEndLst; }

    // Filled by KeyBegEndLst or KeyLineEndLst, whichever was compiled last.
    const KeyTable &keyTable() const { return m_keyTable; }
    const std::vector<KeyPatternItem> &keyPattern() const { return m_keyPattern; }

    // Copies everything but IntChar and KeySelColor; the lists go through
    // their setters (Keywords, KeyLineEndLst, KeyBegEndLst).
    void Assign(const TColorRule &source);
    // Recompiles the rule's own lists that its mode uses; true when one of
    // them has lines.
    bool Compile();

    // Stores the rule's ranges in text[start, limit) at ctx.ranges[r...] and
    // returns the next free index (r is clamped to the list's size). The text
    // is treated as ending at limit; every stored range lies inside it.
    int Scan(ScanContext &ctx, int r, QStringView text, int start, int limit);

private:
    TKeyEntry begEndEntry(QStringView line) const;
    TKeyEntry lineEndEntry(QStringView line) const;
    ColorValue colorOf(QStringView colorText) const;
    QString keywordText(QStringView word) const;

    int activeEntryCount() const;
    int scanKeyTable(ScanContext &ctx, int r, QStringView text, int start, bool toLineEnd);
    int scanKeywords(ScanContext &ctx, int r, QStringView text, int start);
    int scanKeyword(ScanContext &ctx, int r, QStringView text, QStringView haystack, int base, const KeyPatternItem &key) const;
    int scanEventDraw(ScanContext &ctx, int r, QStringView text, int start);
    QStringView upperCopy(QStringView text);

    std::uint8_t m_zOrder = 0;
    QString m_intChar;
    QStringList m_keywords;
    QStringList m_keyBegEndLst;
    QStringList m_keyLineEndLst;
    int m_keyMaxHeight = 1;
    TKeyDrawingType m_keyDrawingType = dtBeginEnd;
    bool m_keyCase = false;
    bool m_enabled = true;
    bool m_partWord = false;
    ColorValue m_defKeyColor = colors::clRed;
    ColorValue m_keySelColor = colors::clYellow;
    ColorValue m_keyBrushColor = colors::clWindow;

    KeyTable m_keyTable;
    std::vector<KeyPatternItem> m_keyPattern;
    QString m_upper; // grows only; its size is the allocated length
};

class TDrawRules
{
public:
    TColorRule &Add();
    TColorRule &Items(int i) { return *m_rules.at(std::size_t(i)); }
    const TColorRule &Items(int i) const { return *m_rules.at(std::size_t(i)); }
    int count() const { return int(m_rules.size()); }

    bool NeedsParse() const { return m_needsParse; }
    void setNeedsParse(bool on) { m_needsParse = on; }

    // Compiles all rules when NeedsParse is set (which then stays set only
    // while no rule has content), otherwise just sets it. The editor calls it
    // once a rule was touched, with NeedsParse set.
    void ReparseRules();
    // Replaces the rules by copies of the source's rules.
    void Assign(const TDrawRules &source);
    // Scans every enabled rule in order, as TColorRule::Scan.
    int Scan(ScanContext &ctx, int r, QStringView text, int start, int limit);

private:
    // Behind pointers so that references from Add() stay valid.
    std::vector<std::unique_ptr<TColorRule>> m_rules;
    bool m_needsParse = true;
};
