#pragma once
// Runs lumora-cli as a separate process, the way people use it.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace lumora::testing {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline CliResult runCli(const QStringList& args,
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                        int timeoutMs = 300000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(LUMORA_CLI_PATH), args);
    CliResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace lumora::testing
