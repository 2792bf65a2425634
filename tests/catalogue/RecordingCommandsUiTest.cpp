// The copy dialog and the Copy, Save all event files and Delete commands, run against a fake main window
// with preset answers to their questions.
#include "ReadOnlyFolder.h"
#include "app/StringTables.h"
#include "catalogue/CDlgCopy.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingCommands.h"
#include "platform/FileFaults.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

bool write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The main window as the commands see it, recording what they asked of it.
class FakeHost : public RecordingCommandHost
{
public:
    QWidget window;
    RecordingCatalogue cat;
    QStringList rows; // "Kind base" per list row
    std::vector<SelectedRow> selection;
    bool playing = false;
    bool player = true;
    int position = 0;
    QStringList calls;
    QString backup;

    QWidget* commandParent() override { return &window; }
    RecordingCatalogue& catalogue() override { return cat; }
    std::vector<SelectedRow> selectedRows() override { return selection; }
    bool isPlaying() const override { return playing; }
    bool hasPlayer() const override { return player; }
    // As the window does: pausing clears the playing state, resuming sets it again.
    void togglePause() override
    {
        playing = !playing;
        calls << QStringLiteral("togglePause");
    }
    void showStopped() override
    {
        playing = false;
        calls << QStringLiteral("showStopped");
    }
    // The window stops its player: nothing plays any more.
    void releaseCurrentRecording() override
    {
        playing = false;
        calls << QStringLiteral("release");
    }
    int currentPosition() const override { return position; }
    void setCurrentPosition(int p) override { position = p; }
    void removeRow(int row) override
    {
        rows.removeAt(row);
        calls << QStringLiteral("removeRow %1").arg(row);
    }
    void refreshCaption() override { calls << QStringLiteral("caption"); }
    void selectCurrentRow() override { calls << QStringLiteral("select %1").arg(position); }
    void openListRow(int index) override { calls << QStringLiteral("open %1").arg(index); }
    QString desktopBackupFolder() override { return backup; }
    QDateTime now() override { return QDateTime(QDate(2025, 3, 14), QTime(9, 5)); }

    // Scans the folder and lists every recording as a row in name order.
    void open(const QString& folder)
    {
        cat.ScanCatalogueFolder(folder, 0);
        cat.setFolder(folder);
        QStringList names;
        for (RecordingKind k : { RecordingKind::Normal, RecordingKind::Event, RecordingKind::Parking })
            names += cat.names(k);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return a.mid(4) < b.mid(4); });
        for (const QString& n : names)
            rows << n;
    }
    SelectedRow row(int index) const
    {
        const QString n = rows.at(index);
        const QString label = n.startsWith(QLatin1String("evt_")) ? QStringLiteral("Event")
            : n.startsWith(QLatin1String("pmr_"))                 ? QStringLiteral("Parking")
                                                                  : QStringLiteral("Normal");
        return { index, label, n.mid(4, n.lastIndexOf(QLatin1Char('.')) - 4) };
    }
};

} // namespace

class RecordingCommandsUiTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_card;
    QTimer m_watchdog;
    bool m_unexpectedBox = false;

    void makeCard()
    {
        QDir(m_card).removeRecursively();
        QVERIFY(QDir().mkpath(m_card));
        for (const char* base : { "20250314_090000", "20250314_090100", "20250314_090200" }) {
            QVERIFY(write(m_card + QStringLiteral("rec_%1.avi").arg(QLatin1String(base)), QByteArray(4000, 'v')));
            QVERIFY(write(m_card + QStringLiteral("rec_%1.dat").arg(QLatin1String(base)), QByteArray(50, 'd')));
        }
        QVERIFY(write(m_card + QStringLiteral("evt_20250314_090300.avi"), QByteArray(3000, 'e')));
        QVERIFY(write(m_card + QStringLiteral("evt_20250314_090300.dat"), QByteArray(40, 'f')));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        QVERIFY(InstallStringTable(*QCoreApplication::instance(), QStringLiteral("en")));
        m_card = m_dir.filePath(QStringLiteral("card/"));
    }

    void init()
    {
        makeCard();
        // A box nobody preset an answer for would wait for a human: close it and fail instead.
        m_unexpectedBox = false;
        m_watchdog.setInterval(3000);
        connect(&m_watchdog, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<CDlgMessage*>(QApplication::activeModalWidget())) {
                m_unexpectedBox = true;
                box->done(CDlgMessage::ResultNo);
            }
        }, Qt::UniqueConnection);
        m_watchdog.start();
    }

    void cleanup()
    {
        m_watchdog.stop();
        CDlgMessage::clearNextAnswers();
        CDlgMessage::takeAsked();
        QVERIFY2(!m_unexpectedBox, "a message box was shown without a preset answer");
    }

    void dialogLayout()
    {
        CDlgCopy dialog(QStringLiteral(".avi"));
        QCOMPARE(dialog.size(), QSize(415, 220));
        const QSize strip = SkinModule::size(CDlgCopy::kImageStrip);
        QCOMPARE(dialog.animationRect().height() * CDlgCopy::kFrames, strip.height());
        QCOMPARE(dialog.animationRect().topLeft(), QPoint(25 + SkinModule::size(CDlgCopy::kImageLeft).width(), 35));
        CSkinSlider* bar = dialog.progressBar();
        QCOMPARE(bar->geometry().topLeft(), QPoint(25, 35 + SkinModule::size(CDlgCopy::kImageLeft).height()));
        QCOMPARE(bar->height(), 10);
        QCOMPARE(bar->geometry().right(), dialog.animationRect().right() + SkinModule::size(CDlgCopy::kImageRight).width());
        QVERIFY(!bar->hasThumb());
        // The two lines of text, 20 pixels apart, are never covered by the bar.
        QVERIFY(dialog.textRect(0).top() >= 130);
        QVERIFY(dialog.textRect(0).top() > bar->geometry().bottom());
        QCOMPARE(dialog.textRect(1).top() - dialog.textRect(0).top(), 20);
        QCOMPARE(dialog.textRect(0).height(), 15);
        QVERIFY(dialog.textRect(1).bottom() < dialog.client()->height());
    }

    void dialogCopiesClosesItselfAndCountsVideos()
    {
        CDlgCopy dialog(QStringLiteral(".avi"));
        const QString dest = m_dir.filePath(QStringLiteral("desk/"));
        for (const char* n : { "rec_20250314_090000.avi", "rec_20250314_090000.dat", "evt_20250314_090300.avi" })
            dialog.AddPair(m_card + QLatin1String(n), dest + QLatin1String(n));
        QList<int> frames;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, [&] { frames << dialog.animationFrame(); });
        sampler.start(CDlgCopy::kTickMs);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(dialog.exec(), 0);
        QVERIFY(clock.elapsed() >= 2 * CDlgCopy::kTickMs); // stays up for the ticks after the job
        QCOMPARE(dialog.progressBar()->maximum(), 2);
        QCOMPARE(dialog.progressBar()->value(), 2);
        QVERIFY(dialog.job().isDone());
        QCOMPARE(dialog.job().copiedFileCount(), 3);
        QVERIFY(QFileInfo::exists(dest + QStringLiteral("evt_20250314_090300.avi")));
        for (int f : frames)
            QVERIFY(f >= 0 && f < CDlgCopy::kFrames);
    }

    void animationWrapsWithinTheStrip()
    {
        CDlgCopy dialog(QStringLiteral(".avi"));
        for (int i = 1; i <= 2 * CDlgCopy::kFrames + 3; ++i) {
            dialog.tick();
            QCOMPARE(dialog.animationFrame(), i % CDlgCopy::kFrames);
        }
    }

    void escapeCancelsAndNeverCloses()
    {
        CDlgCopy dialog(QStringLiteral(".avi"));
        QTimer::singleShot(0, [&] {
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QTest::keyClick(&dialog, Qt::Key_Return);
            QVERIFY(dialog.job().isCancelled());
        });
        QCOMPARE(dialog.exec(), 0); // ended by the job (empty here), not by the keys
        QVERIFY(dialog.job().isCancelled());
    }

    void escapeDuringTheFirstFileFinishesThatFileOnly()
    {
        // A slow card: the first recording comes in small pieces, so ESC arrives while it is copied.
        const QByteArray first(32 * 1024 * 1024, 'a');
        QVERIFY(write(m_card + QStringLiteral("rec_20250314_095900.avi"), first));
        auto slow = std::make_shared<platform::FileFaultRules>();
        slow->shortTransfers(QStringLiteral("rec_20250314_095900.avi"), platform::FileOp::Read, 4096);
        platform::setFileFaultPlan(slow);
        CDlgCopy dialog(QStringLiteral(".avi"));
        const QString dest = m_dir.filePath(QStringLiteral("esc/"));
        for (const char* n : { "rec_20250314_095900.avi", "rec_20250314_090000.avi", "rec_20250314_090000.dat" })
            dialog.AddPair(m_card + QLatin1String(n), dest + QLatin1String(n));
        bool copyingWhenPressed = false;
        QTimer::singleShot(0, [&] {
            copyingWhenPressed = !dialog.job().isDone();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QCOMPARE(dialog.exec(), 0);
        platform::setFileFaultPlan(nullptr);
        QVERIFY(copyingWhenPressed);
        QCOMPARE(QFileInfo(dest + QStringLiteral("rec_20250314_095900.avi")).size(), qint64(first.size()));
        QCOMPARE(QDir(dest).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("rec_20250314_095900.avi") });
        QCOMPARE(dialog.job().skippedPairCount(), 2);
    }

    void copyWithoutSelectionSaysSo()
    {
        FakeHost host;
        host.open(m_card);
        host.playing = true;
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QCOMPARE(CopySelectedRecordings(host), 0);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, QStringLiteral("There is no item to copy."));
        QVERIFY(host.calls.isEmpty());
    }

    void copyAskedNoChangesNothing()
    {
        FakeHost host;
        host.backup = m_dir.filePath(QStringLiteral("KORVANE/"));
        host.open(m_card);
        host.playing = true;
        host.selection = { host.row(0), host.row(1) };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultNo);
        QCOMPARE(CopySelectedRecordings(host), 0);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text,
            QStringLiteral("Do you want to copy 2 files? It will be saved in KORVANE folder at Desktop."));
        QVERIFY(host.calls.isEmpty());
        QVERIFY(!QFileInfo::exists(host.backup));
    }

    void copyPausesAndCopiesIntoTheStampedFolder()
    {
        FakeHost host;
        host.backup = m_dir.filePath(QStringLiteral("KORVANE/"));
        host.open(m_card);
        host.playing = true;
        host.selection = { host.row(1) };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        QCOMPARE(CopySelectedRecordings(host), 0);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text,
            QStringLiteral("Do you want to copy 20250314_090100 file? It will be saved in KORVANE folder at Desktop."));
        QCOMPARE(host.calls, QStringList({ QStringLiteral("togglePause"), QStringLiteral("showStopped") }));
        const QString dest = host.backup + QStringLiteral("20250314_0905/");
        QCOMPARE(QDir(dest).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            QStringList({ QStringLiteral("rec_20250314_090100.avi"), QStringLiteral("rec_20250314_090100.dat") }));
    }

    void copyFailuresAreNamedAfterTheJob()
    {
        FakeHost host;
        // A file where the backup folder should be: no copy can be made.
        QVERIFY(write(m_dir.filePath(QStringLiteral("blocked")), "x"));
        host.backup = m_dir.filePath(QStringLiteral("blocked/KORVANE/"));
        host.open(m_card);
        host.selection = { host.row(0) };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QCOMPARE(CopySelectedRecordings(host), 2);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[1].text.contains(QStringLiteral("rec_20250314_090000.avi")));
        QVERIFY(asked[1].text.contains(QStringLiteral("rec_20250314_090000.dat")));
        QVERIFY(asked[1].text.startsWith(QStringLiteral("2 file(s) could not be copied")));
    }

    void eventBackupWithoutEventsDoesNotPause()
    {
        FakeHost host;
        QDir(m_card).remove(QStringLiteral("evt_20250314_090300.avi"));
        host.open(m_card);
        host.playing = true;
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QCOMPARE(SaveAllEventFiles(host), 0);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, QStringLiteral("There is no Eventfile."));
        QVERIFY(host.calls.isEmpty());
    }

    void eventBackupCopiesWithoutAsking()
    {
        FakeHost host;
        host.backup = m_dir.filePath(QStringLiteral("KORVANE/"));
        host.open(m_card);
        QCOMPARE(SaveAllEventFiles(host), 0);
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
        QCOMPARE(QDir(host.backup + QStringLiteral("Event 20250314_0905/")).entryList(QDir::Files, QDir::Name),
            QStringList({ QStringLiteral("evt_20250314_090300.avi"), QStringLiteral("evt_20250314_090300.dat") }));
    }

    void deletingThePlayingRowOpensTheRowThatMovesIn()
    {
        FakeHost host;
        host.open(m_card);
        host.playing = true;
        host.position = 1;
        host.selection = { host.row(1) };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        const DeletionOutcome o = DeleteSelectedRecordings(host);
        QVERIFY(o.currentDeleted);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].text, QStringLiteral("Do you want to delete 20250314_090100 file?"));
        QCOMPARE(asked[1].text, QStringLiteral(" "));
        QCOMPARE(host.calls, QStringList({ QStringLiteral("togglePause"), QStringLiteral("release"),
                                 QStringLiteral("removeRow 1"), QStringLiteral("caption"), QStringLiteral("open 1") }));
        QCOMPARE(host.rows.size(), 3);
        QVERIFY(!QFileInfo::exists(m_card + QStringLiteral("rec_20250314_090100.avi")));
        QVERIFY(!QFileInfo::exists(m_card + QStringLiteral("rec_20250314_090100.dat")));
    }

    void deletingRowsBeforeTheCurrentOneKeepsItAndResumes()
    {
        FakeHost host;
        host.open(m_card);
        host.playing = true;
        host.position = 3;
        host.selection = { host.row(0), host.row(2) };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        DeleteSelectedRecordings(host);
        QCOMPARE(CDlgMessage::takeAsked().at(0).text, QStringLiteral("Do you want to delete 2 files?"));
        QCOMPARE(host.position, 1);
        QCOMPARE(host.calls, QStringList({ QStringLiteral("togglePause"), QStringLiteral("removeRow 0"),
                                 QStringLiteral("removeRow 1"), QStringLiteral("caption"), QStringLiteral("select 1"),
                                 QStringLiteral("togglePause") }));
        QVERIFY(host.playing); // paused for the question, playing again afterwards
        QCOMPARE(host.rows, QStringList({ QStringLiteral("rec_20250314_090100.avi"), QStringLiteral("evt_20250314_090300.avi") }));
    }

    void deletingTheLastPlayingRowClosesThePlayer()
    {
        FakeHost host;
        host.open(m_card);
        host.position = 3;
        host.selection = { host.row(3) };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        DeleteSelectedRecordings(host);
        QCOMPARE(host.calls.last(), QStringLiteral("open 3")); // one past the last of three rows
    }

    void deleteNotConfirmedResumesPlayback()
    {
        FakeHost host;
        host.open(m_card);
        host.playing = true;
        host.selection = { host.row(0) };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultNo);
        DeleteSelectedRecordings(host);
        QCOMPARE(host.calls, QStringList({ QStringLiteral("togglePause"), QStringLiteral("togglePause") }));
        QVERIFY(host.playing);
        QVERIFY(QFileInfo::exists(m_card + QStringLiteral("rec_20250314_090000.avi")));
    }

    void deleteOnAReadOnlyCardKeepsTheRowsAndSaysSo()
    {
        FakeHost host;
        host.open(m_card);
        host.position = 2;
        host.selection = { host.row(0), host.row(1) };
        ReadOnlyFolder readOnly(m_card);
        if (!readOnly.ok())
            QSKIP("this file system cannot make a folder read-only");
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        const DeletionOutcome o = DeleteSelectedRecordings(host);
        readOnly.restore();
        QCOMPARE(o.keptRows, (std::vector<int> { 0, 1 }));
        QCOMPARE(host.rows.size(), 4);
        QCOMPARE(host.position, 2);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[1].text.startsWith(QStringLiteral("2 file(s) could not be deleted")));
        QVERIFY(asked[1].text.contains(QStringLiteral("rec_20250314_090000.avi")));
        QVERIFY(QFileInfo::exists(m_card + QStringLiteral("rec_20250314_090000.avi")));
    }
};

QTEST_MAIN(RecordingCommandsUiTest)
#include "RecordingCommandsUiTest.moc"
