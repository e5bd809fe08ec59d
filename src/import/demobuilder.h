#pragma once
// Builds a complete demo data folder: real Bibles from the installed SWORD modules, read-aloud
// chapters with true reading marks, two sample hymn books, a verse list and a playlist.
//
// The builder only ever writes into a folder it created: it leaves a marker file there and
// refuses any existing non-empty folder without it. Running it again adds only what is missing.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <vector>

namespace lumora::import {

struct DemoVersion final {
    QString module;                  // SWORD module name
    QByteArray code;                 // version code
    QByteArray name;                 // name after "CODE - "
    QString voice;                   // espeak-ng voice for recordings
    QList<QPair<int, int>> recorded; // (book number, chapter) read aloud
};

struct DemoOptions final {
    QString folder;
    std::vector<DemoVersion> versions;
    QString pathFile; // created pointing at `folder` when it does not exist; empty: left alone
    std::function<void(const QString&)> progress;
};

struct DemoResult final {
    bool ok = false;
    QString error;       // why nothing (more) was built
    QStringList skipped; // parts left out, e.g. a SWORD module that is not installed
};

inline constexpr char kDemoMarkerName[] = ".lumora-demo";

// KJV (Genesis 1, Psalm 23, Matthew 5 and John 3 read aloud), WEB and RV1909.
std::vector<DemoVersion> defaultDemoVersions();

DemoResult buildDemo(const DemoOptions& options);

} // namespace lumora::import
