// Text plug-in: inserts an HTML comment with the saved file's name, size and
// date, e.g. "<!-- index.html, 2.417 Bytes, gespeichert am 08.12.2026 14:05 -->".
#include "quirtleplugin.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

// The characters Windows-1252 puts at 0x80 to 0x9F (0 where it has none):
// a name with a euro sign, a dash or German quotes keeps them.
constexpr unsigned kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char cp1252Byte(unsigned code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (unsigned i = 0; i < 32; ++i)
        if (code >= 0x100 && kCp1252High[i] == code)
            return static_cast<char>(0x80 + i);
    return '?';
}

// The path arrives in UTF-8; the result is Windows-1252. Characters it cannot
// hold become '?'. A degree sign, which the editor takes for a line break in
// a result, is written as its entity, and so is a hyphen after a hyphen: "--"
// may not stand in a comment, and "-->" in a name would end it early.
std::string toCp1252(const char *utf8)
{
    std::string out;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(utf8); *p;) {
        unsigned code = *p;
        int extra = code >= 0xF0 ? 3 : code >= 0xE0 ? 2 : code >= 0xC0 ? 1 : 0;
        if (extra)
            code &= 0x3F >> extra;
        ++p;
        for (; extra > 0 && (*p & 0xC0) == 0x80; --extra, ++p)
            code = (code << 6) | (*p & 0x3F);
        if (code == 0xB0)
            out += "&deg;";
        else if (code == '-' && !out.empty() && out.back() == '-')
            out += "&#45;";
        else
            out += cp1252Byte(code);
    }
    return out;
}

// 1234567 -> "1.234.567", as German texts group thousands.
std::string grouped(long long value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ".");
    return digits;
}

} // namespace

QP_EXTERN_C QP_EXPORT void PlugInName(unsigned char *result)
{
    qp_set_result(result, "Dateiinfo als Kommentar");
}

QP_EXTERN_C QP_EXPORT int32_t PlugInType(void)
{
    return QP_TEXT_PLUGIN;
}

QP_EXTERN_C QP_EXPORT void StartPlugIn(const char *documentPath, void *, unsigned char *result)
{
    struct stat info {
    };
    if (documentPath[0] == '\0' || stat(documentPath, &info) != 0) {
        qp_set_result(result, "<!-- Dokument noch nicht gespeichert -->");
        return;
    }
    const char *slash = std::strrchr(documentPath, '/');
    const std::string name = toCp1252(slash ? slash + 1 : documentPath);
    std::tm local{};
    localtime_r(&info.st_mtime, &local);
    char date[32];
    std::strftime(date, sizeof date, "%d.%m.%Y %H:%M", &local);
    const std::string text =
        "<!-- " + name + ", " + grouped(static_cast<long long>(info.st_size)) + " Bytes, gespeichert am " + date + " -->";
    // Over-long names are shortened in the middle so the comment stays closed.
    if (text.size() > 255) {
        const std::string tail = text.substr(text.size() - 120);
        qp_set_result(result, (text.substr(0, 255 - 3 - tail.size()) + "..." + tail).c_str());
        return;
    }
    qp_set_result(result, text.c_str());
}
