#include "sdcard/CardToolFlows.h"

#include "app/StringTables.h"
#include "platform/CardDevices.h"
#include "sdcard/CDlgFormat.h"
#include "sdcard/CapacityTest.h"
#include "sdcard/CardFiles.h"
#include "sdcard/CardTarget.h"
#include "sdcard/CardTexts.h"
#include "sdcard/ErrorCheck.h"
#include "sdcard/FatBootSector.h"
#include "sdcard/FormatGuard.h"
#include "sdcard/Formatter.h"
#include "sdcard/HelperProcess.h"
#include "sdcard/LowFormat.h"
#include "sdcard/ReadSpeedTest.h"
#include "sdcard/SettingsBackup.h"
#include "sdcard/SizeText.h"
#include "skin/CDlgMessage.h"

#include <QEventLoop>
#include <QFileInfo>
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
constexpr int kStrCancelled = 1507;
constexpr int kStrNotAuthorised = 1508;
constexpr int kStrTooLarge = 1509;
constexpr int kStrSeveralPartitions = 1510;
constexpr int kStrTooSmall = 1511;
constexpr int kStrFormatTarget = 1513;

// What a job in the progress dialog ends with: the dialog's own 1 and 2 (3 is the error check's "failed"),
// and two more for a password prompt that did not let the job start.
constexpr int kJobCancelled = 4;
constexpr int kJobNotAuthorised = 5;

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

int jobResult(formatter::JobEnd end)
{
    switch (end) {
    case formatter::JobEnd::Done:
        return 1;
    case formatter::JobEnd::Cancelled:
        return kJobCancelled;
    case formatter::JobEnd::NotAuthorised:
        return kJobNotAuthorised;
    case formatter::JobEnd::Failed:
        break;
    }
    return 2;
}

// A password prompt that was dismissed or refused: the job never started and nothing changed.
bool sayIfNotStarted(const CardToolContext& c, int result)
{
    if (result == kJobCancelled)
        say(c, kStrCancelled);
    else if (result == kJobNotAuthorised)
        say(c, kStrNotAuthorised);
    return result == kJobCancelled || result == kJobNotAuthorised;
}

// The formatter on `targetArgs` (mount point or device), elevated when the job needs the administrator's rights.
formatter::JobEnd runFormatter(
    platform::CardDevices& devices, const CardTarget& target, int clusterSectors, const QStringList& targetArgs)
{
    const bool elevated = devices.needsElevation(target.path);
    // Elevated, only the installed helper runs: without it there is nothing to ask the password for.
    if (elevated && formatter::InstalledProgram().isEmpty())
        return formatter::JobEnd::Failed;
    QStringList command { formatter::Program(elevated), QStringLiteral("-c%1").arg(clusterSectors) };
    command += targetArgs;
    if (elevated)
        command = devices.elevated(command);
    return formatter::JobEndOf(elevated, formatter::RunCommand(command, &CDlgFormat::pump));
}

// The whole recovery in one run of the helper (zeros, format, mount, format again), so that a desktop user is
// asked for the administrator's password once. A block device always takes this road: its unmount and mount
// need root, which the helper has.
int recoveryByHelper(CDlgFormat& dialog, platform::CardDevices& devices, const CardTarget& target, int clusterSectors)
{
    const bool elevated = devices.needsElevation(target.path);
    if (elevated && formatter::InstalledProgram().isEmpty())
        return 2;
    QStringList command { formatter::Program(elevated), QStringLiteral("--recover"),
        QStringLiteral("-c%1").arg(clusterSectors), target.path };
    if (elevated)
        command = devices.elevated(command);
    const helperprocess::Run run = helperprocess::RunWithProgress(
        command, [&dialog](int p) { dialog.setPercent(p); }, &CDlgFormat::pump);
    const bool ok = run.exitedNormally && run.exitCode == 0 && formatter::OutputMeansSuccess(run.output)
        && run.lastProgress >= 100;
    return jobResult(formatter::JobEndOf(elevated, run.started, run.exitedNormally, run.exitCode, ok));
}

