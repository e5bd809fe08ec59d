#include "remote/devicestore.h"

#include "common/atomicfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <array>

namespace lumora::remote {

QString roleName(Role role) {
    return role == Role::Control ? QStringLiteral("control") : QStringLiteral("view");
}

std::optional<Role> roleFromName(const QString& name) {
    if (name == QLatin1String("control")) return Role::Control;
    if (name == QLatin1String("view")) return Role::View;
    return std::nullopt;
}

QByteArray newToken() {
    std::array<quint32, 6> words{}; // 192 bits
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray raw(reinterpret_cast<const char*>(words.data()), sizeof(words));
    return raw.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

QByteArray tokenHash(const QByteArray& token) {
    return QCryptographicHash::hash(token, QCryptographicHash::Sha256).toHex();
}

bool equalConstantTime(const QByteArray& a, const QByteArray& b) {
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    const qsizetype n = std::max(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= x ^ y;
    }
    return diff == 0;
}

DeviceStore::DeviceStore(QString file) : file_(std::move(file)) {}

QString DeviceStore::fileBeside(const QString& pathFile) {
    return QFileInfo(pathFile).absoluteDir().filePath(QStringLiteral("Lumora.remote"));
}

bool DeviceStore::load(QString* whyNot) {
    devices_.clear();
    settings_ = {};
    damaged_ = false;
    QFile f(file_);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (whyNot) *whyNot = f.errorString();
        damaged_ = true;
        return false;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (!doc.isObject()) {
        if (whyNot) *whyNot = QStringLiteral("not a remote settings file");
        damaged_ = true;
        return false;
    }
    const QJsonObject root = doc.object();
    const int port = root.value(QLatin1String("port")).toInt(4320);
    settings_.port = port > 0 && port < 65536 ? static_cast<quint16>(port) : 4320;
    settings_.address = root.value(QLatin1String("address")).toString();
    settings_.viewWithoutPin = root.value(QLatin1String("viewWithoutPin")).toBool(false);
    for (const QJsonValue& v : root.value(QLatin1String("devices")).toArray()) {
        const QJsonObject o = v.toObject();
        Device d;
        d.id = o.value(QLatin1String("id")).toString();
        d.name = o.value(QLatin1String("name")).toString();
        const auto role = roleFromName(o.value(QLatin1String("role")).toString());
        d.hash = o.value(QLatin1String("hash")).toString().toLatin1();
        d.paired = QDateTime::fromString(o.value(QLatin1String("paired")).toString(), Qt::ISODate);
        if (d.id.isEmpty() || !role || d.hash.size() != 64) continue; // never a device without a hash
        d.role = *role;
        devices_ << d;
    }
    return true;
}

bool DeviceStore::save(const QList<Device>& devices, const RemoteSettings& settings, QString* whyNot) {
    QJsonArray list;
    for (const Device& d : devices)
        list.append(QJsonObject{{QStringLiteral("id"), d.id},
                                {QStringLiteral("name"), d.name},
                                {QStringLiteral("role"), roleName(d.role)},
                                {QStringLiteral("hash"), QString::fromLatin1(d.hash)},
                                {QStringLiteral("paired"), d.paired.toString(Qt::ISODate)}});
    const QJsonObject root{{QStringLiteral("port"), settings.port},
                           {QStringLiteral("address"), settings.address},
                           {QStringLiteral("viewWithoutPin"), settings.viewWithoutPin},
                           {QStringLiteral("devices"), list}};
    QFileInfo(file_).absoluteDir().mkpath(QStringLiteral("."));
    if (damaged_ && QFile::exists(file_)) {
        // What could not be read is not written over: someone may still mend it by hand.
        QFile::remove(damagedCopy());
        if (!QFile::rename(file_, damagedCopy())) {
            if (whyNot) *whyNot = QStringLiteral("the unreadable %1 could not be kept aside").arg(file_);
            return false;
        }
    }
    if (!common::writeFileAtomic(file_, QJsonDocument(root).toJson(), whyNot)) return false;
    damaged_ = false;
    return true;
}

bool DeviceStore::setSettings(const RemoteSettings& settings, QString* whyNot) {
    if (!save(devices_, settings, whyNot)) return false;
    settings_ = settings;
    return true;
}

QByteArray DeviceStore::add(const QString& name, Role role, QString* whyNot) {
    const QByteArray token = newToken();
    Device d;
    quint32 idBits[2];
    QRandomGenerator::system()->fillRange(idBits, 2);
    d.id = QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(idBits), sizeof(idBits)).toHex());
    d.name = name.left(64);
    d.role = role;
    d.hash = tokenHash(token);
    d.paired = QDateTime::currentDateTimeUtc();
    QList<Device> next = devices_;
    next << d;
    if (!save(next, settings_, whyNot)) return {};
    devices_ = next;
    return token;
}

std::optional<Device> DeviceStore::find(const QByteArray& token) const {
    if (token.isEmpty()) return std::nullopt;
    const QByteArray hash = tokenHash(token);
    std::optional<Device> found;
    for (const Device& d : devices_) // every hash is compared, found or not
        if (equalConstantTime(hash, d.hash) && !found) found = d;
    return found;
}

bool DeviceStore::revoke(const QString& id, QString* whyNot) {
    QList<Device> next = devices_;
    const auto removed = next.removeIf([&](const Device& d) { return d.id == id; });
    if (removed == 0) return false;
    if (!save(next, settings_, whyNot)) return false;
    devices_ = next;
    return true;
}

} // namespace lumora::remote
