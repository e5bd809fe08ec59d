#pragma once
// lumora-cli: commands over the same core code as the program.
//
// Each command lives in its own file and registers itself with a static Registrar, so adding a
// command touches no other file. Exit codes: 0 done, 1 a failure worth one line on stderr
// (unknown version, unusable data folder...), 2 bad usage.
//
// The options a command accepts are read from its usage line: "[--json]" is a flag, "[--version
// CODE]" or "--code CODE" takes a value (also written "--code=CODE"). Before a "--" argument, any
// other word that begins with "--" is refused as an unknown option; after it every word is an
// argument as it stands, so `search -- --json` searches "--json".

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace lumora::cli {

inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

class Invocation final {
  public:
    // An option as given: its name and, for one that takes a value, the value (nullopt when the
    // command line ended before it).
    struct Option {
        QString name;
        std::optional<QString> value;
    };
    // `args`: the words after the command name that are not options.
    Invocation(std::optional<QString> dataOption, std::vector<Option> options, QStringList args)
        : m_dataOption(std::move(dataOption)), m_options(std::move(options)), m_args(std::move(args)) {}

    // The arguments after the command name, without its options.
    QStringList& args() { return m_args; }
    // The data folder given with --data, else the one the program would use. Empty when none is
    // usable (an error line has then been printed).
    QString dataFolder();
    bool hasDataOption() const { return m_dataOption.has_value(); }
    // The --data value as given, unchecked (for commands that create a data folder).
    std::optional<QString> dataOptionValue() const { return m_dataOption; }
    // The folder an import writes into: --data as an absolute path, which must exist but need not
    // hold a Bible yet, else the remembered data folder. "" (one line said) when there is none.
    QString dataFolderToFill();

    // Removes "--name" from the arguments; true when it was there.
    bool takeFlag(const QString& name);
    // Removes "--name VALUE"; nullopt when absent. `missingValue` is set when the value is missing.
    std::optional<QString> takeOption(const QString& name, bool* missingValue = nullptr);

  private:
    std::optional<QString> m_dataOption;
    std::vector<Option> m_options;
    QStringList m_args;
};

using Command = std::function<int(Invocation&)>;

struct Registrar {
    Registrar(const char* name, const char* usage, Command run);
};

// What the usage line of a command says it accepts.
struct CommandOptions {
    QStringList flags;  // "--json"
    QStringList valued; // "--version"
};
// "search [--version CODE] [--json] TEXT" -> flags {"--json"}, valued {"--version"}.
CommandOptions optionsOf(const QString& usage);

// Byte-exact output to stdout, and one-line messages to stderr.
void writeOut(const QByteArray& bytes);
void writeLine(const QString& text);    // UTF-8 + "\n" to stdout
void fail(const QString& message);      // "lumora-cli: " + message + "\n" to stderr
int usageError(const QString& message); // prints the message and the usage, returns kUsage

int run(int argc, char** argv);

} // namespace lumora::cli
