// A shared library loaded by its absolute path for the length of one call,
// never through the system's library search path.
#pragma once

#include <QString>

class DynamicLibrary
{
public:
    // Loads the file at this absolute path; a relative path is refused so
    // that no search path can pick another file of the same name.
    explicit DynamicLibrary(const QString &absolutePath);
    ~DynamicLibrary(); // releases the library
    DynamicLibrary(const DynamicLibrary &) = delete;
    DynamicLibrary &operator=(const DynamicLibrary &) = delete;

    bool isLoaded() const { return m_handle != nullptr; }
    // The address of an exported function, or nullptr when it is missing.
    void *symbol(const char *name) const;
    // Why the library did not load, in the user's language.
    QString errorText() const { return m_error; }

    // The loader's own report is English: this names its cause in the
    // user's language, with the missing library or function it names.
    static QString describeLoaderError(const QString &loaderText, const QString &absolutePath);

private:
    void *m_handle = nullptr;
    QString m_error;
};
