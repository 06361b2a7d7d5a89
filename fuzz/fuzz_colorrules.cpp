// Input: one flag byte (mode, KeyCase, PartWord, layer), then four parts
// separated by NUL bytes: Keywords lines, KeyBegEndLst lines, KeyLineEndLst
// lines (lines split at '\n'), and the text. Every scan mode runs over random
// windows of the text and is compared with the reference scan; a broken
// invariant traps.
#include "editor/colorrules.h"
#include "editor/linescan.h"
#include "support/refscan.h"

#include <QHash>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

struct Random {
    std::uint64_t state;
    std::uint64_t next()
    {
        state += 0x9E3779B97F4A7C15u;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    int below(qsizetype n) { return n <= 0 ? 0 : int(next() % std::uint64_t(n)); }
    int any() { return int(std::uint32_t(next())); }
};

struct Input {
    std::uint8_t flags = 0;
    QStringList lists[3];
    QString text;
};

Input split(const std::uint8_t *data, std::size_t size)
{
    Input in;
    if (size == 0)
        return in;
    in.flags = data[0];
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QList<QByteArray> parts = rest.split('\0');
    for (qsizetype i = 0; i < 3 && i < parts.size(); ++i)
        in.lists[i] = QString::fromUtf8(parts[i]).split(u'\n');
    for (qsizetype i = 3; i < parts.size(); ++i)
        in.text += QString::fromUtf8(parts[i]) + (i + 1 < parts.size() ? QStringLiteral("\r\n") : QString());
    return in;
}

bool isKeyword(const TColorRule &rule, QStringView found)
{
    QString folded = found.toString();
    if (!rule.keyCase())
        std::transform(folded.begin(), folded.end(), folded.begin(), upperKeyChar);
    for (const auto &key : rule.keyPattern()) {
        if (key.word == folded)
            return true;
    }
    return false;
}

void checkRange(const TColorRule &rule, QStringView text, int start, const TKeyDescr &d)
{
    const TKeyDrawingType mode = rule.keyDrawingType();
    check(!d.isFree() && d.KeyStart >= 0 && d.KeyEnd < text.size());
    check(d.KeyEnd >= d.KeyStart || (mode == dtBeginLineEnd && d.KeyEnd == d.KeyStart - 1));
    check(d.IsKeyword == (mode == dtKeyShow ? 1 : 0));
    if (mode == dtEventDraw)
        return;
    check(d.KeyStart >= start && d.Layer == rule.zOrder());
    if (mode == dtKeyShow)
        check(isKeyword(rule, text.mid(d.KeyStart, d.KeyEnd - d.KeyStart + 1)));
}

void checkSpan(const ScanContext &ctx, int from, int to, QStringView text)
{
    const KeySpan &span = ctx.span;
    check(span.isEmpty() == (span.highest < 0));
    check(span.isEmpty() || (span.lowest <= span.highest && span.highest < text.size()));
    for (int i = from; i < to; ++i) {
        const TKeyDescr &d = ctx.ranges[std::size_t(i)];
        if (d.KeyEnd >= d.KeyStart)
            check(span.lowest <= d.KeyStart && d.KeyEnd <= span.highest);
    }
}

void checkAgainstReference(const TColorRule &rule, QStringView text, int start, const ScanContext &ctx, int from, int to)
{
    const auto expected = refscan::scanRule(rule, text, start);
    check(std::size_t(to - from) == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        check(ctx.ranges[std::size_t(from) + i] == expected[i]);
}

void installHandler(ScanContext &ctx, Random &random)
{
    ctx.colorLimMax = random.below(6);
    ctx.onDraw = [&random](TColorRule &, int, std::vector<TKeyDescr> &a, int &items) {
        for (TKeyDescr &d : a)
            d = {random.any() % 64, random.below(3) ? random.any() % 64 : random.any(), 0, std::uint8_t(random.below(3)), 0};
        items = random.below(a.size() + 3) - 1;
        if (random.below(4) == 0)
            a.resize(std::size_t(random.below(a.size() + 1)));
    };
}

void scanWindow(TColorRule &rule, const QString &text, Random &random, bool whole)
{
    const int start = whole ? 0 : random.below(text.size() + 2) - 1;
    const int limit = whole ? int(text.size()) : random.below(text.size() + 3) - 1;
    ScanContext ctx;
    ctx.ranges.resize(std::size_t(random.below(4)), TKeyDescr{1, 0, 0, 0, 0});
    installHandler(ctx, random);
    const int r0 = random.below(ctx.ranges.size() + 3);
    const int from = std::min(r0, int(ctx.ranges.size()));
    const int r = rule.Scan(ctx, r0, text, start, limit);
    check(r >= from && std::size_t(r) <= ctx.ranges.size());

    const QStringView view = QStringView(text).left(std::clamp<qsizetype>(limit, 0, text.size()));
    const int clampedStart = int(std::clamp<qsizetype>(start, 0, view.size()));
    for (int i = from; i < r; ++i)
        checkRange(rule, view, clampedStart, ctx.ranges[std::size_t(i)]);
    checkSpan(ctx, from, r, view);
    if (rule.keyDrawingType() != dtEventDraw)
        checkAgainstReference(rule, view, clampedStart, ctx, from, r);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Input in = split(data, size);
    TDrawRules rules;
    TColorRule &rule = rules.Add();
    rule.setKeyDrawingType(TKeyDrawingType(in.flags & 3));
    rule.setKeyCase(in.flags & 4);
    rule.setPartWord(in.flags & 8);
    rule.setZOrder(std::uint8_t(in.flags >> 4));
    rule.keywordsRef() = in.lists[0];
    rule.keyBegEndLstRef() = in.lists[1];
    rule.keyLineEndLstRef() = in.lists[2];
    rules.ReparseRules();

    Random random{qHashBits(data, size)};
    for (int mode = 0; mode < 4; ++mode) {
        rule.setKeyDrawingType(TKeyDrawingType((in.flags + mode) & 3));
        rule.Compile();
        for (int round = 0; round < 5; ++round)
            scanWindow(rule, in.text, random, round == 0);
    }
    // The fast key search of the line scanner must find what indexOf finds.
    for (const TKeyEntry &entry : rule.keyTable()) {
        for (const QString &key : {entry.BeginKey, entry.EndKey}) {
            if (key.isEmpty())
                continue;
            const qsizetype from = random.below(in.text.size() + 2);
            check(linescan::findKey(in.text, key, from) == QStringView(in.text).indexOf(key, from));
        }
    }
    return 0;
}
