#pragma once
// Opening documents with the program the desktop associates with them, and starting programs.

#include <QString>
#include <QStringList>

namespace lumora::platform {

enum class ShellResult { Opened, NotFound, Failed };

class Shell {
  public:
    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    virtual ~Shell() = default;
    // Opens the file; NotFound when it does not exist (told apart from every other failure).
    virtual ShellResult open(const QString& path) = 0;
    // Opens `file` with `directory` as the working folder of the program that opens it (a relative
    // file is taken from that folder; an empty directory is the current folder). NotFound unless
    // that names a file: an empty name (a shortcut whose target could not be read) or a folder is
    // nothing to open. By default the resolved path is opened.
    virtual ShellResult openIn(const QString& directory, const QString& file);
    // The file `openIn` opens: `file` taken from `directory` (the current folder when empty); ""
    // when that is no file.
    static QString fileIn(const QString& directory, const QString& file);
    // Whether the desktop has a program that opens the file (a help file of a format nothing on
    // this system reads is better not handed over). By default: the file exists.
    virtual bool canOpen(const QString& path);
    // Starts a program detached, in its own folder; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& args = {}) = 0;
};

} // namespace lumora::platform
