#include "cli/cli.h"

#include "session/datapath.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <map>

namespace lumora::cli {

namespace {
struct Entry {
    QString usage;
    Command run;
};
std::map<QString, Entry>& commands() {
    static std::map<QString, Entry> table;
    return table;
}
} // namespace

Registrar::Registrar(const char* name, const char* usage, Command run) {
    commands()[QString::fromUtf8(name)] = Entry{QString::fromUtf8(usage), std::move(run)};
}

void writeOut(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void writeLine(const QString& text) {
    writeOut(text.toUtf8() + '\n');
}

void fail(const QString& message) {
    const QByteArray line = "lumora-cli: " + message.toUtf8() + "\n";
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
}

namespace {
QString usageText() {
    QString text =
        QStringLiteral("usage: lumora-cli [--data DIR] COMMAND [ARGS]\n"
                       "       lumora-cli --help | --version\n"
                       "Reads and edits a Lumora data folder with the same code as the program.\n"
                       "options:\n"
                       "  --data DIR  the data folder (default: the one the program opens)\n"
                       "  --help      this text; COMMAND --help shows the usage of one command\n"
                       "  --version   the program's name and version\n"
                       "  --          ends the options: the words after it are arguments as they stand\n"
                       "              (lumora-cli search -- --word)\n"
                       "commands:\n");
    for (const auto& [name, entry] : commands())
        text += QStringLiteral("  ") + entry.usage + QLatin1Char('\n');
    return text;
}

// "[--version" -> "--version"; "CODE]" -> "CODE".
QString bare(QString word) {
    word.remove(QLatin1Char('['));
    word.remove(QLatin1Char(']'));
    return word;
}

// A value's name in a usage line: CODE, FILE, BOOK:CHAPTER,...
bool isPlaceholder(const QString& word) {
    if (word.isEmpty() || !word.at(0).isUpper()) return false;
    for (const QChar c : word)
        if (!c.isUpper() && c != QLatin1Char(':') && c != QLatin1Char(',') && c != QLatin1Char('.'))
            return false;
    return true;
}

struct CommandWords {
    std::vector<Invocation::Option> options;
    QStringList args;
    bool help = false;
    QString error;
};

CommandWords splitWords(const QStringList& words, const CommandOptions& options) {
    CommandWords out;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (word == QLatin1String("--")) {
            out.args += words.mid(i + 1);
            break;
        }
        if (!word.startsWith(QLatin1String("--"))) {
            out.args.append(word);
            continue;
        }
        const qsizetype eq = word.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? word : word.left(eq);
        const auto given = [&](const Invocation::Option& o) { return o.name == name; };
        if (std::any_of(out.options.begin(), out.options.end(), given)) {
            out.error = name + QStringLiteral(" is given twice");
            return out;
        }
        if (name == QLatin1String("--help")) {
            out.help = true;
        } else if (options.flags.contains(name)) {
            if (eq >= 0) {
                out.error = name + QStringLiteral(" takes no value");
                return out;
            }
            out.options.push_back({name, std::nullopt});
        } else if (options.valued.contains(name)) {
            std::optional<QString> value;
            if (eq >= 0)
                value = word.mid(eq + 1);
            else if (i + 1 < words.size() && words.at(i + 1) != QLatin1String("--"))
                value = words.at(++i);
            out.options.push_back({name, value});
        } else {
            out.error =
                QStringLiteral("unknown option %1 (put -- before an argument that begins with -)").arg(name);
            return out;
        }
    }
    return out;
}
} // namespace

CommandOptions optionsOf(const QString& usage) {
    const QStringList words = usage.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    CommandOptions options;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString name = bare(words.at(i));
        if (!name.startsWith(QLatin1String("--")) || name.size() < 3) continue;
        const bool closed = words.at(i).endsWith(QLatin1Char(']'));
        const bool valued = !closed && i + 1 < words.size() && isPlaceholder(bare(words.at(i + 1)));
        QStringList& list = valued ? options.valued : options.flags;
        if (!list.contains(name)) list.append(name);
    }
    return options;
}

int usageError(const QString& message) {
    if (!message.isEmpty()) fail(message);
    const QByteArray u = usageText().toUtf8();
    std::fwrite(u.constData(), 1, static_cast<size_t>(u.size()), stderr);
    return kUsage;
}

QString Invocation::dataFolderToFill() {
    if (!m_dataOption) return dataFolder();
    const QString data = QFileInfo(*m_dataOption).absoluteFilePath();
    if (!QFileInfo(data).isDir()) {
        fail(QStringLiteral("data folder does not exist: ") + *m_dataOption);
        return {};
    }
    return data;
}

QString Invocation::dataFolder() {
    if (m_dataOption) {
        if (!session::isUsableDataFolder(*m_dataOption)) {
            fail(QStringLiteral("data folder cannot be used (no file in its Bible folder): ") +
                 *m_dataOption);
            return {};
        }
        return QFileInfo(*m_dataOption).absoluteFilePath();
    }
    const QString found = session::ResolveDataPath(session::defaultLocations());
    if (found.isEmpty()) fail(QStringLiteral("no usable data folder; give one with --data DIR"));
    return found;
}

bool Invocation::takeFlag(const QString& name) {
    const auto it =
        std::find_if(m_options.begin(), m_options.end(), [&](const Option& o) { return o.name == name; });
    if (it == m_options.end()) return false;
    m_options.erase(it);
    return true;
}

std::optional<QString> Invocation::takeOption(const QString& name, bool* missingValue) {
    if (missingValue) *missingValue = false;
    const auto it =
        std::find_if(m_options.begin(), m_options.end(), [&](const Option& o) { return o.name == name; });
    if (it == m_options.end()) return std::nullopt;
    const std::optional<QString> value = it->value;
    m_options.erase(it);
    if (!value && missingValue) *missingValue = true;
    return value;
}

int run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    std::optional<QString> data;
    bool optionsEnded = false;
    while (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')) &&
           args.first() != QLatin1String("-")) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--")) {
            optionsEnded = true;
            break;
        }
        if (opt == QLatin1String("--data")) {
            if (args.isEmpty()) return usageError(QStringLiteral("--data needs a folder"));
            data = args.takeFirst();
        } else if (opt.startsWith(QLatin1String("--data="))) {
            data = opt.mid(7);
        } else if (opt == QLatin1String("--help") || opt == QLatin1String("-h")) {
            writeOut(usageText().toUtf8());
            return kOk;
        } else if (opt == QLatin1String("--version")) {
            writeOut("lumora-cli (Lumora) " LUMORA_VERSION "\n");
            return kOk;
        } else {
            return usageError(QStringLiteral("unknown option ") + opt);
        }
    }
    if (data && data->isEmpty()) return usageError(QStringLiteral("--data needs a folder"));
    if (args.isEmpty()) return usageError(QStringLiteral("no command given"));
    const QString name = args.takeFirst();
    const auto it = commands().find(name);
    if (it == commands().end()) return usageError(QStringLiteral("unknown command ") + name);
    CommandWords words;
    if (optionsEnded)
        words.args = args;
    else
        words = splitWords(args, optionsOf(it->second.usage));
    if (!words.error.isEmpty()) return usageError(name + QStringLiteral(": ") + words.error);
    if (words.help) {
        writeLine(QStringLiteral("usage: lumora-cli [--data DIR] ") + it->second.usage);
        return kOk;
    }
    Invocation inv(std::move(data), std::move(words.options), std::move(words.args));
    const int rc = it->second.run(inv);
    std::fflush(stdout);
    return rc;
}

} // namespace lumora::cli