// The recovery where this process itself may write the volume (an image file): the zeros here, in the progress
// dialog, then the formatter twice.
int recoveryHere(
    CDlgFormat& dialog, platform::CardDevices& devices, const CardTarget& target, uint64_t capacity, int clusterSectors)
{
    if (target.mounted() && !devices.unmount(target.mountPoint, nullptr))
        return 2;
    {
        const std::unique_ptr<platform::RawVolume> raw
            = devices.openRaw(target.path, platform::RawAccess::WriteExclusive, nullptr);
        if (!raw)
            return 2;
        const lowformat::Result r = lowformat::Run(
            *raw, capacity, [&dialog](int p) { dialog.setPercent(p); }, &CDlgFormat::pump);
        if (!r.ok)
            return 2;
    }
    // The zeros took the file system and the mount: the first run formats the device and mounts it at its old
    // place, the second formats it again through the mount.
    QStringList first { target.path };
    if (target.mounted())
        first << QStringLiteral("--mount-at") << target.mountPoint;
    first << QStringLiteral("--label") << target.label;
    const formatter::JobEnd one = runFormatter(devices, target, clusterSectors, first);
    if (one != formatter::JobEnd::Done)
        return jobResult(one);
    return jobResult(
        runFormatter(devices, target, clusterSectors, { target.mounted() ? target.mountPoint : target.path }));
}

QString refusalText(FormatGuard::Refusal refusal, const FormatGuard::Facts& facts, int country)
{
    switch (refusal) {
    case FormatGuard::Refusal::TooLarge:
        return StringById(kStrTooLarge).arg(DriveSizeText(std::max(facts.bytes, facts.diskBytes), country));
    case FormatGuard::Refusal::SeveralPartitions:
        return StringById(kStrSeveralPartitions).arg(facts.partitions);
    case FormatGuard::Refusal::TooSmall:
        return StringById(kStrTooSmall).arg(DriveSizeText(facts.bytes, country));
    case FormatGuard::Refusal::None:
        break;
    }
    return {};
}

// The format chooser's question, led by what is about to be erased: model (or label, or device name) and size.
QString formatQuestion(const CardTarget& target, const FormatGuard::Facts& facts, int country)
{
    QString name = facts.model;
    if (name.isEmpty())
        name = target.label;
    if (name.isEmpty())
        name = QFileInfo(target.path).fileName();
    return StringById(kStrFormatTarget).arg(name, DriveSizeText(facts.bytes, country), target.path)
        + QStringLiteral("\n\n") + StringById(kStrFormatQuestion);
}

} // namespace

QString FormatQuestionText(const CardTarget& target, const FormatGuard::Facts& facts, int countryCode)
{
    return formatQuestion(target, facts, countryCode);
}

bool FormatCard(const CardToolContext& c, const QString& key)
{
    Devices devices(c.devices);
    QString why;
    const std::optional<CardTarget> target = ResolveCardTarget(key, *devices, &why);
    if (!target) {
        say(c, kStrFormatFailed);
        return true;
    }
    const uint64_t capacity = CardTargetCapacity(*target, *devices);
    const int clusterSectors = formatter::ClusterSectors(capacity);
    // What is plainly no camera card, or too small for any valid FAT, is refused before anything is touched.
    const FormatGuard::Facts facts = CardTargetFacts(*target, *devices);
    const FormatGuard::Refusal refusal = FormatGuard::check(facts, clusterSectors, false);
    if (refusal != FormatGuard::Refusal::None) {
        say(c, refusalText(refusal, facts, c.countryCode));
        return false;
    }

    const std::unique_ptr<CardFiles> card = CardFilesOf(*target);
    const SettingsBackup backup
        = c.backupPath.isEmpty() ? SettingsBackup::make(*card) : SettingsBackup::make(*card, c.backupPath);
    // Without a copy on the PC, a format would lose the camera's settings: the user decides.
    if (backup.existed && !backup.backedUp
        && CDlgMessage::ask(CDlgMessage::StyleYesNo, kStrBackupFailed, c.parent) != CDlgMessage::ResultYes)
        return false;

    const int answer = CDlgMessage::ask(
        CDlgMessage::StyleFormatChooser, formatQuestion(*target, facts, c.countryCode), QString(), c.parent);
    if (answer != CDlgMessage::ResultOk && answer != CDlgMessage::ResultNo)
        return true;

    if (c.emptyListReset)
        c.emptyListReset();
    const bool recovery = answer == CDlgMessage::ResultNo;
    // Either kind runs in the progress window, which holds the drive dialog still until the job is over.
    CDlgFormat dialog(
        MaintenanceMode::LowFormat, c.countryCode,
        [&](CDlgFormat& d) {
            if (!recovery)
                return jobResult(runFormatter(
                    *devices, *target, clusterSectors, { target->mounted() ? target->mountPoint : target->path }));
            if (devices->needsElevation(target->path) || devices->isBlockDevice(target->path))
                return recoveryByHelper(d, *devices, *target, clusterSectors);
            return recoveryHere(d, *devices, *target, capacity, clusterSectors);
        },
        c.parent);
    const int result = dialog.exec();
    if (sayIfNotStarted(c, result))
        return true;
    const bool ok = result == 1;

    // The settings go back only where the mount table proves the card is; otherwise their copy stays on the PC.
    const std::unique_ptr<CardFiles> formatted = CardFilesAfterFormat(*target, *devices);
    const SettingsRestore restore = formatted ? RestoreSettings(backup, *formatted) : KeepSettingsBackup(backup);
    if (restore.attempted)
        waitPumping(2000);
    say(c, ok ? kStrFormatComplete : kStrFormatFailed);
    if (restore.attempted && !restore.restored)
        say(c, StringById(kStrRestoreFailed).arg(restore.backupPath));
    return true;
}

