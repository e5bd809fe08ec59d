#include "remote/ui/frmremote.h"

#include "remote/remoteservice.h"
#include "remote/ui/qrcode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumora::remote {

namespace {

template <class T> T* named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

FrmRemote::FrmRemote(RemoteService& service, QWidget* parent) : QDialog(parent), m_service(service) {
    setObjectName(QStringLiteral("FrmRemote"));
    setWindowTitle(tr("Remote"));
    chk_RemoteOn = named(new QCheckBox(tr("Remote on: phones, stage screens and streaming programs may "
                                          "connect")),
                         "chk_RemoteOn");
    spin_RemotePort = named(new QSpinBox, "spin_RemotePort");
    // the WebSocket listens on the port after this one
    spin_RemotePort->setRange(1024, 65534);
    spin_RemotePort->setToolTip(tr("The pages' port; the live feed uses the next one"));
    cmb_RemoteAddress = named(new QComboBox, "cmb_RemoteAddress");
    cmb_RemoteAddress->setToolTip(tr("Listen on every network interface, or on one address only"));
    chk_ViewWithoutPin = named(new QCheckBox(tr("View role needs no PIN (a stage screen in a locked room)")),
                               "chk_ViewWithoutPin");
    lbl_RemoteMessage = named(new QLabel, "lbl_RemoteMessage");
    lbl_RemoteMessage->setWordWrap(true);
    lbl_RemoteMessage->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    lbl_RemoteMessage->hide();
    lbl_RemotePin = named(new QLabel, "lbl_RemotePin");
    QFont big = lbl_RemotePin->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lbl_RemotePin->setFont(big);
    lbl_RemotePin->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbl_RemoteQr = named(new QLabel, "lbl_RemoteQr");
    lbl_RemoteQr->setToolTip(tr("Scan to pair this phone once, without the PIN"));
    lbl_RemoteAddresses = named(new QLabel, "lbl_RemoteAddresses");
    lbl_RemoteAddresses->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbl_RemoteAddresses->setTextFormat(Qt::PlainText);
    tbl_RemoteDevices = named(new QTableWidget(0, 4), "tbl_RemoteDevices");
    tbl_RemoteDevices->setHorizontalHeaderLabels({tr("Device"), tr("Role"), tr("Paired"), QString()});
    tbl_RemoteDevices->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tbl_RemoteDevices->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    tbl_RemoteDevices->verticalHeader()->hide();
    tbl_RemoteDevices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbl_RemoteDevices->setSelectionMode(QAbstractItemView::NoSelection);

    auto* form = new QFormLayout;
    form->addRow(tr("Port:"), spin_RemotePort);
    form->addRow(tr("Listen on:"), cmb_RemoteAddress);
    auto* pairing = new QHBoxLayout;
    auto* words = new QVBoxLayout;
    words->addWidget(new QLabel(tr("PIN to pair a device:")));
    words->addWidget(lbl_RemotePin);
    words->addWidget(new QLabel(tr("Pages (remote, stage, live):")));
    words->addWidget(lbl_RemoteAddresses);
    words->addStretch();
    pairing->addLayout(words, 1);
    pairing->addWidget(lbl_RemoteQr, 0, Qt::AlignTop);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chk_RemoteOn);
    layout->addLayout(form);
    layout->addWidget(chk_ViewWithoutPin);
    layout->addWidget(lbl_RemoteMessage);
    layout->addLayout(pairing);
    layout->addWidget(new QLabel(tr("Paired devices:")));
    layout->addWidget(tbl_RemoteDevices);
    layout->addWidget(buttons);

    const RemoteSettings& s = m_service.store().settings();
    spin_RemotePort->setValue(s.port);
    for (const ListenChoice& c : RemoteService::listenChoices())
        cmb_RemoteAddress->addItem(c.label, c.address);
    if (cmb_RemoteAddress->findData(s.address) < 0) // an address kept from another network
        cmb_RemoteAddress->addItem(tr("%1 (not on this machine now)").arg(s.address), s.address);
    cmb_RemoteAddress->setCurrentIndex(cmb_RemoteAddress->findData(s.address));
    chk_ViewWithoutPin->setChecked(s.viewWithoutPin);

    connect(chk_RemoteOn, &QCheckBox::toggled, this, &FrmRemote::switchOn);
    connect(spin_RemotePort, &QSpinBox::editingFinished, this, &FrmRemote::settingsEdited);
    connect(cmb_RemoteAddress, &QComboBox::activated, this, &FrmRemote::settingsEdited);
    connect(chk_ViewWithoutPin, &QCheckBox::toggled, this, &FrmRemote::settingsEdited);
    connect(&m_service.server(), &RemoteServer::devicesChanged, this, &FrmRemote::showDevices);
    connect(&m_service.server(), &RemoteServer::pinChanged, this, &FrmRemote::showPairing);
    connect(&m_service, &RemoteService::runningChanged, this, &FrmRemote::refresh);
    if (!m_service.loadProblem().isEmpty())
        tell(tr("The remote's settings could not be read (%1); they start afresh, and the unreadable "
                "file is kept as %2 at the first change.")
                 .arg(m_service.loadProblem(), QFileInfo(m_service.store().damagedCopy()).fileName()));
    refresh();
}

