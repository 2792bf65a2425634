#include "catalogue/CameraModelProbe.h"

#include "catalogue/RecordingCatalogue.h"

#include <QFile>

std::optional<int> ProbeCameraModelIndex(const QString& root)
{
    QFile file(WithTrailingSeparator(root) + QStringLiteral("Setup/setup.bin"));
    // Read-only: identifying a card must also work on a write-protected one.
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(26);
    if (head.size() < 19)
        return 0;
    switch (static_cast<unsigned char>(head.at(18))) {
    case 10:
        return 1;
    case 15:
        return 2;
    case 20:
        return 3;
    case 25:
        return 4;
    case 26:
        return 5;
    case 11:
        return 6;
    default:
        return 0;
    }
}
