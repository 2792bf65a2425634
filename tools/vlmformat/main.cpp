// VLMFormat -c128|-c64 ROOT [--mount-at DIR] [--label LABEL] [--force]
// VLMFormat --zero ROOT
// VLMFormat --recover -c128|-c64 ROOT [--mount-at DIR] [--label LABEL] [--force]
//
// Formats a camera card, keeping its volume label: FAT32 with 128 or 64 sectors per cluster where that gives a
// valid FAT32, else the layout FatLayout picks for the card's size (a smaller cluster, or FAT16 on a very small
// card); a card too small for any FAT is refused before it is touched. ROOT is the mount point of a removable
// volume, a removable block device or a disk image file; anything else is refused, and so is what is plainly no
// camera card (over 2 TB, or a partition table with several partitions) unless --force is given.
// A mounted card is unmounted first and mounted again at the same place afterwards (--mount-at names that
// place when the card is no longer mounted).
//
// On success it prints exactly "zorvakin ok" (no line end) and nothing else: the viewer takes any other output
// as a failure. On failure it says why on standard error.
//
// --zero overwrites the whole volume with zeros after unmounting it, reporting "progress N" lines on standard
// error, and prints "zorvakin ok" when the zeros reached 100 %.
// --recover is the whole recovery format in one run, so that a desktop user is asked for the administrator's
// password once: the zeros (with progress lines), then the format, the mount at the card's old place, and a
// second format through that mount.
//
// Run as root (through pkexec or sudo for a desktop user) it trusts nothing it is handed: it mounts only at the
// card's previous mount point or below the user's media folder, always nosuid,nodev,noexec; it formats an image
// file only when the invoking user owns it; and it runs only the system's mkfs.fat, by its absolute path.
#include "platform/CardDevices.h"
#include "sdcard/CardTarget.h"
#include "sdcard/FatBootSector.h"
#include "sdcard/FatLayout.h"
#include "sdcard/FormatGuard.h"
#include "sdcard/Formatter.h"
#include "sdcard/HelperPolicy.h"
#include "sdcard/LowFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cstdio>

namespace {

constexpr char kSystemMkfs[] = "/usr/sbin/mkfs.fat";

int fail(const QString& message)
{
    std::fprintf(stderr, "VLMFormat: %s\n", message.toLocal8Bit().constData());
    return 1;
}

void sayMarker()
{
    std::fwrite(formatter::kSuccessMarker, 1, sizeof(formatter::kSuccessMarker) - 1, stdout);
    std::fflush(stdout);
}

// FAT labels: at most 11 characters, upper case, plain ASCII.
QString fatLabel(const QString& label)
{
    QString out;
    for (const QChar c : label.toUpper()) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f && !QStringLiteral("\"*+,./:;<=>?[\\]|").contains(c))
            out += c;
    }
    return out.left(11).trimmed();
}

QString mkfsProgram()
{
    // As root only the system's own tool; KORVANE_MKFS stands in for it in tests of the unelevated helper.
    if (platform::RunningAsRoot())
        return QString::fromLatin1(kSystemMkfs);
    return qEnvironmentVariable("KORVANE_MKFS", QString::fromLatin1(kSystemMkfs));
}

// Whether the boot sector mkfs.fat wrote holds a cluster count valid for its FAT kind.
bool layoutIsValid(const QString& path)
{
    const std::optional<FatBootSector> bs = ReadFatBootSector(path);
    if (!bs)
        return false;
    if (bs->fat32)
        return bs->dataClusters >= FatLayout::kMinFat32Clusters;
    return bs->dataClusters >= FatLayout::kMinFat16Clusters && bs->dataClusters <= FatLayout::kMaxFat16Clusters;
}

struct Job
{
    platform::CardDevices* devices = nullptr;
    CardTarget target;
    FatLayout layout;
    QString label;
    QString mountPoint; // where the card is mounted after the format; empty: left unmounted
};

// One format: unmount, mkfs.fat, mount again. Returns 0 or fails with the reason.
int formatOnce(Job& job, bool mounted)
{
    QString error;
    if (mounted && !job.devices->unmount(job.mountPoint, &error))
        return fail(error);
    QStringList mkfs { QStringLiteral("-F"), QString::number(job.layout.fatBits), QStringLiteral("-s"),
        QString::number(job.layout.clusterSectors) };
    if (!job.label.isEmpty())
        mkfs << QStringLiteral("-n") << job.label;
    if (job.target.kind == CardTarget::Kind::Device)
        mkfs << QStringLiteral("-I"); // cards formatted without a partition table are whole-device volumes
    mkfs << job.target.path;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    const QString program = mkfsProgram();
    process.start(program, mkfs);
    const bool finished = process.waitForFinished(30 * 60 * 1000);
    const QByteArray output = process.readAll();
    bool formatted = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    QString why = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(output).simplified());
    if (formatted && !layoutIsValid(job.target.path)) {
        formatted = false;
        why = QStringLiteral("%1 left a file system with an invalid cluster count: %2")
                  .arg(program, QString::fromLocal8Bit(output).simplified());
    }

    if (!job.mountPoint.isEmpty() && job.target.kind == CardTarget::Kind::Device) {
        if (!job.devices->mount(job.target.path, job.mountPoint, QStringLiteral("vfat"),
                platform::CardMountOptions(job.target.mountOptions), &error)) {
            if (formatted)
                return fail(error);
            fail(error);
        }
    }
    return formatted ? 0 : fail(why);
}