void CheckCard(const CardToolContext& c, const QString& key)
{
    Devices devices(c.devices);
    const int answer = CDlgMessage::ask(CDlgMessage::StyleCheckChooser, kStrCheckQuestion, c.parent);
    if (answer != CDlgMessage::ResultOk && answer != CDlgMessage::ResultNo)
        return;
    const bool errorCheck = answer == CDlgMessage::ResultOk;
    if (c.emptyListReset)
        c.emptyListReset();
    const std::optional<CardTarget> target = ResolveCardTarget(key, *devices, nullptr);
    const QString device = target ? target->path : QString();
    const bool mounted = target && target->mounted();

    if (errorCheck) {
        CDlgFormat dialog(
            MaintenanceMode::ErrorCheck, c.countryCode,
            [&](CDlgFormat& d) {
                if (device.isEmpty())
                    return 3;
                const errorcheck::Result r = errorcheck::Run(device, mounted, { [&d](int p) { d.setPercent(p); }, {} },
                    &CDlgFormat::pump, 30 * 60 * 1000, &*devices);
                const int notStarted = jobResult(formatter::JobEndOf(
                    r.elevated, r.started, r.exitedNormally, r.exitStatus, r.outcome != errorcheck::Outcome::Failed));
                if (notStarted == kJobCancelled || notStarted == kJobNotAuthorised)
                    return notStarted;
                return r.outcome == errorcheck::Outcome::Clean ? 1 : r.outcome == errorcheck::Outcome::Errors ? 2 : 3;
            },
            c.parent);
        const int result = dialog.exec();
        if (sayIfNotStarted(c, result))
            return;
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
            } else if (mounted) {
                const platform::DiskSpace space = devices->diskSpace(target->mountPoint);
                options.clusterBytes = std::max<uint32_t>(space.blockSize, 512);
                options.totalClusters = space.capacity / options.clusterBytes;
            } else {
                // No readable file system: the device in the camera's cluster size.
                options.clusterBytes = 32768;
                options.totalClusters = CardTargetDeviceBytes(*target, *devices) / options.clusterBytes;
            }
            if (!devices->mayAccess(device, false)) {
                // Reading the device takes the administrator's rights: the CLI's test runs with them and reports.
                const helperprocess::Run run = helperprocess::RunWithProgress(
                    devices->elevated({ helperprocess::CliProgram(true), QStringLiteral("speedtest"), device,
                        QStringLiteral("--progress") }),
                    [&d](int p) { d.setPercent(p); }, &CDlgFormat::pump);
                const QJsonObject json = QJsonDocument::fromJson(run.output).object();
                speed.ok = run.exitedNormally && json.value(QStringLiteral("ok")).toBool();
                speed.clusters = static_cast<uint64_t>(json.value(QStringLiteral("clusters")).toInteger());
                speed.slow = static_cast<uint64_t>(json.value(QStringLiteral("slow")).toInteger());
                speed.shareHundredths = readspeed::SlowShareHundredths(speed.clusters, speed.slow);
                const int notStarted
                    = jobResult(formatter::JobEndOf(true, run.started, run.exitedNormally, run.exitCode, speed.ok));
                if (notStarted == kJobCancelled || notStarted == kJobNotAuthorised)
                    return notStarted;
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
    if (sayIfNotStarted(c, result))
        return;
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
