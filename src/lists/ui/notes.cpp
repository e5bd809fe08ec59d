#include "lists/ui/notes.h"

#include "common/atomicfile.h"
#include "lists/listfile.h"

namespace lumora::lists {

void openNote(platform::Shell& shell, const QString& folder, const QString& name) {
    if (name.isEmpty()) return;
    const QString path = notePath(folder, name);
    if (shell.open(path) != platform::ShellResult::NotFound) return;
    if (!common::createFileExclusive(path, QByteArrayLiteral("\r\n"))) return;
    shell.open(path);
}

} // namespace lumora::lists
