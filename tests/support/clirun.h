#pragma once
// Runs lumora-cli, or another program the tests need, as a separate process.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace lumora::testing {

struct CliResult {
    int exitCode = -1; // -1: did not finish, or crashed
    QByteArray out;
    QByteArray err;
};

inline CliResult runProgram(const QString& program, const QStringList& args,
                            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                            int timeoutMs = 300000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
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

// lumora-cli the way people use it.
inline CliResult runCli(const QStringList& args,
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                        int timeoutMs = 300000) {
    return runProgram(QStringLiteral(LUMORA_CLI_PATH), args, env, timeoutMs);
}

} // namespace lumora::testing
