#pragma once
// Whole-file reads and line splitting for the data files.

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumora::common {

// The largest user file read whole; far above any Bible or hymn book, far below what would
// exhaust memory.
inline constexpr qsizetype kMaxFileBytes = qsizetype(64) << 20;

// Why a whole-file read gave nothing.
enum class ReadFailure { None, Missing, NotOrdinary, TooLarge, Unreadable };

struct FileRead {
    std::optional<QByteArray> bytes;
    ReadFailure failure = ReadFailure::None;
};

// The whole content of an ordinary file (a link to one is followed). Devices, FIFOs, sockets and
// folders are refused without being read or waited on, and so is a file above maxBytes, so a
// Version.txt linked to /dev/zero or replaced by a FIFO neither exhausts memory nor blocks.
FileRead readFile(const QString& path, qsizetype maxBytes = kMaxFileBytes);
// "not an ordinary file", "larger than 64 MiB"...; empty for None.
QString readFailureText(ReadFailure failure);

// The whole file, or nullopt when it cannot be read (see readFile).
std::optional<QByteArray> readWholeFile(const QString& path, qsizetype maxBytes = kMaxFileBytes);

// Splits bytes into lines. A line ends at CR LF, at a lone CR or at a lone LF (files prepared on
// any system read the same); the terminator is not part of the line. A last line without a
// terminator is still a line; a file ending in a terminator has no extra empty line after it.
class LineSplitter final {
  public:
    explicit LineSplitter(const QByteArray& data) : m_data(data) {}
    // Next line into `line`; false at the end. `offset` receives the line's first byte.
    bool next(QByteArray& line, qsizetype* offset = nullptr);
    // The same, as a view into the data, which must outlive it.
    bool next(QByteArrayView& line, qsizetype* offset = nullptr);
    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) {
        m_pos = pos;
        m_cr = m_lf = -1;
    }

  private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
    // The next CR and LF at or after where they were last looked for (the data's size: none), so
    // that a file with only one kind of terminator is not searched to its end for the other on
    // every line.
    qsizetype m_cr = -1, m_lf = -1;
};

} // namespace lumora::common
