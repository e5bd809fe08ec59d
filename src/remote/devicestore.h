#pragma once
// The paired devices of the remote server and its settings, kept in one file of the user's
// configuration folder (beside the path file, never in the data folder). A device is known by a
// hash of its token only: the token itself is handed out once, at pairing, and never stored.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace lumora::remote {

enum class Role { View, Control };

QString roleName(Role role);                           // "view", "control"
std::optional<Role> roleFromName(const QString& name); // nullopt for anything else

struct Device {
    QString id;   // a short random identifier, shown and used to revoke
    QString name; // as the device gave it at pairing
    Role role = Role::View;
    QByteArray hash;  // SHA-256 of the token, hex
    QDateTime paired; // UTC
};

struct RemoteSettings {
    quint16 port = 4320;
    QString address;             // the interface's address to listen on; "" for every interface
    bool viewWithoutPin = false; // a view-role device may pair without the PIN
};

// A fresh token: 128 random bits or more from the system's generator, as URL-safe text.
QByteArray newToken();
QByteArray tokenHash(const QByteArray& token);
// Compares two byte strings in a time that does not depend on where they differ.
bool equalConstantTime(const QByteArray& a, const QByteArray& b);

class DeviceStore {
  public:
    // `file` is the store's file; `configFolderOf` below names it for a path file.
    explicit DeviceStore(QString file);

    static QString fileBeside(const QString& pathFile); // ".../LMR/Lumora.remote"
    QString damagedCopy() const { return file_ + QStringLiteral(".damaged"); }

    // Reads the file; a missing file is an empty store. False (with a reason) on a damaged file,
    // which is then left alone and the store starts empty; the first save moves it aside to
    // damagedCopy() (replacing an older one) instead of writing over it.
    bool load(QString* whyNot = nullptr);

    const RemoteSettings& settings() const { return settings_; }
    bool setSettings(const RemoteSettings& settings, QString* whyNot = nullptr);

    // Adds a device and returns its token (the only time it exists in clear); empty when the
    // store could not be written, in which case nothing is added.
    QByteArray add(const QString& name, Role role, QString* whyNot = nullptr);
    // The device a token belongs to, compared in constant time against every stored hash.
    std::optional<Device> find(const QByteArray& token) const;
    bool revoke(const QString& id, QString* whyNot = nullptr);
    const QList<Device>& devices() const { return devices_; }

  private:
    bool save(const QList<Device>& devices, const RemoteSettings& settings, QString* whyNot);

    QString file_;
    bool damaged_ = false; // the file could not be read: kept aside before it is written over
    QList<Device> devices_;
    RemoteSettings settings_;
};

} // namespace lumora::remote
