#pragma once

#include <QString>

#include <array>
#include <optional>

// The seven camera models, numbered as the main window keeps them in modelIndex.
enum class CameraModel : int { Alpha = 0, AlphaSp = 1, Bravo = 2, Charlie = 3, Delta = 4, Echo = 5, Foxtrot = 6 };

inline constexpr int kCameraModelCount = 7;
inline constexpr std::array<CameraModel, kCameraModelCount> kAllCameraModels
    = { CameraModel::Alpha, CameraModel::AlphaSp, CameraModel::Bravo, CameraModel::Charlie, CameraModel::Delta,
          CameraModel::Echo, CameraModel::Foxtrot };

// Byte 18 of the settings file holds the model code; an 18-byte Alpha file ends before it.
inline constexpr int kModelCodeOffset = 18;
inline constexpr int kNoModelCode = -1;

struct CameraModelInfo
{
    CameraModel model;
    const char* name; // "Alpha", "AlphaSp", ... as korvane-cli prints it
    const char* registryName; // the registry value "Type"
    int recordLength; // length of the settings record
    int modelCode; // byte 18; kNoModelCode for Alpha
    const char* firmwareFormat; // firmware text, "%d.%d" taking bytes 0 and 1
    bool checksSizeOnSave; // the record is written only over a file of exactly its length
    bool recordsMp4; // MP4 recordings and no map in the main window
};

const CameraModelInfo& cameraModelInfo(CameraModel model);

inline int cameraModelIndex(CameraModel model)
{
    return static_cast<int>(model);
}
std::optional<CameraModel> cameraModelFromIndex(int index);

// The model a settings file belongs to, from its byte 18; codes that no model uses mean Alpha.
CameraModel CameraModelFromCode(int modelCode);

// "Alpha" ... "Foxtrot" (any letter case), a registry "Type" text (exactly), or an index "0" ... "6".
std::optional<CameraModel> CameraModelFromName(const QString& text);

// The "Type" text compared exactly, as the settings command does when no card is readable.
std::optional<CameraModel> CameraModelFromRegistryName(const QString& text);

QString CameraModelName(CameraModel model);
QString CameraModelRegistryName(CameraModel model);
int SetupRecordLength(CameraModel model);

// The firmware text for version major.minor, e.g. "KRV-DELTA FW Ver 1.12".
QString FirmwareText(CameraModel model, int major, int minor);
