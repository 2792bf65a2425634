// card-gallery OUTDIR: the drive dialog (OUTDIR/disk-dialog.png) and the progress dialog of the card tools in
// its three modes (OUTDIR/format-dialog.png), in English, Japanese and Korean, with made-up cards.
#include "platform/CardDevices.h"
#include "platform/RemovableVolumes.h"
#include "sdcard/CDlgDisk.h"
#include "sdcard/CDlgFormat.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QTranslator>
#include <QTreeWidget>

#include <cstdio>
#include <memory>

namespace {

// Three cards as a desktop would mount them.
class GalleryDevices : public platform::CardDevices
{
public:
    std::optional<platform::VolumeDetails> volumeAt(const QString& root) const override
    {
        if (root.contains(QLatin1String("KORVANE")))
            return platform::VolumeDetails { root, QStringLiteral("/dev/sdb1"), QStringLiteral("KORVANE"),
                QStringLiteral("vfat"), QString() };
        if (root.contains(QLatin1String("3961")))
            return platform::VolumeDetails { root, QStringLiteral("/dev/sdc1"), QString(), QStringLiteral("vfat"),
                QString() };
        return platform::VolumeDetails { root, QStringLiteral("/dev/sdd1"), QStringLiteral("BACKUP"),
            QStringLiteral("exfat"), QString() };
    }
    std::optional<QString> mountPointOf(const QString&) const override { return std::nullopt; }
    platform::DiskSpace diskSpace(const QString& root) const override
    {
        if (root.contains(QLatin1String("KORVANE")))
            return { 31902400512ULL, 12113477632ULL, 31902400512ULL - 12113477632ULL, 65536 };
        if (root.contains(QLatin1String("3961")))
            return { 15923150848ULL, 15923150848ULL - 524288, 524288, 32768 };
        return {};
    }
    bool isRemovableDevice(const QString&) const override { return true; }
    bool isBlockDevice(const QString&) const override { return true; }
    bool unmount(const QString&, QString*) override { return false; }
    bool mount(const QString&, const QString&, const QString&, const QString&, QString*) override { return false; }
    std::unique_ptr<platform::RawVolume> openRaw(const QString&, platform::RawAccess, QString*) const override
    {
        return nullptr;
    }
    bool isMountOf(const QString&, const QString&) const override { return false; }
    platform::DeviceFacts deviceFacts(const QString&) const override { return {}; }
    bool needsElevation(const QString&) const override { return true; }
    QStringList elevated(const QStringList& c) const override { return c; }
    bool mayAccess(const QString&, bool) const override { return false; }
};

struct Language
{
    QString table, module, name;
    int country;
};

// Stacks labelled pictures on a dark sheet.
QImage sheet(const QList<QPair<QString, QImage>>& parts)
{
    const int pad = 16, label = 22;
    int w = 0, h = pad;
    for (const auto& p : parts) {
        w = std::max(w, p.second.width());
        h += label + p.second.height() + pad;
    }
    QImage out(w + 2 * pad, h, QImage::Format_ARGB32);
    out.fill(QColor(58, 60, 66));
    QPainter painter(&out);
    painter.setFont(SkinFont(15, true));
    painter.setPen(QColor(235, 235, 235));
    int y = pad;
    for (const auto& p : parts) {
        painter.drawText(QRect(pad, y, w, label), Qt::AlignLeft | Qt::AlignVCenter, p.first);
        y += label;
        painter.drawImage(pad, y, p.second);
        y += p.second.height() + pad;
    }
    return out;
}

QImage grab(QWidget& w)
{
    w.show();
    QCoreApplication::processEvents();
    QImage image = w.grab().toImage();
    w.hide();
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: card-gallery OUTDIR\n");
        return 2;
    }
    const QString outDir = app.arguments().at(1);
    QDir().mkpath(outDir);
    const QList<Language> languages = {
        { QStringLiteral("en"), QStringLiteral("ResourceE"), QStringLiteral("English"), 1 },
        { QStringLiteral("ja"), QStringLiteral("ResourceJ"), QStringLiteral("日本語"), 81 },
        { QStringLiteral("ko"), QStringLiteral("Resource"), QStringLiteral("한국어"), 82 },
    };
    const QStringList roots = { QStringLiteral("/media/driver/3961-6A0C/"), QStringLiteral("/media/driver/BACKUP/"),
        QStringLiteral("/media/driver/KORVANE/") };
    QList<QPair<QString, QImage>> disks, formats;
    const struct
    {
        MaintenanceMode mode;
        int percent;
        const char* what;
    } modes[] = { { MaintenanceMode::LowFormat, 42, "recovery format" },
        { MaintenanceMode::ReadSpeed, 67, "read-speed test" }, { MaintenanceMode::ErrorCheck, 100, "error check" } };
    int modeIndex = 0;
    for (const Language& lang : languages) {
        SkinModule::unload();
        if (!SkinModule::load(QCoreApplication::applicationDirPath(), lang.module)) {
            std::fprintf(stderr, "card-gallery: no skin module %s beside the program\n", qPrintable(lang.module));
            return 1;
        }
        QTranslator translator;
        if (!translator.load(QStringLiteral(":/i18n/korvane_%1.qm").arg(lang.table))) {
            std::fprintf(stderr, "card-gallery: no string table %s\n", qPrintable(lang.table));
            return 1;
        }
        QCoreApplication::installTranslator(&translator);

        CDlgDisk disk;
        // A damaged card without a mounted volume follows the mounted ones, by device and size.
        disk.setSources(std::make_shared<FixedRemovableVolumes>(roots,
                            QList<UnmountedCard> { { QStringLiteral("/dev/mmcblk0p1"), 31914983424ULL,
                                QStringLiteral("SD card SD32G") } }),
            std::make_shared<GalleryDevices>());
        disk.setUp({}, roots.last(), lang.country);
        disk.fillList();
        disks << qMakePair(QStringLiteral("%1 — drive dialog, the open card selected").arg(lang.name), grab(disk));

        // Each language shows one mode, so the sheet holds all three.
        const auto& m = modes[modeIndex++];
        formats << qMakePair(QStringLiteral("%1 — %2").arg(lang.name, QLatin1String(m.what)), QImage());
        CDlgFormat shown(m.mode, lang.country, [&](CDlgFormat& d) {
            d.setPercent(m.percent);
            // Let the dialog's 100 ms timer show the percent, as it does while a job works.
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < 300)
                CDlgFormat::pump();
            formats.last().second = d.grab().toImage();
            return 1;
        });
        shown.exec();
        QCoreApplication::removeTranslator(&translator);
    }
    const QString diskFile = QDir(outDir).filePath(QStringLiteral("disk-dialog.png"));
    const QString formatFile = QDir(outDir).filePath(QStringLiteral("format-dialog.png"));
    if (!sheet(disks).save(diskFile) || !sheet(formats).save(formatFile)) {
        std::fprintf(stderr, "card-gallery: cannot write into %s\n", qPrintable(outDir));
        return 1;
    }
    return 0;
}
