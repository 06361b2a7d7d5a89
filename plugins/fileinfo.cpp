// Text plug-in: inserts an HTML comment with the saved file's name, size and
// date, e.g. "<!-- index.html, 2.417 Bytes, gespeichert am 08.12.2026 14:05 -->".
#include "quirtleplugin.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

// The path arrives in UTF-8; the result is Windows-1252. Latin-1 characters
// keep their code, others become '?'. A degree sign, which the editor takes
// for a line break in a result, is written as its entity.
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
        else
            out += code < 0x80 || (code >= 0xA0 && code <= 0xFF) ? static_cast<char>(code) : '?';
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
