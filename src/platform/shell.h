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
    // Starts a program detached; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& args = {}) = 0;
};

} // namespace lumora::platform
