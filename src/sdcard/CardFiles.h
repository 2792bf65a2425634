#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct CardTarget;

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
