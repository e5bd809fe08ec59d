// The "Remote…" dialog on a real server: on and off, a port that is taken, the PIN and the QR
// code's one-time code, the devices and their revoke buttons, the settings kept. (What the server
// closes on a revoke or a stop: RemoteServerTest.)

#include "app/httpask.h"
#include "remote/remoteservice.h"
#include "remote/ui/frmremote.h"
#include "remote/ui/qrcode.h"
#include "support/wait.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebSocket>

#include <gtest/gtest.h>

using namespace lumora::remote;

namespace {

using lumora::testing::freePort;
using lumora::testing::waitUntil;

class FrmRemoteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // only this machine: the test's server is never on the network
        RemoteSettings s;
        s.address = QStringLiteral("127.0.0.1");
        s.port = freePort();
        ASSERT_NE(s.port, 0);
        ASSERT_TRUE(service.store().setSettings(s));
        dialog = std::make_unique<FrmRemote>(service);
    }
    template <class T> T* find(const char* name) {
        T* w = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QCheckBox* on() { return find<QCheckBox>("chk_RemoteOn"); }
    QString file() const { return dir.filePath(QStringLiteral("Lumora.remote")); }

    QTemporaryDir dir;
    RemoteService service{dir.filePath(QStringLiteral("Lumora.remote"))};
    std::unique_ptr<FrmRemote> dialog;
};

} // namespace

TEST_F(FrmRemoteTest, switchedOn_itShowsThePagesThePinAndAQrCodeThatPairs) {
    EXPECT_FALSE(service.isRunning()) << "off until switched on";
    EXPECT_EQ(find<QLabel>("lbl_RemotePin")->text(), "------");
    on()->click();
    ASSERT_TRUE(service.isRunning()) << dialog->message().toStdString();
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(service.server().httpPort());
    const QString pages = find<QLabel>("lbl_RemoteAddresses")->text();
    for (const QString& page : {base + "/", base + "/stage", base + "/live"})
        EXPECT_TRUE(pages.split('\n').contains(page)) << pages.toStdString();
    EXPECT_EQ(find<QLabel>("lbl_RemotePin")->text(), service.pairing().pin());
    ASSERT_TRUE(dialog->qrText().startsWith(base + "/?code=")) << dialog->qrText().toStdString();
    EXPECT_FALSE(find<QLabel>("lbl_RemoteQr")->pixmap().isNull());
    const QString code = dialog->qrText().section(QStringLiteral("code="), 1);
    EXPECT_EQ(service.pairing().useCode(code), PairCheck::Accepted);

    on()->click();
    EXPECT_FALSE(service.isRunning());
    EXPECT_TRUE(dialog->qrText().isEmpty());
}

TEST_F(FrmRemoteTest, aTakenPort_isSaidInTheDialog_andTheServerStaysOff) {
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, service.store().settings().port));
    on()->click();
    EXPECT_FALSE(service.isRunning());
    EXPECT_FALSE(on()->isChecked());
    EXPECT_TRUE(dialog->message().contains(QString::number(other.serverPort())))
        << dialog->message().toStdString();
    EXPECT_TRUE(find<QLabel>("lbl_RemoteMessage")->isVisibleTo(dialog.get()));
    other.close();
    on()->click();
    EXPECT_TRUE(service.isRunning());
    EXPECT_TRUE(dialog->message().isEmpty()) << "the message goes once the server runs";
}

TEST_F(FrmRemoteTest, theSettingsAreKeptInTheStoreFile_andAPortChangeMovesTheServer) {
    on()->click();
    ASSERT_TRUE(service.isRunning());
    const quint16 next = freePort();
    ASSERT_NE(next, 0);
    find<QSpinBox>("spin_RemotePort")->setValue(next);
    emit find<QSpinBox>("spin_RemotePort")->editingFinished();
    find<QCheckBox>("chk_ViewWithoutPin")->click();
    EXPECT_EQ(service.server().httpPort(), next) << "a running server moves to the new port";

    DeviceStore again(file());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.settings().port, next);
    EXPECT_EQ(again.settings().address, "127.0.0.1");
    EXPECT_TRUE(again.settings().viewWithoutPin);
}

// A device's revoke button revokes it through the server, which closes its socket at once.
TEST_F(FrmRemoteTest, aDevicesRevokeButtonClosesItsConnection) {
    on()->click();
    ASSERT_TRUE(service.isRunning());
    service.store().add(QStringLiteral("Stage"), Role::View);
    const QByteArray lost = service.store().add(QStringLiteral("Lost phone"), Role::Control);
    emit service.server().devicesChanged();
    auto* table = find<QTableWidget>("tbl_RemoteDevices");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 0)->text(), "Lost phone");

    QWebSocket phone;
    int heard = 0;
    QObject::connect(&phone, &QWebSocket::textMessageReceived, [&] { ++heard; });
    phone.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(service.server().webSocketPort())));
    ASSERT_TRUE(waitUntil([&] { return phone.state() == QAbstractSocket::ConnectedState; }));
    phone.sendTextMessage(QStringLiteral("{\"token\":\"%1\"}").arg(QString::fromLatin1(lost)));
    ASSERT_TRUE(waitUntil([&] { return heard == 1; })) << "the token was not taken";
    qobject_cast<QPushButton*>(table->cellWidget(1, 3))->click();
    EXPECT_TRUE(waitUntil([&] { return phone.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 0)->text(), "Stage");
    EXPECT_FALSE(service.store().find(lost));
}

TEST(QrCode, aTextGivesASquareWithItsQuietZone_andOneTooLongGivesNone) {
    const QImage small = qrCodeImage(QStringLiteral("http://192.168.1.20:4320/?code=abc"), 3);
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.width(), small.height());
    EXPECT_EQ(small.width() % 3, 0);
    const int modules = small.width() / 3;
    EXPECT_EQ((modules - 8 - 21) % 4, 0) << "a QR code is 21 + 4k modules wide, with 4 quiet on each side";
    EXPECT_EQ(small.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(small.pixelColor(4 * 3, 4 * 3), QColor(Qt::black)) << "the finder pattern's corner";
    EXPECT_TRUE(qrCodeImage(QString(5000, QLatin1Char('x'))).isNull());
}
