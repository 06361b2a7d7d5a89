// Text plug-in: inserts the current date and time, as "08.12.2026 14:05".
#include "quirtleplugin.h"

#include <ctime>

QP_EXTERN_C QP_EXPORT void PlugInName(unsigned char *result)
{
    qp_set_result(result, "Datum und Uhrzeit einf\xFCgen");
}

QP_EXTERN_C QP_EXPORT int32_t PlugInType(void)
{
    return QP_TEXT_PLUGIN;
}

QP_EXTERN_C QP_EXPORT void StartPlugIn(const char *, void *, unsigned char *result)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
    qp_set_result(result, text);
}
