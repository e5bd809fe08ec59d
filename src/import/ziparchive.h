#pragma once
// A read-only zip file: its entry names, and an entry's bytes read with a size cap.
//
// The cap is checked against the bytes actually inflated, not against the size the archive
// claims, so an entry that inflates far past what its header says (a zip bomb) is refused as
// soon as it passes the cap.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct zip; // libzip's archive

namespace lumora::import {

class ZipArchive final {
  public:
    // Opens path; isOpen() says whether that worked, error() why not.
    explicit ZipArchive(const QString& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool isOpen() const { return m_zip != nullptr; }
    QString error() const { return m_error; }

    // Names of the file entries (folders left out), in archive order: "web/GEN.usfm".
    QStringList entries() const;
    // The whole entry, or nullopt (error() says why) when it is missing, damaged or would be
    // larger than maxBytes once inflated.
    std::optional<QByteArray> read(const QString& entry, qint64 maxBytes);

    // True when the file begins as a zip file does ("PK\3\4", or "PK\5\6" for an empty one).
    static bool looksLikeZip(const QByteArray& head);

  private:
    ::zip* m_zip = nullptr;
    QString m_error;
};

} // namespace lumora::import
