#pragma once
// Validates a data folder against the formats the program reads, so that people who prepare data
// outside the program find the faults before the program silently skips or mangles them.

#include <QString>

#include <vector>

namespace lumora::import {

struct DataProblem final {
    QString file; // relative to the data folder, with "/" separators
    int line = 0; // 1-based; 0 when the problem concerns the whole file
    QString message;

    // "Bible/KJV/KJV-O.txt:12: verse 4 repeated"
    QString toText() const;
};

// Checks the Bible tree (Version.txt and every version it names: book table, chapter table,
// testament files, marks), the hymn tree (each book's Hira.txt) and the list files under both
// Favori folders. Problems come in file order, then line order.
std::vector<DataProblem> checkDataFolder(const QString& dataFolder);

} // namespace lumora::import
