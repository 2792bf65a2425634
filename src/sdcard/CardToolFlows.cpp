#include "sdcard/CardToolFlows.h"

#include "app/StringTables.h"
#include "platform/CardDevices.h"
#include "sdcard/CDlgFormat.h"
#include "sdcard/CapacityTest.h"
#include "sdcard/CardFiles.h"
#include "sdcard/CardTexts.h"
#include "sdcard/ErrorCheck.h"
#include "sdcard/FatBootSector.h"
#include "sdcard/Formatter.h"
#include "sdcard/HelperProcess.h"
#include "sdcard/LowFormat.h"
#include "sdcard/ReadSpeedTest.h"
#include "sdcard/SettingsBackup.h"
#include "sdcard/SizeText.h"
#include "skin/CDlgMessage.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace cardtools {
namespace {

constexpr int kStrFormatQuestion = 253;
constexpr int kStrFormatComplete = 254;
constexpr int kStrFormatFailed = 255;
constexpr int kStrCheckQuestion = 284;
constexpr int kStrSpeedFailed = 286;
constexpr int kStrCheckClean = 287;
constexpr int kStrCheckErrors = 288;
constexpr int kStrCheckFailed = 289;
constexpr int kStrSpeedSlow = 293;
constexpr int kStrBackupFailed = 1500;
constexpr int kStrRestoreFailed = 1501;
constexpr int kStrCapacityQuestion = 1502;
constexpr int kStrCapacityGood = 1503;
constexpr int kStrCapacityBad = 1504;
constexpr int kStrCapacityFailed = 1505;

struct Devices
{
    explicit Devices(platform::CardDevices* given)
    {
        if (!given) {
            owned = platform::CreateCardDevices();
            given = owned.get();
        }
        d = given;
    }
    platform::CardDevices* operator->() const { return d; }
    platform::CardDevices& operator*() const { return *d; }
    std::unique_ptr<platform::CardDevices> owned;
    platform::CardDevices* d;
};

void say(const CardToolContext& c, int stringId)
{
    CDlgMessage::ask(CDlgMessage::StyleOk, stringId, c.parent);
}
void say(const CardToolContext& c, const QString& text)
{
    CDlgMessage::ask(CDlgMessage::StyleOk, text, QString(), c.parent);
}

void waitPumping(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The formatter on `target` (mount point or device), elevated when this process may not write the device.
bool runFormatter(
    platform::CardDevices& devices, const QString& device, uint64_t capacity, const QStringList& targetArgs)
{
    QStringList command { formatter::Program(), formatter::ClusterArgument(capacity) };
    command += targetArgs;
    return formatter::RunCommand(devices.privilegedCommand(device, command), &CDlgFormat::pump).ok;
}

// The recovery's zero writes over the unmounted volume, in the progress dialog.
int lowFormatJob(
    CDlgFormat& dialog, platform::CardDevices& devices, const platform::VolumeDetails& volume, uint64_t capacity)
{
    if (!devices.mayAccess(volume.device, true)) {
        // A desktop user may not write the device: the helper does it with the administrator's rights.
        const helperprocess::Run run = helperprocess::RunWithProgress(
            devices.privilegedCommand(volume.device, { formatter::Program(), QStringLiteral("--zero"), volume.device }),
            [&dialog](int p) { dialog.setPercent(p); }, &CDlgFormat::pump);
        const bool ok = run.exitedNormally && run.exitCode == 0 && formatter::OutputMeansSuccess(run.output)
            && run.lastProgress >= 100;
        return ok ? 1 : 2;
    }
    if (!devices.unmount(volume.root, nullptr))
        return 2;
    const std::unique_ptr<platform::RawVolume> raw
        = devices.openRaw(volume.device, platform::RawAccess::WriteExclusive, nullptr);
    if (!raw)
        return 2;
    const lowformat::Result r = lowformat::Run(
        *raw, capacity, [&dialog](int p) { dialog.setPercent(p); }, &CDlgFormat::pump);
    return r.ok ? 1 : 2;
}

} // namespace

bool FormatCard(const CardToolContext& c, const QString& root)
{
    Devices devices(c.devices);
    const std::optional<platform::VolumeDetails> volume = devices->volumeAt(root);
    const uint64_t capacity = devices->diskSpace(root).capacity;

    std::unique_ptr<CardFiles> card = CardFilesInFolder(root);
    const SettingsBackup backup
        = c.backupPath.isEmpty() ? SettingsBackup::make(*card) : SettingsBackup::make(*card, c.backupPath);
    // Without a copy on the PC, a format would lose the camera's settings: the user decides.
    if (backup.existed && !backup.backedUp
        && CDlgMessage::ask(CDlgMessage::StyleYesNo, kStrBackupFailed, c.parent) != CDlgMessage::ResultYes)
        return false;

    const int answer = CDlgMessage::ask(CDlgMessage::StyleFormatChooser, kStrFormatQuestion, c.parent);
    if (answer != CDlgMessage::ResultOk && answer != CDlgMessage::ResultNo)
        return true;

    if (c.emptyListReset)
        c.emptyListReset();
    bool ok = false;
    if (!volume) {
        ok = false;
    } else if (answer == CDlgMessage::ResultOk) {
        ok = runFormatter(*devices, volume->device, capacity, { volume->root });
    } else {
        CDlgFormat dialog(
            MaintenanceMode::LowFormat, c.countryCode,
            [&](CDlgFormat& d) { return lowFormatJob(d, *devices, *volume, capacity); }, c.parent);
        if (dialog.exec() == 1) {
            // The zeros took the file system and the mount: the first run formats the device and mounts it
            // at its old place, the second formats it again through the mount.
            ok = runFormatter(*devices, volume->device, capacity,
                     { volume->device, QStringLiteral("--mount-at"), volume->root, QStringLiteral("--label"),
                         volume->label })
                && runFormatter(*devices, volume->device, capacity, { volume->root });
        }
    }

    const SettingsRestore restore = RestoreSettings(backup, *card);
    if (restore.attempted)
        waitPumping(2000);
    say(c, ok ? kStrFormatComplete : kStrFormatFailed);
    if (restore.attempted && !restore.restored)
        say(c, StringById(kStrRestoreFailed).arg(restore.backupPath));
    return true;
}

void CheckCard(const CardToolContext& c, const QString& root)
{
    Devices devices(c.devices);
    const int answer = CDlgMessage::ask(CDlgMessage::StyleCheckChooser, kStrCheckQuestion, c.parent);
    if (answer != CDlgMessage::ResultOk && answer != CDlgMessage::ResultNo)
        return;
    const bool errorCheck = answer == CDlgMessage::ResultOk;
    if (c.emptyListReset)
        c.emptyListReset();
    const std::optional<platform::VolumeDetails> volume = devices->volumeAt(root);
    const QString device = volume ? volume->device : QString();

    if (errorCheck) {
        CDlgFormat dialog(
            MaintenanceMode::ErrorCheck, c.countryCode,
            [&](CDlgFormat& d) {
                if (device.isEmpty())
                    return 3;
                const errorcheck::Result r
                    = errorcheck::Run(device, true, { [&d](int p) { d.setPercent(p); }, {} }, &CDlgFormat::pump);
                return r.outcome == errorcheck::Outcome::Clean ? 1 : r.outcome == errorcheck::Outcome::Errors ? 2 : 3;
            },
            c.parent);
        const int result = dialog.exec();
        say(c, result == 1 ? kStrCheckClean : result == 2 ? kStrCheckErrors : kStrCheckFailed);
        return;
    }

    readspeed::Result speed;
    CDlgFormat dialog(
        MaintenanceMode::ReadSpeed, c.countryCode,
        [&](CDlgFormat& d) {
            if (device.isEmpty())
                return 2;
            readspeed::Options options;
            if (const std::optional<FatBootSector> bs = ReadFatBootSector(device)) {
                options.clusterBytes = bs->clusterBytes();
                options.totalClusters = bs->dataClusters;
            } else {
                const platform::DiskSpace space = devices->diskSpace(root);
                options.clusterBytes = std::max<uint32_t>(space.blockSize, 512);
                options.totalClusters = space.capacity / options.clusterBytes;
            }
            if (!devices->mayAccess(device, false)) {
                // Reading the device takes the administrator's rights: the CLI's test runs with them and reports.
                const helperprocess::Run run = helperprocess::RunWithProgress(
                    devices->privilegedCommand(device,
                        { helperprocess::CliProgram(), QStringLiteral("speedtest"), device,
                            QStringLiteral("--progress") }),
                    [&d](int p) { d.setPercent(p); }, &CDlgFormat::pump);
                const QJsonObject json = QJsonDocument::fromJson(run.output).object();
                speed.ok = run.exitedNormally && json.value(QStringLiteral("ok")).toBool();
                speed.clusters = static_cast<uint64_t>(json.value(QStringLiteral("clusters")).toInteger());
                speed.slow = static_cast<uint64_t>(json.value(QStringLiteral("slow")).toInteger());
                speed.shareHundredths = readspeed::SlowShareHundredths(speed.clusters, speed.slow);
                return speed.ok ? 1 : 2;
            }
            options.progress = [&d](int p) { d.setPercent(p); };
            options.pump = &CDlgFormat::pump;
            const std::unique_ptr<platform::RawVolume> raw
                = devices->openRaw(device, platform::RawAccess::ReadTimed, nullptr);
            if (!raw || options.totalClusters == 0)
                return 2;
            speed = readspeed::Run(*raw, options);
            return speed.ok ? 1 : 2;
        },
        c.parent);
    const int result = dialog.exec();
    if (result == 1 && readspeed::ResultStringId(speed.shareHundredths) == kStrSpeedSlow)
        say(c, FormatNumbers(StringById(kStrSpeedSlow), { qint64(speed.clusters), qint64(speed.slow) }));
    else if (result == 1)
        say(c, readspeed::ResultStringId(speed.shareHundredths));
    else if (result == 2)
        say(c, kStrSpeedFailed);
    else
        say(c, kStrCheckFailed);
}

void CapacityTestCard(const CardToolContext& c, const QString& root)
{
    if (CDlgMessage::ask(CDlgMessage::StyleOkCancel, kStrCapacityQuestion, c.parent) != CDlgMessage::ResultOk)
        return;
    if (c.emptyListReset)
        c.emptyListReset();
    capacitytest::Result result;
    QString error;
    CDlgFormat dialog(
        MaintenanceMode::ReadSpeed, c.countryCode,
        [&](CDlgFormat& d) {
            const std::unique_ptr<capacitytest::Medium> medium = capacitytest::FolderMedium(root, &error);
            if (!medium)
                return 2;
            capacitytest::Options options;
            options.progress = [&d](int p) { d.setPercent(p); };
            options.pump = &CDlgFormat::pump;
            result = capacitytest::Run(*medium, options);
            if (!result.ran)
                error = result.error;
            return result.ran ? 1 : 2;
        },
        c.parent);
    if (dialog.exec() != 1) {
        say(c, StringById(kStrCapacityFailed).arg(error));
        return;
    }
    const auto size = [&c](uint64_t bytes) { return DriveSizeText(bytes, c.countryCode); };
    if (result.badBytes == 0)
        say(c,
            StringById(kStrCapacityGood)
                .arg(size(result.testedBytes), QString::number(result.writeMBps, 'f', 1),
                    QString::number(result.readMBps, 'f', 1)));
    else
        say(c,
            StringById(kStrCapacityBad).arg(size(result.testedBytes), size(result.goodBytes), size(result.badBytes)));
}

} // namespace cardtools
