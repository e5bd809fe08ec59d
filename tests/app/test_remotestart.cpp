// `lumora --remote` on a projector computer started unattended: the real program, its pages'
// addresses and PIN on standard output, and a device that pairs with that PIN.

#include "httpask.h"
#include "remote/devicestore.h"
#include "support/biblefixture.h"
#include "support/clirun.h"
#include "support/psalm23.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace lumora::testing {

TEST(RemoteStart, theProgramStartsWithTheServerOn_printsItsPagesAndPin_andPairsWithIt) {
    TempFolder data, config;
    writeFixtureVersion(data.path(), "KJV", psalm23Books(), psalm23Options());
    writeBytes(data.path() + "/Bible/Version.txt", "KJV - King James Version\r\n");
    writeBytes(config.path() + "/LMR/Lumora.path", QFile::encodeName(data.path()) + "\r\n");
    // this machine only: the test's server is never on the network
    remote::DeviceStore store(config.path() + "/LMR/Lumora.remote");
    ASSERT_TRUE(store.setSettings({4320, QStringLiteral("127.0.0.1"), false}));
    // A free port may be taken by a test running beside this one before the program binds it:
    // then the program says so and another port is tried.
    quint16 port = 0;
    QProcess program;
    QByteArray out, err;
    for (int attempt = 0; attempt < 3 && !out.contains("PIN:"); ++attempt) {
        program.kill();
        program.waitForFinished();
        port = freePort();
        ASSERT_NE(port, 0);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(LUMORA_APP_PATH),
                      {"--no-splash", "--muted", "--remote-port", QString::number(port)});
        ASSERT_TRUE(program.waitForStarted());
        out.clear();
        err.clear();
        QElapsedTimer t;
        t.start();
        while (!out.contains("PIN:") && !err.contains("already in use") && t.elapsed() < 30000 &&
               program.state() == QProcess::Running) {
            program.waitForReadyRead(200);
            out += program.readAllStandardOutput();
            err += program.readAllStandardError();
        }
    }
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(port);
    const QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << out.constData() << err.constData();
    EXPECT_EQ(lines.at(0), "Remote: " + base + "/");
    EXPECT_EQ(lines.at(1), "Stage:  " + base + "/stage");
    EXPECT_EQ(lines.at(2), "Live:   " + base + "/live");
    const QString pin = lines.at(3).section(' ', -1);
    EXPECT_EQ(pin.size(), 6);

    QNetworkAccessManager nam;
    const QJsonObject paired =
        askServer(nam, "POST", base + "/api/pair", "{\"pin\":\"" + pin.toLatin1() + "\",\"role\":\"view\"}");
    const QByteArray token = paired.value("token").toString().toLatin1();
    ASSERT_FALSE(token.isEmpty());
    const QJsonObject now = askServer(nam, "GET", base + "/api/now", {}, token);
    EXPECT_FALSE(now.value("passage").toObject().value("heading").toString().isEmpty())
        << "the start-up passage";
    program.kill();
    program.waitForFinished();
}

TEST(RemoteStart, aPortThatIsNoPortIsRefusedBeforeTheWindowOpens) {
    for (const char* port : {"0", "65535", "http"}) {
        const CliResult r = runProgram(QStringLiteral(LUMORA_APP_PATH), {"--remote-port", port});
        EXPECT_EQ(r.exitCode, 2) << port;
        EXPECT_TRUE(r.err.contains("--remote-port")) << r.err.toStdString();
    }
    const CliResult help = runProgram(QStringLiteral(LUMORA_APP_PATH), {"--help"});
    EXPECT_TRUE(help.out.contains("--remote")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--remote-port <N>")) << help.out.toStdString();
}

} // namespace lumora::testing
