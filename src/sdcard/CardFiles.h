#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct CardTarget;
namespace platform {
class CardDevices;
}

// Files on a card in its own terms ("Setup/setup.bin"): through the mount when the card is mounted, else
// inside the FAT image or device itself (mtools), so that a card can be handled without mounting it.
class CardFiles
{
public:
    virtual ~CardFiles() = default;
    virtual bool exists(const QString& relativePath) const = 0;
    virtual std::optional<QByteArray> read(const QString& relativePath) const = 0;
    // Creates the missing folders and replaces an existing file.
    virtual bool write(const QString& relativePath, const QByteArray& data) = 0;
};

std::unique_ptr<CardFiles> CardFilesInFolder(const QString& root);
std::unique_ptr<CardFiles> CardFilesInImage(const QString& imageOrDevice);
// The mount when the target has one, else the image.
std::unique_ptr<CardFiles> CardFilesOf(const CardTarget& target);

// Where the card's files can be written after a format, proven to be the card: a folder only when the mount
// table shows it is a mount of the card's device (not merely the folder it used to be mounted at, which after a
// failed remount is a folder on the PC's own disk); the device or image itself (mtools) when it is mounted
// nowhere and this process may write it. Nothing, with the reason, otherwise.
std::unique_ptr<CardFiles> CardFilesAfterFormat(
    const CardTarget& target, const platform::CardDevices& devices, QString* why = nullptr);
