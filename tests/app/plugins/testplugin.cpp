// One source for the plug-ins of the host's tests; each build picks its
// caption, kind, exports and behaviour with definitions:
//   TP_CAPTION "text"  (Windows-1252; without it there is no PlugInName)
//   TP_KIND n          (without it there is no PlugInType)
//   TP_NO_START        (no StartPlugIn)
//   TP_RESULT "text"   (what StartPlugIn returns; default: echo the path)
//   TP_THROW           (StartPlugIn throws, with TP_THROW_TEXT if given)
//   TP_NAME_THROW      (PlugInName throws)
//   TP_FULL            (StartPlugIn writes 255 characters and, past the
//                       256 bytes, the zero of a C string)
//   TP_EVENTS          (StartPlugIn lets the editor's events run, as a
//                       plug-in with a dialog does; needs Qt Core)
// Every start leaves its path and window in the environment for the test.
#include "quirtleplugin.h"

#ifdef TP_EVENTS
#include <QCoreApplication>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#ifndef TP_THROW_TEXT
#define TP_THROW_TEXT "Testfehler im Assistenten"
#endif

#ifdef TP_CAPTION
QP_EXTERN_C QP_EXPORT void PlugInName(unsigned char *result)
{
#ifdef TP_NAME_THROW
    throw std::runtime_error("kein Name");
#endif
    qp_set_result(result, TP_CAPTION);
}
#endif

#ifdef TP_KIND
QP_EXTERN_C QP_EXPORT int32_t PlugInType(void)
{
    return TP_KIND;
}
#endif

#ifndef TP_NO_START
QP_EXTERN_C QP_EXPORT void StartPlugIn(const char *documentPath, void *mainWindow, unsigned char *result)
{
    char window[32];
    std::snprintf(window, sizeof window, "%p", mainWindow);
    setenv("QUIRTLE_TEST_PLUGIN_PATH", documentPath, 1);
    setenv("QUIRTLE_TEST_PLUGIN_WINDOW", window, 1);
#ifdef TP_EVENTS
    QCoreApplication::processEvents();
#endif
#ifdef TP_THROW
    (void)result;
    throw std::runtime_error(TP_THROW_TEXT);
#elif defined(TP_FULL)
    char text[300];
    std::memset(text, 'x', sizeof text - 1);
    text[sizeof text - 1] = '\0';
    result[0] = 255;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-truncation" // cut on purpose
    std::snprintf(reinterpret_cast<char *>(result) + 1, QP_RESULT_SIZE, "%s", text);
#pragma GCC diagnostic pop
#elif defined(TP_RESULT)
    qp_set_result(result, TP_RESULT);
#else
    qp_set_result(result, documentPath);
#endif
}
#endif
