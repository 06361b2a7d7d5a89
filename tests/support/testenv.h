// Helpers shared by the test programs.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <ostream>

void PrintTo(const QString &text, std::ostream *os);
void PrintTo(const QByteArray &bytes, std::ostream *os);

// Whole-file helpers; a file that cannot be read gives "<unreadable>".
QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &bytes);

// File-system watches this process holds (the system allows each user only
// so many), and its open file descriptors.
int fileWatchCount();
int openFileCount();

// Points the settings store at a fresh registry file for one test and puts
// the previous one back afterwards.
class TempRegistry
{
public:
    TempRegistry();
    ~TempRegistry();
    TempRegistry(const TempRegistry &) = delete;
    TempRegistry &operator=(const TempRegistry &) = delete;

    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    QByteArray contents() const;
    void write(const QByteArray &contents) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
    QByteArray m_previous;
};

// Points the program folder at a fresh temporary folder for one test.
class TempProgramDir
{
public:
    TempProgramDir();
    ~TempProgramDir();
    TempProgramDir(const TempProgramDir &) = delete;
    TempProgramDir &operator=(const TempProgramDir &) = delete;

    QString path() const; // with a trailing separator
    void write(const QString &relativePath, const QByteArray &contents) const;

private:
    QTemporaryDir m_dir;
};

// Points the user's own data folder ($XDG_DATA_HOME) at a fresh temporary
// folder for one test and puts the previous one back afterwards.
class TempUserDataDir
{
public:
    TempUserDataDir();
    ~TempUserDataDir();
    TempUserDataDir(const TempUserDataDir &) = delete;
    TempUserDataDir &operator=(const TempUserDataDir &) = delete;

    QString path() const; // the program's folder in it, with a trailing separator
    void write(const QString &relativePath, const QByteArray &contents) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

// While it lives, the process acts as an unprivileged user, so that folder
// and file permissions apply even when the tests run as root.
class Unprivileged
{
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

private:
    bool m_switched = false;
};
