#pragma once
// A request to a server the test started, as the JSON object of its answer (empty when none came
// within `timeoutMs`).

#include "support/wait.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace lumora::testing {

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
