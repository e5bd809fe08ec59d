#pragma once
// The note document of a list: "<name>.rtf" beside the list, written by the user in the
// program the desktop associates with rich text; the application only opens it.

#include "platform/shell.h"

#include <QString>

namespace lumora::lists {

// Opens the note of list `name` through the shell. When the shell reports it missing, the note is
// created (replacing nothing) with one empty line, CR LF, and opened once more. Nothing happens
// for an empty name; any other refusal of the shell, or a note that cannot be created, is silent.
void openNote(platform::Shell& shell, const QString& folder, const QString& name);

} // namespace lumora::lists
