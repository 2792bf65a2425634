#pragma once

#include <QString>

// The package folder as one zip file (libzip), for sending by mail or upload. Entries sit below the
// folder's name, so unpacking gives the folder back.
namespace packagezip {

bool write(const QString& folder, const QString& entryFolderName, const QString& zipPath, QString& error);

} // namespace packagezip
