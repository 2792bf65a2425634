#include "sdcard/SizeText.h"

QString DriveSizeText(uint64_t bytes, int countryCode)
{
    constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024;
    if (bytes < kKiB) {
        QString digits = QString::number(bytes);
        for (qsizetype pos = digits.size() - 3; pos > 0; pos -= 3)
            digits.insert(pos, QLatin1Char(','));
        return digits + (countryCode == 82 ? QStringLiteral("바이트") : QStringLiteral("Byte"));
    }
    double value;
    const char* unit;
    if (bytes < kMiB) {
        value = static_cast<double>(bytes) / kKiB;
        unit = "KB";
    } else if (bytes < kGiB) {
        value = static_cast<double>(bytes) / kMiB;
        unit = "MB";
    } else {
        value = static_cast<double>(bytes) / kGiB;
        unit = "GB";
    }
    return QString::asprintf("%0.2f%s", value, unit);
}
