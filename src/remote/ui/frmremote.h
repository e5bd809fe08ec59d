#pragma once
// The "Remote…" dialog: the server on or off, its port and the interface it listens on, the
// addresses of the pages with a QR code that pairs a phone once, the PIN, the paired devices
// with a "revoke" button each, and whether a view-only screen may pair without the PIN. A port
// that cannot be used is said in the dialog, and the server stays off.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace lumora::remote {

class RemoteService;

class FrmRemote final : public QDialog {
    Q_OBJECT
  public:
    explicit FrmRemote(RemoteService& service, QWidget* parent = nullptr);

    QString message() const;
    // The text the QR code carries ("" while the server is off).
    QString qrText() const { return m_qrText; }

  public slots:
    // Reads the service anew: running or not, the addresses, the PIN, the devices.
    void refresh();

  private:
    void switchOn(bool on);
    // The port, the address or the PIN option changed: kept, and a running server restarted.
    void settingsEdited();
    void showDevices();
    void showPairing();
    void tell(const QString& message);

    RemoteService& m_service;
    QCheckBox* chk_RemoteOn;
    QSpinBox* spin_RemotePort;
    QComboBox* cmb_RemoteAddress;
    QCheckBox* chk_ViewWithoutPin;
    QLabel* lbl_RemoteMessage;
    QLabel* lbl_RemotePin;
    QLabel* lbl_RemoteQr;
    QLabel* lbl_RemoteAddresses;
    QTableWidget* tbl_RemoteDevices;
    QString m_qrText;
};

} // namespace lumora::remote
