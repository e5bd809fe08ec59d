#include "cli/cli.h"

#include "session/datapath.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    QString text = QStringLiteral("usage: lumora-cli [--data DIR] COMMAND [ARGS]\ncommands:\n");
    for (const auto& [name, entry] : commands())
        text += QStringLiteral("  ") + entry.usage + QLatin1Char('\n');
    return text;
}
} // namespace

int usageError(const QString& message) {
    if (!message.isEmpty()) fail(message);
    const QByteArray u = usageText().toUtf8();
    std::fwrite(u.constData(), 1, static_cast<size_t>(u.size()), stderr);
    return kUsage;
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
    const qsizetype at = m_args.indexOf(name);
    if (at < 0) return false;
    m_args.removeAt(at);
    return true;
}

std::optional<QString> Invocation::takeOption(const QString& name, bool* missingValue) {
    if (missingValue) *missingValue = false;
    const qsizetype at = m_args.indexOf(name);
    if (at < 0) return std::nullopt;
    if (at + 1 >= m_args.size()) {
        if (missingValue) *missingValue = true;
        m_args.removeAt(at);
        return std::nullopt;
    }
    QString value = m_args.at(at + 1);
    m_args.remove(at, 2);
    return value;
}

int run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    std::optional<QString> data;
    while (!args.isEmpty() && args.first().startsWith(QStringLiteral("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QStringLiteral("--data")) {
            if (args.isEmpty()) return usageError(QStringLiteral("--data needs a folder"));
            data = args.takeFirst();
        } else if (opt == QStringLiteral("--help")) {
            const QByteArray u = usageText().toUtf8();
            writeOut(u);
            return kOk;
        } else {
            return usageError(QStringLiteral("unknown option ") + opt);
        }
    }
    if (args.isEmpty()) return usageError(QStringLiteral("no command given"));
    const QString name = args.takeFirst();
    const auto it = commands().find(name);
    if (it == commands().end()) return usageError(QStringLiteral("unknown command ") + name);
    Invocation inv(std::move(data), std::move(args));
    const int rc = it->second.run(inv);
    std::fflush(stdout);
    return rc;
}

} // namespace lumora::cli
