// VLMFormat -c128|-c64 ROOT [--mount-at DIR] [--label LABEL]
// VLMFormat --zero ROOT
//
// Formats a camera card as FAT32 with 128 or 64 sectors per cluster, keeping its volume label. ROOT is the
// mount point of a removable volume, a removable block device or a disk image file; anything else is refused.
// A mounted card is unmounted first and mounted again at the same place afterwards (--mount-at names that
// place when the card is no longer mounted, as after the recovery's zero writes).
//
// On success it prints exactly "zorvakin ok" (no line end) and nothing else: the viewer takes any other output
// as a failure. On failure it says why on standard error.
//
// --zero is the recovery's first half for a user without the rights to write the device: it unmounts the card
// and overwrites the whole volume with zeros, reporting "progress N" lines on standard error, and prints
// "zorvakin ok" when the zeros reached 100 %. The card is left without a file system for the format that follows.
#include "platform/CardDevices.h"
#include "sdcard/CardTarget.h"
#include "sdcard/Formatter.h"
#include "sdcard/LowFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "VLMFormat: %s\n", message.toLocal8Bit().constData());
    return 1;
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

int zeroVolume(platform::CardDevices& devices, const CardTarget& target)
{
    const uint64_t capacity = CardTargetCapacity(target, devices);
    QString error;
    if (target.mounted() && !devices.unmount(target.mountPoint, &error))
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
    std::fwrite(formatter::kSuccessMarker, 1, sizeof(formatter::kSuccessMarker) - 1, stdout);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int clusterSectors = 0;
    QString root, mountAt, label;
    bool labelGiven = false;
    bool zero = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-c128") || a == QLatin1String("-c64"))
            clusterSectors = a.mid(2).toInt();
        else if (a == QLatin1String("--zero"))
            zero = true;
        else if (a == QLatin1String("--mount-at") && i + 1 < args.size())
            mountAt = args[++i];
        else if (a == QLatin1String("--label") && i + 1 < args.size()) {
            label = args[++i];
            labelGiven = true;
        } else if (root.isEmpty() && !a.startsWith(QLatin1String("-")))
            root = a;
        else
            return fail(QStringLiteral("unexpected argument \"%1\"; usage: VLMFormat -c128|-c64 ROOT").arg(a)), 2;
    }
    if ((clusterSectors == 0) == !zero || root.isEmpty()) {
        std::fprintf(
            stderr, "usage: VLMFormat -c128|-c64 ROOT [--mount-at DIR] [--label LABEL] | VLMFormat --zero ROOT\n");
        return 2;
    }

    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices();
    QString why;
    const std::optional<CardTarget> target = ResolveCardTarget(root, *devices, &why);
    if (!target)
        return fail(QStringLiteral("refused: %1").arg(why));
    if (zero)
        return zeroVolume(*devices, *target);
    if (!labelGiven)
        label = target->label;
    label = fatLabel(label);

    QString mountPoint = target->mounted() ? target->mountPoint : mountAt;
    // Run with the administrator's rights, the helper must not mount a card over a folder in use.
    if (!target->mounted() && !mountAt.isEmpty() && QDir(mountAt).exists()
        && !QDir(mountAt).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        return fail(QStringLiteral("refused: --mount-at %1 is not an empty folder").arg(mountAt));
    if (target->mounted()) {
        QString error;
        if (!devices->unmount(target->mountPoint, &error))
            return fail(error);
    }

    QStringList mkfs { QStringLiteral("-F"), QStringLiteral("32"), QStringLiteral("-s"),
        QString::number(clusterSectors) };
    if (!label.isEmpty())
        mkfs << QStringLiteral("-n") << label;
    if (target->kind == CardTarget::Kind::Device)
        mkfs << QStringLiteral("-I"); // cards formatted without a partition table are whole-device volumes
    mkfs << target->path;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString program = qEnvironmentVariable("KORVANE_MKFS", QStringLiteral("mkfs.fat"));
    process.start(program, mkfs);
    const bool finished = process.waitForFinished(30 * 60 * 1000);
    const QByteArray output = process.readAll();
    const bool formatted = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;

    if (!mountPoint.isEmpty() && target->kind == CardTarget::Kind::Device) {
        QString error;
        if (!devices->mount(target->path, mountPoint, QStringLiteral("vfat"),
                platform::CardMountOptions(target->mountOptions), &error)) {
            if (formatted)
                return fail(error);
            fail(error);
        }
    }
    if (!formatted)
        return fail(QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(output).simplified()));

    std::fwrite(formatter::kSuccessMarker, 1, sizeof(formatter::kSuccessMarker) - 1, stdout);
    std::fflush(stdout);
    return 0;
}
