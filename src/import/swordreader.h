#pragma once
// Reads an installed SWORD Bible module into an ImportedBible.
//
// libsword and its chain of network, TLS and index libraries are loaded only here, on the first
// call, from the plugin kSwordPluginName beside the running program, so the everyday commands and
// the window start without them.

#include "import/biblemodel.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lumora::import {

inline const QString kSwordPluginName = QStringLiteral("lumora-sword.so");

struct SwordReadResult final {
    std::optional<ImportedBible> bible; // empty on failure
    QString error;                      // one line, set on failure
};

// Reads every book of the module's versification that has text in the module, chapter by chapter,
// verse by verse (all verses the versification gives, empty text where the module has none).
// Book names come from the module's language when SWORD has a locale for it. The module is looked
// up the way SWORD front ends do (SWORD_PATH, ~/.sword, the system folders). `onBook` is called
// once per book read, with its display name. A missing plugin is a failure with its own error.
SwordReadResult readSwordModule(const QString& moduleName,
                                const std::function<void(const ImportedBook&)>& onBook = {});

// "NAME - Description" of every installed SWORD Bible module, looked up as above; nullopt (and
// `error` set) when the plugin cannot be loaded.
std::optional<QStringList> listSwordBibles(QString* error);

} // namespace lumora::import
