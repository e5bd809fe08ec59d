#pragma once
// Whole-file reads and line splitting for the data files.

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumora::common {

// The whole file, or nullopt when it cannot be opened.
std::optional<QByteArray> readWholeFile(const QString& path);

// Splits bytes into lines. A line ends at CR LF, at a lone CR or at a lone LF (files prepared on
// any system read the same); the terminator is not part of the line. A last line without a
// terminator is still a line; a file ending in a terminator has no extra empty line after it.
class LineSplitter final {
public:
    explicit LineSplitter(const QByteArray& data) : m_data(data) {}
    // Next line into `line`; false at the end. `offset` receives the line's first byte.
    bool next(QByteArray& line, qsizetype* offset = nullptr);
    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

} // namespace lumora::common
