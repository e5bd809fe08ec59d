#pragma once
// What every area of the window reads: the data folder, resolved once at start-up.

#include <QString>

namespace lumora::session {

struct Session {
    QString DataPath; // data root, without a trailing separator; empty until resolved
};

} // namespace lumora::session
