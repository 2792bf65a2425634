#pragma once

#include <QString>

#include <cstdint>

class QFileDevice;

// The file-system operations that decide whether a recording survives a copy or a move: free space, making
// data durable, renaming without overwriting, and telling file systems apart.
namespace platform {

// Bytes an ordinary user may still write on the file system that holds `path` (a file or a folder); -1 when
// it cannot be asked.
int64_t availableSpace(const QString& path);

// True when both paths (existing files or folders) lie on the same file system, so a rename can move
// between them.
bool sameFileSystem(const QString& a, const QString& b);

// Making data and names durable is syncFile / syncDirectory in platform/FileTransfer.h.
// Asks the system to forget the file's cached pages (after a sync), so that the next read comes from the
// device and shows what was really written.
void dropCachedPages(QFileDevice& file);

enum class RenameResult { Done, TargetExists, CrossDevice, Failed };

// Renames inside one file system. With `replace` off an existing target is never overwritten (the check and
// the rename are one step where the file system allows it). CrossDevice: the paths lie on different file
// systems and nothing changed.
RenameResult renameFile(const QString& from, const QString& to, bool replace);

// Text of the last system error of this thread, for diagnostics.
QString lastErrorText();

} // namespace platform
