#include "camera/CameraModel.h"

namespace {

// Order follows the enum values, so the table is indexed by them.
constexpr std::array<CameraModelInfo, kCameraModelCount> kModels = { {
    { CameraModel::Alpha, "Alpha", "KRV-ALPHA", 18, kNoModelCode, "KRV-ALPHA FW Ver %d.%d", true, false },
    { CameraModel::AlphaSp, "AlphaSp", "KRV-ALPHA_SP", 21, 10, "KRV-ALPHA SP FW Ver %d.%d", true, false },
    { CameraModel::Bravo, "Bravo", "KRV-BRAVO", 26, 15, "KRV-BRAVO FW Ver %d.%d", true, false },
    { CameraModel::Charlie, "Charlie", "KRV-CHARLIE", 26, 20, "KRV-CHARLIE FW Ver %d.%d", true, false },
    { CameraModel::Delta, "Delta", "KRV-DELTA", 98, 25, "KRV-DELTA FW Ver %d.%d", false, true },
    { CameraModel::Echo, "Echo", "KRV-ECHO_WDR", 100, 26, "KRV-ECHO WDR FW Ver %d.%d", false, true },
    { CameraModel::Foxtrot, "Foxtrot", "KRV-FOXTROT", 30, 11, "KRV-FOXTROT FW Ver %d.%d", true, false },
} };

} // namespace

const CameraModelInfo& cameraModelInfo(CameraModel model)
{
    const int index = static_cast<int>(model);
    // An out-of-range value can only come from a cast; treat it as the fallback model rather than read
    // past the table.
    return kModels[(index >= 0 && index < kCameraModelCount) ? index : 0];
}

std::optional<CameraModel> cameraModelFromIndex(int index)
{
    if (index < 0 || index >= kCameraModelCount)
        return std::nullopt;
    return static_cast<CameraModel>(index);
}

CameraModel CameraModelFromCode(int modelCode)
{
    for (const CameraModelInfo& info : kModels) {
        if (info.modelCode != kNoModelCode && info.modelCode == modelCode)
            return info.model;
    }
    return CameraModel::Alpha;
}

std::optional<CameraModel> CameraModelFromName(const QString& text)
{
    for (const CameraModelInfo& info : kModels) {
        if (text.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.model;
    }
    if (const auto model = CameraModelFromRegistryName(text))
        return model;
    bool isNumber = false;
    const int index = text.toInt(&isNumber);
    if (isNumber)
        return cameraModelFromIndex(index);
    return std::nullopt;
}

std::optional<CameraModel> CameraModelFromRegistryName(const QString& text)
{
    for (const CameraModelInfo& info : kModels) {
        if (text == QLatin1String(info.registryName))
            return info.model;
    }
    return std::nullopt;
}

QString CameraModelName(CameraModel model)
{
    return QLatin1String(cameraModelInfo(model).name);
}

QString CameraModelRegistryName(CameraModel model)
{
    return QLatin1String(cameraModelInfo(model).registryName);
}

int SetupRecordLength(CameraModel model)
{
    return cameraModelInfo(model).recordLength;
}

QString FirmwareText(CameraModel model, int major, int minor)
{
    return QString::asprintf(cameraModelInfo(model).firmwareFormat, major, minor);
}
