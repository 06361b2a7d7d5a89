/* The interface between the editor and its plug-ins.

   A plug-in is a shared library named NAME.mvp in the folder "PlugIn" of the
   program folder. The editor looks up three C functions by name:

     void PlugInName(unsigned char *result);
         The caption of the plug-in's item in the assistants menu, shown on
         one line (tabs and line breaks as blanks, past 60 characters cut
         with an ellipsis); when it is empty or blanks only, the item shows
         the library's file name.
     int32_t PlugInType(void);
         QP_TEXT_PLUGIN: the result of StartPlugIn is inserted into the active
         document before the selection (the editor asks for a document first).
         QP_ACTION_PLUGIN: runs with or without a document; its result is not
         used. Any other value: StartPlugIn is not called.
     void StartPlugIn(const char *documentPath, void *mainWindow, unsigned char *result);
         documentPath: the full path of the active document, zero-terminated,
         in the file system's encoding (UTF-8 on Linux); empty when there is
         no document or it was never saved.
         mainWindow: the editor's main window (a QWidget built against the
         editor's Qt); the editor expects it unchanged.

   The library is released after each call: whatever a plug-in leaves in the
   editor's objects must not point into it (no functions, classes or static
   texts of its own, such as a QStringLiteral, may stay behind).

   A result is a buffer of QP_RESULT_SIZE bytes that the editor provides,
   zeroed: byte 0 is the length (0 to 255), the characters follow in
   Windows-1252; a zero byte among them ends the text early. In the text of a
   text plug-in a degree sign (0xB0) stands for a line break.

   Without PlugInName a library gets no menu item; without PlugInType or
   StartPlugIn its item does nothing. The library is loaded for each call and
   released afterwards, so it keeps no state between runs. */
#ifndef QUIRTLE_PLUGIN_H
#define QUIRTLE_PLUGIN_H

#include <stdint.h>
#include <string.h>

#define QP_RESULT_SIZE 256
#define QP_TEXT_PLUGIN 1
#define QP_ACTION_PLUGIN 2

#if defined(_WIN32)
#define QP_EXPORT __declspec(dllexport)
#else
#define QP_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define QP_EXTERN_C extern "C"
#else
#define QP_EXTERN_C
#endif

typedef void (*QpPlugInName)(unsigned char *result);
typedef int32_t (*QpPlugInType)(void);
typedef void (*QpStartPlugIn)(const char *documentPath, void *mainWindow, unsigned char *result);

/* Puts a Windows-1252 text into a result buffer; longer texts are cut at 255. */
static inline void qp_set_result(unsigned char *result, const char *text)
{
    size_t length = strlen(text);
    if (length > 255)
        length = 255;
    result[0] = (unsigned char)length;
    memcpy(result + 1, text, length);
}

#endif
