#pragma once
// The platform services the main window and its areas are built with: real ones in the
// program, fakes in tests.

#include "platform/commondialog.h"
#include "platform/mediaplayer.h"
#include "platform/prompts.h"
#include "platform/shell.h"

#include <functional>

namespace lumora::platform {

struct Platform {
    std::function<MediaPlayer*(QObject* parent)> makePlayer; // WindowsMediaPlayer1 and 2
    Prompts& prompts;
    Shell& shell;
    CommonDialog& dialogs;
};

} // namespace lumora::platform