QString FrmRemote::message() const {
    return lbl_RemoteMessage->isVisible() || !lbl_RemoteMessage->isHidden() ? lbl_RemoteMessage->text()
                                                                            : QString();
}

void FrmRemote::tell(const QString& message) {
    lbl_RemoteMessage->setText(message);
    lbl_RemoteMessage->setVisible(!message.isEmpty());
}

void FrmRemote::refresh() {
    const QSignalBlocker block(chk_RemoteOn);
    chk_RemoteOn->setChecked(m_service.isRunning());
    showPairing();
    showDevices();
}

void FrmRemote::switchOn(bool on) {
    if (!on) {
        m_service.stop();
        tell({});
        return;
    }
    settingsEdited();
    if (!lbl_RemoteMessage->isHidden()) return; // the settings could not be kept
    if (const std::optional<QString> error = m_service.start()) {
        tell(*error + QLatin1Char('\n') +
             tr("The remote is off. Choose another port (the next one must be free too), or close the "
                "program that uses it, then switch the remote on again."));
        const QSignalBlocker block(chk_RemoteOn);
        chk_RemoteOn->setChecked(false);
    } else {
        tell({});
    }
    refresh();
}

void FrmRemote::settingsEdited() {
    RemoteSettings s = m_service.store().settings();
    s.port = static_cast<quint16>(spin_RemotePort->value());
    s.address = cmb_RemoteAddress->currentData().toString();
    s.viewWithoutPin = chk_ViewWithoutPin->isChecked();
    const RemoteSettings was = m_service.store().settings();
    if (s.port == was.port && s.address == was.address && s.viewWithoutPin == was.viewWithoutPin) {
        tell({});
        return;
    }
    QString why;
    if (!m_service.store().setSettings(s, &why)) {
        tell(tr("The remote's settings could not be written: %1").arg(why));
        return;
    }
    tell({});
    const bool listenChanged = s.port != was.port || s.address != was.address;
    if (m_service.isRunning() && listenChanged) {
        if (const std::optional<QString> error = m_service.start())
            tell(*error + QLatin1Char('\n') +
                 tr("The remote is off. Choose another port, then switch it on."));
        refresh();
    }
}

void FrmRemote::showPairing() {
    const bool on = m_service.isRunning();
    lbl_RemotePin->setText(on ? m_service.pairing().pin() : QStringLiteral("------"));
    const QStringList bases = m_service.baseAddresses();
    QStringList lines;
    for (const QString& base : bases)
        lines << RemoteService::pageAddresses(base).join(QStringLiteral("\n"));
    lbl_RemoteAddresses->setText(on ? lines.join(QStringLiteral("\n\n")) : tr("(the remote is off)"));
    m_qrText = on && !bases.isEmpty()
                   ? bases.first() + QStringLiteral("/?code=") + m_service.pairing().newCode()
                   : QString();
    const QImage qr = m_qrText.isEmpty() ? QImage() : qrCodeImage(m_qrText, 4);
    lbl_RemoteQr->setPixmap(QPixmap::fromImage(qr));
    lbl_RemoteQr->setVisible(!qr.isNull());
}

void FrmRemote::showDevices() {
    const QList<Device>& devices = m_service.store().devices();
    tbl_RemoteDevices->setRowCount(static_cast<int>(devices.size()));
    for (int row = 0; row < devices.size(); ++row) {
        const Device& d = devices.at(row);
        tbl_RemoteDevices->setItem(row, 0, new QTableWidgetItem(d.name));
        tbl_RemoteDevices->setItem(row, 1, new QTableWidgetItem(roleName(d.role)));
        tbl_RemoteDevices->setItem(
            row, 2,
            new QTableWidgetItem(d.paired.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        auto* revoke = new QPushButton(tr("revoke"));
        revoke->setObjectName(QStringLiteral("revoke_") + d.id);
        revoke->setToolTip(tr("Refuse this device from now on; it must pair again"));
        connect(revoke, &QPushButton::clicked, this, [this, id = d.id] {
            // the server closes the device's open connections; a stopped server has none
            if (!m_service.server().revoke(id)) tell(tr("The device could not be revoked."));
        });
        tbl_RemoteDevices->setCellWidget(row, 3, revoke);
    }
}

} // namespace lumora::remote
