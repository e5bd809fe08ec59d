#pragma once
// The remote as the window keeps it: the paired devices and settings (beside the path file), the
// pairing PIN and codes, and the server, started with the settings and stopped on demand.

#include "remote/devicestore.h"
#include "remote/pairing.h"
#include "remote/remoteserver.h"

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <optional>

namespace lumora::remote {

// An address a server may listen on: every interface ("" address), or one address of one of
// this machine's interfaces.
struct ListenChoice {
    QString address; // "" for every interface
    QString label;   // "All interfaces", "eth0: 192.168.1.20"
};

class RemoteService final : public QObject {
    Q_OBJECT
  public:
    // `storeFile` is DeviceStore::fileBeside(pathFile). A damaged file is left alone (the store
    // starts empty, and loadProblem() says why).
    explicit RemoteService(const QString& storeFile, QObject* parent = nullptr);

    DeviceStore& store() { return m_store; }
    Pairing& pairing() { return m_pairing; }
    RemoteServer& server() { return m_server; }
    QString loadProblem() const { return m_loadProblem; }

    // Listens as the settings say (the port given instead of theirs when there is one); the
    // reason when it cannot, with nothing listening then.
    std::optional<QString> start(std::optional<quint16> port = std::nullopt);
    // Closes every connection and stops listening.
    void stop();
    bool isRunning() const { return m_server.isRunning(); }

    // The addresses a device can reach the pages at, one per address listened on:
    // "http://192.168.1.20:4320" (no page path).
    QStringList baseAddresses() const;
    // The addresses of the three pages at one base: remote "/", stage "/stage", live "/live".
    static QStringList pageAddresses(const QString& base);
    // "All interfaces", then each address of each interface that is up.
    static QList<ListenChoice> listenChoices();

  signals:
    void runningChanged(bool running);

  private:
    DeviceStore m_store;
    Pairing m_pairing;
    RemoteServer m_server;
    QString m_loadProblem;
};

} // namespace lumora::remote
