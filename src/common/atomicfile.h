#pragma once
// Every file the program writes goes through here: the bytes land in a temporary file beside the
// target, are flushed to disk, and replace the target by a rename. A crash or a full disk leaves
// either the old file whole or the new one whole, never a mix.
//
// Writes never go through a symbolic link: a target that is a link, or a folder that is one, is
// refused (data folders are copied from shared sticks and folders, and the program may run with
// more rights than whoever prepared them). Links higher up the path are followed, so a data folder
// kept on another disk behind a link still works.

#include <QByteArray>
#include <QString>

namespace lumora::common {

// Replaces (or creates) path with exactly `bytes`. False when anything failed; the old file is
// then untouched and `whyNot` (when given) says why in a few words ("is a symbolic link").
bool writeFileAtomic(const QString& path, const QByteArray& bytes, QString* whyNot = nullptr);

// Whether a new name is made durable at once (the folder flushed), or later by syncFolder() after a
// batch of files (one flush of the folder instead of one per file).
enum class FolderSync { Now, Later };

// Creates path with `bytes` only if nothing of that name exists yet; never replaces a file.
// False when the name is taken or the write failed.
bool createFileExclusive(const QString& path, const QByteArray& bytes, QString* whyNot = nullptr,
                         FolderSync sync = FolderSync::Now);

// Flushes a folder's entries (the names made in it) to disk.
void syncFolder(const QString& folder);

// EF BB BF, content (already UTF-8 bytes), CR LF; the file is replaced whole.
bool WriteUtf8File(const QString& path, const QByteArray& content, QString* whyNot = nullptr);

} // namespace lumora::common
