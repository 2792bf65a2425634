// The drive dialog, the progress dialog and the card-tool flows, driven without a human: message boxes take
// preset answers, the card is a folder (for files) and an image file (for the device), and the formatter is a
// small script standing in for the helper.
#include "CardImages.h"

#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "platform/CardDevices.h"
#include "platform/RemovableVolumes.h"
#include "sdcard/CDlgDisk.h"
#include "sdcard/CDlgFormat.h"
#include "sdcard/CardToolFlows.h"
#include "sdcard/FatBootSector.h"
#include "skin/CDlgMessage.h"
#include "skin/CProgress.h"
#include "skin/CSkinButton.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace card_test;

namespace {

// Mount points are plain folders; each one's "device" is an image file.
class FakeDevices : public platform::CardDevices
{
public:
    QMap<QString, QString> deviceOf; // root -> image
    QMap<QString, platform::DiskSpace> space;
    QStringList unmounted;

    std::optional<platform::VolumeDetails> volumeAt(const QString& root) const override
    {
        if (!deviceOf.contains(root))
            return std::nullopt;
        return platform::VolumeDetails { root, deviceOf[root], QStringLiteral("KORVANE"), QStringLiteral("vfat"),
            QString() };
    }
    std::optional<QString> mountPointOf(const QString& device) const override
    {
        const QString root = deviceOf.key(device);
        return root.isEmpty() || remountFailed() ? std::nullopt : std::optional<QString>(root);
    }
    // After a format whose remount failed, the folder is no mount of the card any more.
    bool isMountOf(const QString& mountPoint, const QString& device) const override
    {
        return deviceOf.value(mountPoint) == device && !remountFailed();
    }
    bool remountFailed() const { return !remountFailedFlag.isEmpty() && QFile::exists(remountFailedFlag); }
    QString remountFailedFlag; // a file the formatter's stand-in creates
    platform::DeviceFacts deviceFacts(const QString&) const override { return facts; }
    platform::DeviceFacts facts;
    platform::DiskSpace diskSpace(const QString& root) const override { return space.value(root); }
    bool isRemovableDevice(const QString&) const override { return true; }
    bool isBlockDevice(const QString&) const override { return false; }
    bool unmount(const QString& mountPoint, QString*) override
    {
        unmounted << mountPoint;
        return true;
    }
    bool mount(const QString&, const QString&, const QString&, const QString&, QString*) override { return true; }
    std::unique_ptr<platform::RawVolume> openRaw(
        const QString& path, platform::RawAccess access, QString* error) const override
    {
        return platform::CreateCardDevices()->openRaw(path, access, error);
    }
    // As for a desktop user: the whole-card jobs run elevated, through `pkexec` (a stand-in script).
    bool needsElevation(const QString&) const override { return !direct; }
    QStringList elevated(const QStringList& command) const override
    {
        QStringList out = command;
        out.prepend(pkexec);
        return out;
    }
    QString pkexec;
    // False: as for a desktop user, the device is reached only through the helpers.
    bool mayAccess(const QString&, bool) const override { return direct; }
    bool direct = true;
};

QString writeScript(const QString& path, const QByteArray& body)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList askedTexts()
{
    QStringList texts;
    for (const CDlgMessage::Asked& a : CDlgMessage::takeAsked())
        texts << QStringLiteral("%1:%2").arg(a.style).arg(a.text);
    return texts;
}

QString asked(int style, int stringId)
{
    return QStringLiteral("%1:%2").arg(style).arg(StringById(stringId));
}

// The format chooser, led by the card's name (model, else label, else device name), size and device.
QString askedFormat(const QString& name, const QString& size, const QString& device)
{
    return QStringLiteral("1024:") + StringById(1513).arg(name, size, device) + QStringLiteral("\n\n")
        + StringById(253);
}

} // namespace

class CardDialogsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_rootA, m_rootB;
    std::shared_ptr<FakeDevices> m_devices;

    std::unique_ptr<CDlgDisk> makeDialog(std::function<void()> reset = {}, const QString& proposed = QString())
    {
        auto dialog = std::make_unique<CDlgDisk>();
        dialog->setSources(std::make_shared<FixedRemovableVolumes>(QStringList { m_rootA, m_rootB }), m_devices);
        dialog->setUp(std::move(reset), proposed, 1);
        dialog->setBackupPath(m_dir.filePath(QStringLiteral("Desktop/KORVANE/Setup/setup.bin")));
        dialog->fillList();
        return dialog;
    }

    // Clicks a button of the dialog once the dialog runs its own event loop.
    void clickLater(CDlgDisk* dialog, int controlId)
    {
        QTimer::singleShot(
            0, dialog, [dialog, controlId] { QTest::mouseClick(dialog->button(controlId), Qt::LeftButton); });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        QVERIFY(InstallStringTable(*QCoreApplication::instance(), QStringLiteral("en")));
    }

    void init()
    {
        CDlgMessage::clearNextAnswers();
        CDlgMessage::takeAsked();
        m_rootA = m_dir.filePath(QStringLiteral("media/CARD_A")) + QLatin1Char('/');
        m_rootB = m_dir.filePath(QStringLiteral("media/CARD_B")) + QLatin1Char('/');
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_rootA);
        QDir().mkpath(m_rootB);
        m_devices = std::make_shared<FakeDevices>();
        m_devices->deviceOf[m_rootA] = m_dir.filePath(QStringLiteral("a.img"));
        m_devices->deviceOf[m_rootB] = m_dir.filePath(QStringLiteral("b.img"));
        m_devices->space[m_rootA] = { 15923150848ULL, 1073741824ULL, 15923150848ULL - 1073741824ULL, 32768 };
        qunsetenv("KORVANE_FORMATTER");
    }

    void listShowsNamesAndSizesAndReselectsAfterRefresh()
    {
        auto dialog = makeDialog({}, m_rootB);
        QTreeWidget* list = dialog->list();
        QCOMPARE(list->topLevelItemCount(), 2);
        QString mountA = m_rootA;
        mountA.chop(1);
        QCOMPARE(list->topLevelItem(0)->text(CDlgDisk::NameColumn), QStringLiteral("KORVANE (%1)").arg(mountA));
        QCOMPARE(list->topLevelItem(0)->text(CDlgDisk::CapacityColumn), QStringLiteral("14.83GB"));
        QCOMPARE(list->topLevelItem(0)->text(CDlgDisk::FreeColumn), QStringLiteral("1.00GB"));
        QCOMPARE(list->topLevelItem(1)->text(CDlgDisk::CapacityColumn),
            QStringLiteral("0Byte")); // a failed query shows zeros
        QVERIFY(list->topLevelItem(1)->isSelected()); // the proposed root
        QVERIFY(!list->topLevelItem(0)->isSelected());

        list->clearSelection();
        list->topLevelItem(0)->setSelected(true);
        QTest::mouseClick(dialog->button(CDlgDisk::RefreshId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(list->topLevelItemCount(), 2);
        QVERIFY(list->topLevelItem(0)->isSelected());
        QVERIFY(!list->topLevelItem(1)->isSelected());
        QCOMPARE(dialog->list()->geometry(), QRect(7, 5, 320, dialog->client()->height() - 10));
        QCOMPARE(dialog->button(CDlgDisk::CheckId)->geometry(), QRect(332, 5 + 32 * 4, 64, 29));
    }

    void chooseCancelAndKeys()
    {
        struct Case
        {
            const char* name;
            QList<int> selectRows;
            std::function<void(CDlgDisk*)> act;
            int result;
            int chosenRow;
        };
        const QList<Case> cases = {
            { "choose one", { 1 },
                [](CDlgDisk* d) { QTest::mouseClick(d->button(CDlgDisk::ChooseId), Qt::LeftButton); }, 1, 1 },
            { "choose several", { 0, 1 },
                [](CDlgDisk* d) { QTest::mouseClick(d->button(CDlgDisk::ChooseId), Qt::LeftButton); }, 2, -1 },
            { "cancel", { 0 }, [](CDlgDisk* d) { QTest::mouseClick(d->button(CDlgDisk::CancelId), Qt::LeftButton); }, 2,
                -1 },
            { "enter", { 0 }, [](CDlgDisk* d) { QTest::keyClick(d->list(), Qt::Key_Return); }, 1, 0 },
            { "space, several: the first", { 0, 1 }, [](CDlgDisk* d) { QTest::keyClick(d->list(), Qt::Key_Space); }, 1,
                0 },
            { "enter with none", {}, [](CDlgDisk* d) { QTest::keyClick(d->list(), Qt::Key_Return); }, 2, -1 },
            { "escape", { 0 }, [](CDlgDisk* d) { QTest::keyClick(d->list(), Qt::Key_Escape); }, 2, -1 },
            { "double click", { 1 },
                [](CDlgDisk* d) {
                    QTreeWidget* l = d->list();
                    const QRect r = l->visualItemRect(l->topLevelItem(1));
                    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
                    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
                },
                1, 1 },
        };
        for (const Case& c : cases) {
            auto dialog = makeDialog();
            dialog->list()->clearSelection();
            for (int row : c.selectRows)
                dialog->list()->topLevelItem(row)->setSelected(true);
            QTimer::singleShot(0, dialog.get(), [&] { c.act(dialog.get()); });
            QTimer::singleShot(2000, dialog.get(), [&] { dialog->done(99); });
            QVERIFY2(dialog->exec() == c.result, c.name);
            if (c.chosenRow >= 0)
                QCOMPARE(dialog->chosenRoot(), dialog->rowRoots().at(c.chosenRow));
        }
    }

    void formatAndCheckNeedExactlyOneRow()
    {
        auto dialog = makeDialog();
        dialog->list()->clearSelection();
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        dialog->list()->topLevelItem(0)->setSelected(true);
        dialog->list()->topLevelItem(1)->setSelected(true);
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::CheckId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(), (QStringList { asked(0, 257), asked(0, 256) }));
    }

    void normalFormatKeepsTheSettingsFile()
    {
        const QByteArray settings = settingsBytes();
        QDir().mkpath(m_rootA + QStringLiteral("Setup"));
        QFile setup(m_rootA + QStringLiteral("Setup/setup.bin"));
        QVERIFY(setup.open(QIODevice::WriteOnly));
        setup.write(settings);
        setup.close();
        QFile(m_rootA + QStringLiteral("rec_20240101_120000.avi")).open(QIODevice::WriteOnly);
        // The helper's stand-in empties the card and says the marker; it notes whether the list was reset first.
        const QString log = m_dir.filePath(QStringLiteral("formatter.log"));
        qputenv("KORVANE_FORMATTER",
            writeScript(m_dir.filePath(QStringLiteral("fmt")),
                "echo \"$@\" > '" + log.toUtf8()
                    + "'\nfor a; do root=$a; done\nrm -rf \"$root\"/*\nprintf 'zorvakin ok'\n")
                .toLocal8Bit());
        int resets = 0;
        auto dialog = makeDialog([&] {
            ++resets;
            QVERIFY(!QFile::exists(log)); // the list is emptied before the formatter runs
        });
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(1); // normal format
        CDlgMessage::setNextAnswer(1); // "Format complete"
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();

        QCOMPARE(resets, 1);
        QCOMPARE(askedTexts(),
            (QStringList {
                askedFormat(QStringLiteral("KORVANE"), QStringLiteral("14.83GB"), m_devices->deviceOf[m_rootA]),
                asked(0, 254) }));
        QFile log1(log);
        QVERIFY(log1.open(QIODevice::ReadOnly));
        QCOMPARE(log1.readAll().trimmed(), QByteArray("-c128 ") + m_rootA.toUtf8()); // 15.9 GB > 5,000,000,000
        QVERIFY(setup.open(QIODevice::ReadOnly));
        QCOMPARE(setup.readAll(), settings);
        QVERIFY(!QFile::exists(m_rootA + QStringLiteral("rec_20240101_120000.avi")));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("Desktop/KORVANE/Setup/setup.bin"))));
    }

    void aFormatterThatSaysMoreHasFailedAndCancelChangesNothing()
    {
        QDir().mkpath(m_rootA + QStringLiteral("Setup"));
        QFile setup(m_rootA + QStringLiteral("Setup/setup.bin"));
        QVERIFY(setup.open(QIODevice::WriteOnly));
        setup.write(settingsBytes());
        setup.close();
        qputenv("KORVANE_FORMATTER",
            writeScript(m_dir.filePath(QStringLiteral("fmt")), "echo 'zorvakin ok'\n").toLocal8Bit());
        int resets = 0;
        auto dialog = makeDialog([&] { ++resets; });
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(2); // cancel in the chooser
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(resets, 0);
        const QString question
            = askedFormat(QStringLiteral("KORVANE"), QStringLiteral("14.83GB"), m_devices->deviceOf[m_rootA]);
        QCOMPARE(askedTexts(), (QStringList { question }));

        CDlgMessage::setNextAnswer(1);
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(resets, 1);
        QCOMPARE(askedTexts(), (QStringList { question, asked(0, 255) }));
        QVERIFY(setup.open(QIODevice::ReadOnly));
        QCOMPARE(setup.readAll(), settingsBytes());
    }

    void recoveryZeroesTheDeviceThenFormatsTwice()
    {
        const QString image = m_devices->deviceOf[m_rootA];
        QVERIFY(makeFatImage(image, 8 << 20, 1));
        m_devices->space[m_rootA] = { 7ULL << 20, 1ULL << 20, 6ULL << 20, 512 };
        const QString log = m_dir.filePath(QStringLiteral("formatter.log"));
        qputenv("KORVANE_FORMATTER",
            writeScript(
                m_dir.filePath(QStringLiteral("fmt")), "echo \"$@\" >> '" + log.toUtf8() + "'\nprintf 'zorvakin ok'\n")
                .toLocal8Bit());
        auto dialog = makeDialog([] {});
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(7); // recovery
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(),
            (QStringList { askedFormat(QStringLiteral("KORVANE"), QStringLiteral("8.00MB"), image), asked(0, 254) }));
        QCOMPARE(m_devices->unmounted, QStringList { m_rootA });
        QFile zeroed(image);
        QVERIFY(zeroed.open(QIODevice::ReadOnly));
        QCOMPARE(zeroed.size(), qint64(8 << 20));
        QCOMPARE(zeroed.readAll(), QByteArray(8 << 20, 0));
        QFile runs(log);
        QVERIFY(runs.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = runs.readAll().trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], "-c64 " + image.toUtf8() + " --mount-at " + m_rootA.toUtf8() + " --label KORVANE");
        QCOMPARE(lines[1], "-c64 " + m_rootA.toUtf8());
    }

    void checkShowsTheOutcomeOfTheImage()
    {
        const QString image = m_devices->deviceOf[m_rootA];
        QVERIFY(makeFatImage(image, 64 << 20, 1));
        struct Case
        {
            int choice;
            std::function<void()> prepare;
            QStringList allowed;
        };
        const QList<Case> cases = {
            { 1, [] {}, { asked(0, 287) } },
            { 1, [&] { QFile::resize(image, 1 << 20); }, { asked(0, 289) } },
        };
        for (const Case& c : cases) {
            c.prepare();
            int resets = 0;
            auto dialog = makeDialog([&] { ++resets; });
            dialog->list()->clearSelection();
            dialog->list()->topLevelItem(0)->setSelected(true);
            CDlgMessage::setNextAnswer(c.choice);
            CDlgMessage::setNextAnswer(1);
            QTest::mouseClick(dialog->button(CDlgDisk::CheckId), Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(resets, 1);
            const QStringList texts = askedTexts();
            QCOMPARE(texts.size(), 2);
            QCOMPARE(texts[0], asked(1026, 284));
            QVERIFY2(c.allowed.contains(texts[1]), qPrintable(texts[1]));
        }
    }

    void readSpeedTestEndsWithAVerdict()
    {
        const QString image = m_devices->deviceOf[m_rootA];
        QVERIFY(makeFatImage(image, 32 << 20, 1));
        auto dialog = makeDialog([] {});
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(7);
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::CheckId), Qt::LeftButton);
        QCoreApplication::processEvents();
        const QStringList texts = askedTexts();
        QCOMPARE(texts.size(), 2);
        // Fit (285) or, on a busy machine, slow (293 with the counts); never the failed measurement.
        const QString slow = QStringLiteral("0:") + StringById(293).section(QLatin1Char('%'), 0, 0);
        QVERIFY2(texts[1] == asked(0, 285) || texts[1].startsWith(slow), qPrintable(texts[1]));
    }

    // A desktop user may not write or read the device: the whole recovery (zeros, format, mount, format again) is
    // one run of the installed helper through one password prompt, and the read-speed figures come from
    // "korvane-cli speedtest --progress", each run with the administrator's rights. KORVANE_FORMATTER never
    // chooses what runs elevated.
    void withoutDeviceRightsTheHelpersDoTheWholeCardWork()
    {
        m_devices->direct = false;
        const QString pkexecLog = m_dir.filePath(QStringLiteral("pkexec.log"));
        m_devices->pkexec = writeScript(m_dir.filePath(QStringLiteral("pkexec")),
            "echo \"$@\" >> '" + pkexecLog.toUtf8() + "'\nPKEXEC_UID=$(id -u) exec \"$@\"\n");
        const QString image = m_devices->deviceOf[m_rootA];
        QVERIFY(makeFatImage(image, 8 << 20, 1));
        // Bytes in the data area that only the zeros take away (mkfs.fat writes just its tables).
        {
            QFile f(image);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(6 << 20);
            f.write(QByteArray(4096, char(0xAB)));
        }
        m_devices->space[m_rootA] = { 7ULL << 20, 1ULL << 20, 6ULL << 20, 512 };
        const QString envLog = m_dir.filePath(QStringLiteral("env-formatter.log"));
        qputenv("KORVANE_FORMATTER",
            writeScript(m_dir.filePath(QStringLiteral("fmt")), "echo \"$@\" >> '" + envLog.toUtf8() + "'\n")
                .toLocal8Bit());
        auto dialog = makeDialog([] {});
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(7); // recovery
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(),
            (QStringList { askedFormat(QStringLiteral("KORVANE"), QStringLiteral("8.00MB"), image), asked(0, 254) }));
        QFile runs(pkexecLog);
        QVERIFY(runs.open(QIODevice::ReadOnly));
        const QList<QByteArray> prompts = runs.readAll().trimmed().split('\n');
        runs.close();
        QCOMPARE(prompts.size(), 1); // one password prompt for the whole job
        const QString installed
            = QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/VLMFormat")).canonicalFilePath();
        QCOMPARE(prompts[0], (installed + QStringLiteral(" --recover -c64 ") + image).toUtf8());
        QVERIFY(!QFile::exists(envLog));
        QFile zeroed(image);
        QVERIFY(zeroed.open(QIODevice::ReadOnly));
        zeroed.seek(6 << 20);
        QCOMPARE(zeroed.read(4096), QByteArray(4096, 0));
        zeroed.close();
        QByteArray fsck;
        QVERIFY2(
            runTool(QStringLiteral("/usr/sbin/fsck.fat"), { QStringLiteral("-n"), image }, &fsck), fsck.constData());

        QVERIFY(makeFatImage(image, 16 << 20, 8));
        CDlgMessage::setNextAnswer(7); // read-speed test
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::CheckId), Qt::LeftButton);
        QCoreApplication::processEvents();
        const QStringList texts = askedTexts();
        QCOMPARE(texts.size(), 2);
        const QString slow = QStringLiteral("0:") + StringById(293).section(QLatin1Char('%'), 0, 0);
        QVERIFY2(texts[1] == asked(0, 285) || texts[1].startsWith(slow), qPrintable(texts[1]));
        QVERIFY(runs.open(QIODevice::ReadOnly));
        QCOMPARE(runs.readAll().trimmed().split('\n').size(), 2);
    }

    // A dismissed (126) or refused (127) password prompt is no card fault: the user is told it was cancelled and
    // the card keeps everything, its settings file included.
    void aCancelledPasswordPromptChangesNothing()
    {
        m_devices->direct = false;
        QDir().mkpath(m_rootA + QStringLiteral("Setup"));
        QFile setup(m_rootA + QStringLiteral("Setup/setup.bin"));
        QVERIFY(setup.open(QIODevice::WriteOnly));
        setup.write(settingsBytes());
        setup.close();
        QFile rec(m_rootA + QStringLiteral("rec_20240101_120000.avi"));
        QVERIFY(rec.open(QIODevice::WriteOnly));
        rec.close();
        const QString question
            = askedFormat(QStringLiteral("KORVANE"), QStringLiteral("14.83GB"), m_devices->deviceOf[m_rootA]);
        struct Case
        {
            const char* exit;
            int answer; // normal or recovery
            int message;
        };
        for (const Case& c : { Case { "126", 1, 1507 }, Case { "126", 7, 1507 }, Case { "127", 1, 1508 } }) {
            m_devices->pkexec
                = writeScript(m_dir.filePath(QStringLiteral("pkexec")), QByteArray("exit ") + c.exit + "\n");
            auto dialog = makeDialog([] {});
            dialog->list()->clearSelection();
            dialog->list()->topLevelItem(0)->setSelected(true);
            CDlgMessage::setNextAnswer(c.answer);
            CDlgMessage::setNextAnswer(1);
            QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(askedTexts(), (QStringList { question, asked(0, c.message) }));
            QVERIFY(setup.open(QIODevice::ReadOnly));
            QCOMPARE(setup.readAll(), settingsBytes());
            setup.close();
            QVERIFY(QFile::exists(rec.fileName()));
        }

        // The error check through a dismissed prompt: cancelled, not "the check failed, replace the card".
        m_devices->pkexec = writeScript(m_dir.filePath(QStringLiteral("pkexec")), "exit 126\n");
        auto dialog = makeDialog([] {});
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(1);
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::CheckId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(), (QStringList { asked(1026, 284), asked(0, 1507) }));
    }

    // When the card did not come back at its old mount point, that folder is the PC's own disk: the settings file
    // must not be written there, and its backup stays on the PC with the user told where.
    void theSettingsFileGoesBackOnlyOntoTheProvenMount()
    {
        const QByteArray settings = settingsBytes();
        QDir().mkpath(m_rootA + QStringLiteral("Setup"));
        QFile setup(m_rootA + QStringLiteral("Setup/setup.bin"));
        QVERIFY(setup.open(QIODevice::WriteOnly));
        setup.write(settings);
        setup.close();
        m_devices->remountFailedFlag = m_dir.filePath(QStringLiteral("remount-failed"));
        // The stand-in formats (empties the folder) but the card is not mounted there again.
        qputenv("KORVANE_FORMATTER",
            writeScript(m_dir.filePath(QStringLiteral("fmt")),
                "for a; do root=$a; done\nrm -rf \"$root\"/*\ntouch '" + m_devices->remountFailedFlag.toUtf8()
                    + "'\nprintf 'zorvakin ok'\n")
                .toLocal8Bit());
        auto dialog = makeDialog([] {});
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(1);
        CDlgMessage::setNextAnswer(1);
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        const QString backup = m_dir.filePath(QStringLiteral("Desktop/KORVANE/Setup/setup.bin"));
        QCOMPARE(askedTexts(),
            (QStringList {
                askedFormat(QStringLiteral("KORVANE"), QStringLiteral("14.83GB"), m_devices->deviceOf[m_rootA]),
                asked(0, 254), QStringLiteral("0:") + StringById(1501).arg(backup) }));
        QVERIFY(!QFile::exists(m_rootA + QStringLiteral("Setup/setup.bin")));
        QFile kept(backup);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), settings);
    }

    // While a format runs, the drive dialog takes no second job: clicks and keys that reach it are dropped, it
    // cannot be closed, and the progress window is up.
    void oneJobAtATimeWithAProgressWindow()
    {
        const QString log = m_dir.filePath(QStringLiteral("formatter.log"));
        qputenv("KORVANE_FORMATTER",
            writeScript(m_dir.filePath(QStringLiteral("fmt")),
                "echo \"$@\" >> '" + log.toUtf8() + "'\nsleep 1\nprintf 'zorvakin ok'\n")
                .toLocal8Bit());
        auto dialog = makeDialog([] {});
        dialog->show();
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        bool busy = false;
        QString progressClass;
        QTimer::singleShot(400, dialog.get(), [&] {
            busy = dialog->isBusy();
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
                progressClass = QString::fromLatin1(modal->metaObject()->className());
            for (int id :
                { int(CDlgDisk::FormatId), int(CDlgDisk::CheckId), int(CDlgDisk::ChooseId), int(CDlgDisk::CancelId) })
                NotifyEvent::post(dialog.get(), NotifyEvent::SkinButton, id);
            QCoreApplication::processEvents();
            QTest::keyClick(dialog->list(), Qt::Key_Return);
            QTest::keyClick(dialog->list(), Qt::Key_Escape);
            dialog->close();
        });
        CDlgMessage::setNextAnswer(1); // normal format
        CDlgMessage::setNextAnswer(1); // "Format complete"
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(busy);
        QCOMPARE(progressClass, QStringLiteral("CDlgFormat"));
        QCOMPARE(askedTexts(),
            (QStringList {
                askedFormat(QStringLiteral("KORVANE"), QStringLiteral("14.83GB"), m_devices->deviceOf[m_rootA]),
                asked(0, 254) }));
        QFile runs(log);
        QVERIFY(runs.open(QIODevice::ReadOnly));
        QCOMPARE(runs.readAll().trimmed().split('\n').size(), 1);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isBusy());
        dialog->hide();
    }

    // A card without a mounted volume is listed by device and size; it cannot be opened for recordings, but the
    // error check and the format reach it. A 64 MiB card is too small for FAT32 with the camera's cluster size:
    // it gets a valid FAT32 with smaller clusters and keeps its settings file.
    void anUnmountedCardIsListedAndFormattable()
    {
        const QString card = m_dir.filePath(QStringLiteral("unmounted.img"));
        QVERIFY(makeFatImage(card, 64 << 20, 1));
        QVERIFY(putFile(card, QStringLiteral("Setup"), QStringLiteral("setup.bin"), settingsBytes(),
            m_dir.filePath(QStringLiteral("scratch"))));
        auto dialog = std::make_unique<CDlgDisk>();
        dialog->setSources(std::make_shared<FixedRemovableVolumes>(QStringList { m_rootA },
                               QList<UnmountedCard> { { card, 64ULL << 20, QStringLiteral("Generic SD") } }),
            m_devices);
        dialog->setUp({}, QString(), 1);
        dialog->setBackupPath(m_dir.filePath(QStringLiteral("Desktop/KORVANE/Setup/setup.bin")));
        dialog->fillList();
        QTreeWidget* list = dialog->list();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(CDlgDisk::NameColumn), QStringLiteral("unmounted.img (%1)").arg(card));
        QCOMPARE(list->topLevelItem(1)->text(CDlgDisk::CapacityColumn), QStringLiteral("64.00MB"));
        list->clearSelection();
        list->topLevelItem(1)->setSelected(true);
        QTest::mouseClick(dialog->button(CDlgDisk::RefreshId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(list->topLevelItem(1)->isSelected()); // selected again after Refresh
        QVERIFY(!list->topLevelItem(0)->isSelected());

        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::ChooseId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(), (QStringList { asked(0, 1512) }));
        QCOMPARE(dialog->result(), 0); // not chosen

        CDlgMessage::setNextAnswer(1); // error check
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::CheckId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(), (QStringList { asked(1026, 284), asked(0, 287) }));

        list->clearSelection();
        list->topLevelItem(1)->setSelected(true);
        CDlgMessage::setNextAnswer(1); // normal format, by the installed helper
        CDlgMessage::setNextAnswer(1);
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(),
            (QStringList {
                askedFormat(QStringLiteral("unmounted.img"), QStringLiteral("64.00MB"), card), asked(0, 254) }));
        QByteArray out;
        QVERIFY2(runTool(QStringLiteral("/usr/sbin/fsck.fat"), { QStringLiteral("-n"), card }, &out), out.constData());
        QVERIFY2(runTool(QStringLiteral("mdir"), { QStringLiteral("-i"), card, QStringLiteral("::/") }, &out),
            out.constData());
        QCOMPARE(
            getFile(card, QStringLiteral("Setup/setup.bin"), m_dir.filePath(QStringLiteral("back"))), settingsBytes());
        const std::optional<FatBootSector> bs = ReadFatBootSector(card);
        QVERIFY(bs);
        QVERIFY(bs->fat32);
        QVERIFY(bs->dataClusters >= 65525);
    }

    // The confirmation names the device's model and size; a disk holding several partitions, or more than any SD
    // card, is refused before any question and before the card is touched.
    void theConfirmationShowsModelAndSizeAndNoCameraCardIsRefused()
    {
        QDir().mkpath(m_rootA + QStringLiteral("Setup"));
        QFile setup(m_rootA + QStringLiteral("Setup/setup.bin"));
        QVERIFY(setup.open(QIODevice::WriteOnly));
        setup.write(settingsBytes());
        setup.close();
        const QString log = m_dir.filePath(QStringLiteral("formatter.log"));
        qputenv("KORVANE_FORMATTER",
            writeScript(m_dir.filePath(QStringLiteral("fmt")), "echo \"$@\" >> '" + log.toUtf8() + "'\n")
                .toLocal8Bit());
        m_devices->facts.known = true;
        m_devices->facts.model = QStringLiteral("Generic STORAGE DEVICE");
        m_devices->facts.bytes = 15923150848ULL;
        m_devices->facts.diskBytes = 15931539456ULL;
        m_devices->facts.diskPartitions = 1;
        auto dialog = makeDialog([] {});
        dialog->list()->clearSelection();
        dialog->list()->topLevelItem(0)->setSelected(true);
        CDlgMessage::setNextAnswer(2); // cancel
        QTest::mouseClick(dialog->button(CDlgDisk::FormatId), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(askedTexts(),
            (QStringList { askedFormat(
                QStringLiteral("Generic STORAGE DEVICE"), QStringLiteral("14.83GB"), m_devices->deviceOf[m_rootA]) }));

        // The chooser's Cancel leaves the backup made before it; the refusals below make none.
        QVERIFY(QFile::remove(m_dir.filePath(QStringLiteral("Desktop/KORVANE/Setup/setup.bin"))));
        struct Case
        {
            uint64_t diskBytes;
            int partitions;
            QString message;
        };
        const QList<Case> cases = {
            { 15931539456ULL, 2, QStringLiteral("0:") + StringById(1510).arg(2) },
            { 4000787030016ULL, 1, QStringLiteral("0:") + StringById(1509).arg(QStringLiteral("3726.02GB")) },
        };
        for (const Case& c : cases) {
            m_devices->facts.diskBytes = c.diskBytes;
            m_devices->facts.diskPartitions = c.partitions;
            int resets = 0;
            auto refusing = makeDialog([&] { ++resets; });
            refusing->list()->clearSelection();
            refusing->list()->topLevelItem(0)->setSelected(true);
            CDlgMessage::setNextAnswer(1);
            QTest::mouseClick(refusing->button(CDlgDisk::FormatId), Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(askedTexts(), QStringList { c.message });
            QCOMPARE(resets, 0);
            QVERIFY(!QFile::exists(log));
            QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("Desktop/KORVANE/Setup/setup.bin"))));
        }
    }

    void progressDialogRunsItsJobAndRefusesToCloseMeanwhile()
    {
        bool escapeIgnored = false;
        QString shownDuringJob;
        CDlgFormat dialog(MaintenanceMode::LowFormat, 1, [&](CDlgFormat& d) {
            for (int p = 0; p <= 100; p += 25) {
                d.setPercent(p);
                CDlgFormat::pump();
            }
            // The dialog's ticks go on while the job works and show its percent.
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < 400 && d.statusText() != QStringLiteral("Formatting: 100% is under progressing."))
                CDlgFormat::pump();
            shownDuringJob = d.statusText();
            QTest::keyClick(&d, Qt::Key_Escape);
            d.reject();
            d.close();
            escapeIgnored = d.isVisible();
            return 1;
        });
        QCOMPARE(dialog.size(), QSize(550, 150));
        QCOMPARE(dialog.statusText(), QStringLiteral("Formatting: 0% is under progressing."));
        QCOMPARE(dialog.warningText(), QStringLiteral("Please do not remove SD Card until formatting is completed."));
        QCOMPARE(dialog.progressBar()->geometry(), QRect(30, 10, 490, 30));
        QCOMPARE(dialog.exec(), 1);
        QVERIFY(escapeIgnored);
        QCOMPARE(shownDuringJob, QStringLiteral("Formatting: 100% is under progressing."));
        QCOMPARE(dialog.statusText(), QStringLiteral("Formatting: 100% is under progressing."));
        QCOMPARE(dialog.progressBar()->label(), QStringLiteral("100%"));

        CDlgFormat korean(MaintenanceMode::ErrorCheck, 82, [](CDlgFormat&) { return 3; });
        QVERIFY(korean.warningText().isEmpty());
        QCOMPARE(korean.statusRect().top(), 45);
        QCOMPARE(korean.exec(), 3);
    }
};

QTEST_MAIN(CardDialogsTest)
#include "CardDialogsTest.moc"
