#include "linediff.h"

#include <algorithm>
#include <vector>

namespace {

struct Edit {
    char kind; // ' ', '-' or '+'
    qsizetype expectedLine;
    qsizetype actualLine;
    QString text;
};

// The edit script of a longest common subsequence; fine for the sizes of test files.
std::vector<Edit> editScript(const QStringList &a, const QStringList &b)
{
    const qsizetype n = a.size(), m = b.size();
    std::vector<std::vector<int>> common(std::size_t(n + 1), std::vector<int>(std::size_t(m + 1), 0));
    for (qsizetype i = n - 1; i >= 0; --i)
        for (qsizetype j = m - 1; j >= 0; --j)
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    std::vector<Edit> script;
    qsizetype i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i] == b[j]) {
            script.push_back({' ', i, j, a[i]});
            ++i, ++j;
        } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            script.push_back({'-', i, j, a[i]});
            ++i;
        } else {
            script.push_back({'+', i, j, b[j]});
            ++j;
        }
    }
    return script;
}

} // namespace

QString lineDiff(const QStringList &expected, const QStringList &actual, int context)
{
    const std::vector<Edit> script = editScript(expected, actual);
    // Lines to show: every change and `context` lines around it.
    std::vector<bool> shown(script.size(), false);
    for (std::size_t k = 0; k < script.size(); ++k) {
        if (script[k].kind == ' ')
            continue;
        const std::size_t from = k >= std::size_t(context) ? k - std::size_t(context) : 0;
        for (std::size_t s = from; s < std::min(script.size(), k + std::size_t(context) + 1); ++s)
            shown[s] = true;
    }
    QString out;
    for (std::size_t k = 0; k < script.size(); ++k) {
        if (!shown[k])
            continue;
        if (k == 0 || !shown[k - 1])
            out += QStringLiteral("@@ expected line %1, actual line %2 @@\n").arg(script[k].expectedLine + 1).arg(script[k].actualLine + 1);
        out += QChar::fromLatin1(script[k].kind) + script[k].text + u'\n';
    }
    return out;
}