int zeroVolume(platform::CardDevices& devices, const CardTarget& target, bool mounted)
{
    const uint64_t capacity = CardTargetCapacity(target, devices);
    QString error;
    if (mounted && !devices.unmount(target.mountPoint, &error))
        return fail(error);
    const std::unique_ptr<platform::RawVolume> raw
        = devices.openRaw(target.path, platform::RawAccess::WriteExclusive, &error);
    if (!raw)
        return fail(error);
    const lowformat::Result r = lowformat::Run(*raw, capacity, [](int percent) {
        std::fprintf(stderr, "progress %d\n", percent);
        std::fflush(stderr);
    });
    if (!r.ok)
        return fail(QStringLiteral("writing zeros stopped at %1 %: %2").arg(r.percent).arg(raw->errorString()));
    return 0;
}

int usage()
{
    std::fprintf(stderr,
        "usage: VLMFormat -c128|-c64 ROOT [--mount-at DIR] [--label LABEL] [--force] | VLMFormat --zero ROOT | "
        "VLMFormat --recover -c128|-c64 ROOT [--mount-at DIR] [--label LABEL] [--force]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int clusterSectors = 0;
    QString root, mountAt, label;
    bool labelGiven = false, zero = false, recover = false, force = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-c128") || a == QLatin1String("-c64"))
            clusterSectors = a.mid(2).toInt();
        else if (a == QLatin1String("--zero"))
            zero = true;
        else if (a == QLatin1String("--recover"))
            recover = true;
        else if (a == QLatin1String("--force"))
            force = true;
        else if (a == QLatin1String("--mount-at") && i + 1 < args.size())
            mountAt = args[++i];
        else if (a == QLatin1String("--label") && i + 1 < args.size()) {
            label = args[++i];
            labelGiven = true;
        } else if (root.isEmpty() && !a.startsWith(QLatin1String("-")))
            root = a;
        else
            return fail(QStringLiteral("unexpected argument \"%1\"").arg(a)), usage();
    }
    if (root.isEmpty() || (zero && (recover || clusterSectors != 0)) || (!zero && clusterSectors == 0))
        return usage();

    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices();
    QString why;
    const std::optional<CardTarget> resolved = ResolveCardTarget(root, *devices, &why);
    if (!resolved)
        return fail(QStringLiteral("refused: %1").arg(why));
    const CardTarget& target = *resolved;
    const bool root_ = platform::RunningAsRoot();
    const platform::InvokingUser user = platform::CurrentInvokingUser();
    if (target.kind == CardTarget::Kind::ImageFile
        && !HelperPolicy::regularFileAllowed(root_, platform::FileOwner(target.path), user.uid))
        return fail(QStringLiteral("refused: %1 is a file that user %2 does not own").arg(target.path).arg(user.uid));
    if (zero) {
        const int r = zeroVolume(*devices, target, target.mounted());
        if (r == 0)
            sayMarker();
        return r;
    }

    // Everything that could refuse is decided before the card is touched.
    const FormatGuard::Facts facts = CardTargetFacts(target, *devices);
    const FormatGuard::Refusal refusal = FormatGuard::check(facts, clusterSectors, force);
    if (refusal != FormatGuard::Refusal::None)
        return fail(QStringLiteral("refused: %1").arg(FormatGuard::describe(refusal, facts)));
    Job job;
    job.devices = devices.get();
    job.target = target;
    job.layout = *FatLayout::forCard(facts.bytes, clusterSectors);
    job.label = fatLabel(labelGiven ? label : target.label);
    job.mountPoint = target.mounted() ? target.mountPoint : mountAt;
    if (!mountAt.isEmpty() && !target.mounted()) {
        // Never mounted over a folder in use.
        if (QDir(mountAt).exists()
            && !QDir(mountAt).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            return fail(QStringLiteral("refused: --mount-at %1 is not an empty folder").arg(mountAt));
        if (root_ && !HelperPolicy::mountAtAllowed(mountAt, target.mountPoint, user.name))
            return fail(QStringLiteral("refused: --mount-at %1 is neither the card's mount point nor below %2")
                            .arg(mountAt, HelperPolicy::mediaFolders(user.name).join(QStringLiteral(" or "))));
    }

    if (recover) {
        if (const int r = zeroVolume(*devices, target, target.mounted()))
            return r;
        if (const int r = formatOnce(job, false))
            return r;
        // The second format goes through the fresh mount, as the viewer's recovery always did.
        if (const int r = formatOnce(job, !job.mountPoint.isEmpty() && target.kind == CardTarget::Kind::Device))
            return r;
    } else if (const int r = formatOnce(job, target.mounted())) {
        return r;
    }
    sayMarker();
    return 0;
}
