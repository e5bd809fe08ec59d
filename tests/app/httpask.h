#pragma once
// For the tests that start a remote server: a free port for it, and a request to it.

#include "support/wait.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>

namespace lumora::testing {

// A port nothing listens on now, nor on the next one (the WebSocket's), as the system hands it
// out; 0 when none was found.
inline quint16 freePort() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        QTcpServer a, b;
        if (a.listen(QHostAddress::LocalHost, 0) && a.serverPort() < 65534 &&
            b.listen(QHostAddress::LocalHost, a.serverPort() + 1))
            return a.serverPort();
    }
    return 0;
}

// A request, as the JSON object of its answer (empty when none came within `timeoutMs`).
inline QJsonObject askServer(QNetworkAccessManager& nam, const QByteArray& method, const QString& url,
                             const QByteArray& body = {}, const QByteArray& token = {},
                             int timeoutMs = 10000) {
    QNetworkRequest r{QUrl(url)};
    r.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    if (!token.isEmpty()) r.setRawHeader("Authorization", "Bearer " + token);
    QNetworkReply* reply = nam.sendCustomRequest(r, method, body);
    waitUntil([reply] { return reply->isFinished(); }, timeoutMs);
    reply->deleteLater();
    return QJsonDocument::fromJson(reply->readAll()).object();
}

} // namespace lumora::testing
