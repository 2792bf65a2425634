#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the privileged helper (VLMFormat) accepts when it runs as root for a desktop user: the user's password
// prompt grants a card format, not the right to mount volumes anywhere or to overwrite other people's files.
struct HelperPolicy
{
    // /media/USER and /run/media/USER, where the desktop mounts a user's cards.
    static QStringList mediaFolders(const QString& userName);

    // The place a card may be mounted at as root: the card's own previous mount point, or a folder below the
    // invoking user's media folders. Paths are compared as the file system resolves them (links followed as far
    // as they exist), so a link cannot lead out of the media folder.
    static bool mountAtAllowed(const QString& requested, const QString& previousMountPoint, const QString& userName);

    // A regular file (an image) run as root is formatted only when the invoking user owns it.
    static bool regularFileAllowed(bool root, std::optional<uint32_t> owner, uint32_t invokingUid);

    // The path with links resolved for the part that exists and the rest appended, cleaned.
    static QString resolved(const QString& path);
};
