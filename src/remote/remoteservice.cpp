#include "remote/remoteservice.h"

#include <QNetworkInterface>

namespace lumora::remote {

RemoteService::RemoteService(const QString& storeFile, QObject* parent)
    : QObject(parent), m_store(storeFile), m_server(&m_store, &m_pairing) {
    setObjectName(QStringLiteral("remoteService"));
    QString why;
    if (!m_store.load(&why)) m_loadProblem = why;
}

std::optional<QString> RemoteService::start(std::optional<quint16> port) {
    const RemoteSettings& s = m_store.settings();
    QHostAddress address(QHostAddress::Any);
    if (!s.address.isEmpty()) {
        address = QHostAddress(s.address);
        if (address.isNull()) return tr("\"%1\" is not an address.").arg(s.address);
    }
    const std::optional<QString> error = m_server.start(address, port.value_or(s.port));
    emit runningChanged(m_server.isRunning());
    return error;
}

void RemoteService::stop() {
    const bool was = m_server.isRunning();
    m_server.stop();
    if (was) emit runningChanged(false);
}

QStringList RemoteService::baseAddresses() const {
    if (!m_server.isRunning()) return {};
    const QString port = QString::number(m_server.httpPort());
    auto base = [&port](const QHostAddress& a) {
        const QString host =
            a.protocol() == QAbstractSocket::IPv6Protocol ? '[' + a.toString() + ']' : a.toString();
        return QStringLiteral("http://%1:%2").arg(host, port);
    };
    const QString chosen = m_store.settings().address;
    if (!chosen.isEmpty()) return {base(QHostAddress(chosen))};
    QStringList out;
    for (const ListenChoice& c : listenChoices()) {
        const QHostAddress a(c.address);
        if (!a.isNull() && !a.isLoopback() && a.protocol() == QAbstractSocket::IPv4Protocol) out << base(a);
    }
    if (out.isEmpty()) out << base(QHostAddress(QHostAddress::LocalHost));
    return out;
}

QStringList RemoteService::pageAddresses(const QString& base) {
    return {base + QLatin1Char('/'), base + QStringLiteral("/stage"), base + QStringLiteral("/live")};
}

QList<ListenChoice> RemoteService::listenChoices() {
    QList<ListenChoice> out{{QString(), tr("All interfaces")}};
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        if (!i.flags().testFlag(QNetworkInterface::IsUp)) continue;
        for (const QNetworkAddressEntry& e : i.addressEntries()) {
            const QHostAddress a = e.ip();
            // a link-local IPv6 address needs its interface named, which a browser's address cannot
            if (a.isNull() || a.isLinkLocal()) continue;
            out << ListenChoice{a.toString(),
                                QStringLiteral("%1: %2").arg(i.humanReadableName(), a.toString())};
        }
    }
    return out;
}

} // namespace lumora::remote
