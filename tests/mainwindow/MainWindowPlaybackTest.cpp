// The main window playing small card folders built here through the stand-in media library (loaded by the
// real binding), which hands frames of one colour to the video surface: what the surface shows after the
// player closes, the window's minimum size, the volume slider, Delete's pause and resume, the category
// header after an empty folder and, for country 81, the three-axis readout following the playback.
#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "catalogue/CXListCtrl.h"
#include "catalogue/CXListHeader.h"
#include "catalogue/RecordingCommands.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/MainWindowIds.h"
#include "platform/RemovableVolumes.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerController.h"
#include "sensor/AxisReadout.h"
#include "sensor/DatBytes.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

using namespace mainwindow;

namespace {

constexpr unsigned kRed = 0xff0000;

// An AVI recording as far as the viewer looks at it: the RIFF header and the frame size at bytes 64 and 68.
QByteArray aviHeader(int width, int height)
{
    QByteArray bytes(512, '\0');
    bytes.replace(0, 4, "RIFF");
    bytes.replace(4, 4, datbytes::u32(504));
    bytes.replace(8, 4, "AVI ");
    bytes[64] = char(width & 0xff);
    bytes[65] = char(width >> 8);
    bytes[68] = char(height & 0xff);
    bytes[69] = char(height >> 8);
    return bytes;
}

// A card folder of 1280 x 720 recordings, each with a data file of 600 sensor samples whose sample 300
// reads x = -7 (every other sample x = 3).
struct Card
{
    QTemporaryDir dir;

    explicit Card(const QStringList& names = { "rec_20240101_100000", "rec_20240101_100100", "evt_20240101_100200" })
    {
        QByteArray sensors;
        for (int i = 0; i < 600; ++i)
            sensors += datbytes::sensorRecord(i == 300 ? -7 : 3, 0, 1024);
        const QByteArray dat = datbytes::dataFile(sensors, datbytes::gpsRecord(1, 1, 1, 1), 0);
        for (const QString& name : names) {
            datbytes::writeFile(dir.filePath(name + QStringLiteral(".avi")), aviHeader(1280, 720));
            datbytes::writeFile(dir.filePath(name + QStringLiteral(".dat")), dat);
        }
    }
    QString root() const { return dir.path() + QLatin1Char('/'); }
};

bool isBlack(const QColor& c)
{
    return c.red() < 16 && c.green() < 16 && c.blue() < 16;
}

} // namespace

class MainWindowPlaybackTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_base;
    QTemporaryDir m_settingsDir;
    std::unique_ptr<SettingsStore> m_store;
    FixedRemovableVolumes m_noVolumes { QStringList() };
    QString m_fakePath;
    int m_storeCount = 0;

    template <typename Fn> Fn fake(const char* name)
    {
        QLibrary same(m_fakePath);
        auto fn = reinterpret_cast<Fn>(same.resolve(name));
        if (!fn)
            qFatal("the stand-in library lacks %s", name);
        return fn;
    }

    bool deliverFrame(unsigned rgb)
    {
        return fake<int (*)(unsigned, unsigned, unsigned)>("fakevlc_deliver_frame")(rgb, 1280, 720) != 0;
    }
    void setTime(int64_t ms) { fake<void (*)(int64_t)>("fakevlc_set_time")(ms); }
    QStringList calls()
    {
        return QString::fromUtf8(fake<const char* (*)()>("fakevlc_calls")())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void resetCalls() { fake<void (*)()>("fakevlc_reset")(); }

    // The window started on the folder and shown; timer 3 has opened row 0.
    std::unique_ptr<CKorvanePCPlayerDlg> start(const QString& folder)
    {
        auto w = initialised(folder);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("the window was not exposed");
        if (!QTest::qWaitFor([&] { return w->isPlaying(); }, 3000))
            qWarning("row 0 did not start playing");
        return w;
    }

    // The window after its dialog initialisation, not shown yet: timer 3 is running.
    std::unique_ptr<CKorvanePCPlayerDlg> initialised(const QString& folder)
    {
        auto w = std::make_unique<CKorvanePCPlayerDlg>(folder);
        MainWindowStartup s;
        s.store = m_store.get();
        s.volumes = &m_noVolumes;
        s.checkPcCapability = [] {};
        s.chooseViewerTier = [](int tier) { return tier; };
        s.installLibraryVariant = [](int) {};
        s.mapView = false; // no browser engine on the offscreen platform here
        w->InitDialog(s);
        return w;
    }

    // Shows the window with timer 3 held back, so that the test decides when it fires.
    static QTimer* showHoldingTimer3(CKorvanePCPlayerDlg& w)
    {
        QTimer* timer3 = &w.startupTimer();
        w.show();
        timer3->stop();
        return timer3;
    }

    int openCount(const QString& path)
    {
        return int(calls().count(QStringLiteral("libvlc_media_new_path(") + path + QLatin1Char(')')));
    }

    // The colour in the middle of the video surface as the user sees it.
    static QColor surfaceCentre(CKorvanePCPlayerDlg& w)
    {
        QCoreApplication::processEvents(); // the frame's repaint request
        const QImage shot = w.playWnd()->grab().toImage();
        return QColor(shot.pixel(shot.width() / 2, shot.height() / 2));
    }

    // A red frame from the library, and the surface showing it.
    bool showRedFrame(CKorvanePCPlayerDlg& w)
    {
        return deliverFrame(kRed) && QTest::qWaitFor([&] { return surfaceCentre(w) == QColor(Qt::red); }, 2000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        InstallStringTable(*qApp, QStringLiteral("en"));
        SetMediaLibraryBaseFolder(m_base.path());
        const QString folder = LibraryFolder(int(ViewerTier::High));
        QVERIFY(QDir().mkpath(folder));
        m_fakePath = QDir(folder).filePath(QLatin1String(kFrontLibraryFile));
        QVERIFY(QFile::copy(QStringLiteral(FAKEVLC_PATH), m_fakePath));
    }

    void cleanupTestCase()
    {
        UnloadMediaLibrary();
        SetMediaLibraryBaseFolder(QString());
    }

    void init()
    {
        // A fresh user: the High tier, whose library folder holds the stand-in.
        m_store = std::make_unique<SettingsStore>(
            m_settingsDir.path() + QLatin1Char('/') + QString::number(++m_storeCount));
        viewerEnvironment().firstInstance = true;
        viewerEnvironment().countryCode = 33;
        CDlgMessage::clearNextAnswers();
        CDlgMessage::takeAsked();
    }

    void cleanup()
    {
        viewerEnvironment().countryCode = 33;
        CDlgMessage::clearNextAnswers();
    }

    // While timer 3 waits, row 0 is made ready in the player (once the window is shown): its first picture
    // comes but is not painted, nothing plays and no notification arrives; timer 3 then shows that picture
    // at once, without opening the recording again.
    void rowZeroIsPreparedWhileTimer3WaitsAndShownOnlyWhenItFires()
    {
        Card card;
        resetCalls();
        auto w = initialised(card.root());
        QTimer* timer3 = showHoldingTimer3(*w);
        QVERIFY(timer3);
        const QString row0 = card.dir.filePath(QStringLiteral("rec_20240101_100000.avi"));
        QVERIFY(w->player().hasPreparedMedia());
        QCOMPARE(w->player().preparedPath(), row0);
        QVERIFY(!w->isPlaying());
        QVERIFY(!w->player().isOpen());
        QVERIFY(deliverFrame(kRed));
        QTest::qWait(50);
        QCOMPARE(w->playWnd()->framesPainted(), uint64_t(0));
        QVERIFY(isBlack(surfaceCentre(*w)));
        QVERIFY(calls().contains(QStringLiteral("libvlc_audio_set_mute(1)")));
        QVERIFY(!calls().contains(QStringLiteral("libvlc_event_attach(267)")));

        timer3->start(0);
        QTRY_VERIFY_WITH_TIMEOUT(w->isPlaying(), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(surfaceCentre(*w), QColor(Qt::red), 2000);
        QCOMPARE(w->player().path(), row0);
        QVERIFY(!w->player().hasPreparedMedia());
        QCOMPARE(openCount(row0), 1);
        QCOMPARE(calls().count(QStringLiteral("libvlc_audio_set_mute(0)")), 1);
        QCOMPARE(w->currentListPosition(), 0);
    }

    // The user opens another row before timer 3: the prepared row 0 is released with its picture unseen,
    // and timer 3 opens row 0 the usual way.
    void aRowOpenedBeforeTimer3ReleasesThePreparedRowZero()
    {
        Card card;
        resetCalls();
        auto w = initialised(card.root());
        QTimer* timer3 = showHoldingTimer3(*w);
        QVERIFY(timer3);
        const QString row0 = card.dir.filePath(QStringLiteral("rec_20240101_100000.avi"));
        QVERIFY(w->player().hasPreparedMedia());
        QVERIFY(deliverFrame(kRed));
        w->OpenListRow(1);
        QVERIFY(!w->player().hasPreparedMedia());
        QVERIFY(w->isPlaying());
        QVERIFY(w->player().path() != row0);
        QVERIFY(calls().contains(QStringLiteral("libvlc_media_player_stop")));
        QTest::qWait(50);
        QVERIFY(isBlack(surfaceCentre(*w))); // the held picture of row 0 never shows

        QTest::qWait(kInputLockMs + 50);
        timer3->start(0);
        QTRY_COMPARE_WITH_TIMEOUT(w->player().path(), row0, 2000);
        QCOMPARE(openCount(row0), 2);
        QVERIFY(showRedFrame(*w));
    }

    // After the last row playback stops "leaving the screen cleared": no last picture, and the minimum
    // size of a window without a recording.
    void theLastRowLeavesTheSurfaceClearedAndTheMinimumSizeOfNoRecording()
    {
        Card card;
        auto w = start(card.root());
        QVERIFY(w->isPlaying());
        QCOMPARE(w->minimumWindowSize().width(), 768 + 330); // 0.6 of 1280 beside the list
        QVERIFY(showRedFrame(*w));
        QTest::qWait(kInputLockMs + 50);
        for (int i = 0; i < 3; ++i)
            w->Next();
        QCOMPARE(w->currentListPosition(), 3);
        QVERIFY(!w->player().isOpen());
        QVERIFY(isBlack(surfaceCentre(*w)));
        QCOMPARE(w->minimumWindowSize(), QSize(1110, 600));
        // The next recording's frames show again.
        w->Previous();
        QVERIFY(w->isPlaying());
        QCOMPARE(w->minimumWindowSize().width(), 768 + 330);
        QVERIFY(showRedFrame(*w));
    }

    // An empty folder empties the list and stops the player: no picture stays, and the header shows the
    // category the list is back at (All), not the one it showed before.
    void anEmptyFolderClearsTheSurfaceAndShowsTheAllHeader()
    {
        Card card;
        auto w = start(card.root());
        NotifyEvent::post(w.get(), NotifyEvent::ListHeaderClick, 0);
        QTRY_COMPARE(w->categoryIndex(), 1);
        QCOMPARE(w->rows()->listHeader()->categoryPicture(), ListCategory::Event);
        QVERIFY(w->isPlaying());
        QVERIFY(showRedFrame(*w));

        QTemporaryDir empty;
        w->OpenFolder(empty.path());
        QCOMPARE(w->rowCount(), 0);
        QCOMPARE(w->categoryIndex(), 0);
        QCOMPARE(w->rows()->listHeader()->categoryPicture(), ListCategory::All);
        QVERIFY(!w->player().isOpen());
        QVERIFY(isBlack(surfaceCentre(*w)));
        QCOMPARE(w->minimumWindowSize(), QSize(1110, 600));
    }

    // Deleting the playing recording lets its picture go with it, also when the list empties.
    void aDeletedRecordingLeavesNoPicture()
    {
        Card card({ QStringLiteral("rec_20240101_100000"), QStringLiteral("rec_20240101_100100") });
        auto w = start(card.root());
        QVERIFY(showRedFrame(*w));
        w->rows()->selectOnly(0);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        DeleteSelectedRecordings(*w);
        QCOMPARE(w->rowCount(), 1);
        QVERIFY(w->isPlaying()); // the row that moved in plays, and has shown no frame yet
        QVERIFY(isBlack(surfaceCentre(*w)));

        QVERIFY(showRedFrame(*w));
        w->rows()->selectOnly(0);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        DeleteSelectedRecordings(*w);
        QCOMPARE(w->rowCount(), 0);
        QVERIFY(!w->player().isOpen());
        QVERIFY(isBlack(surfaceCentre(*w)));
        QCOMPARE(w->minimumWindowSize(), QSize(1110, 600));
    }

    // Delete pauses while it asks; answered No (or done with other rows), playback goes on.
    void deleteResumesThePlaybackItPaused()
    {
        Card card;
        auto w = start(card.root());
        resetCalls();
        w->rows()->selectOnly(1);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultNo);
        DeleteSelectedRecordings(*w);
        QVERIFY(w->isPlaying());
        QVERIFY(w->button(IdPause)->isVisibleTo(w.get()));
        QCOMPARE(calls().filter(QStringLiteral("set_pause")),
            QStringList({ QStringLiteral("libvlc_media_player_set_pause(1)"),
                QStringLiteral("libvlc_media_player_set_pause(0)") }));

        // Another row deleted: the playing recording stays and goes on.
        w->rows()->selectOnly(2);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        DeleteSelectedRecordings(*w);
        QCOMPARE(w->rowCount(), 2);
        QCOMPARE(w->currentListPosition(), 0);
        QVERIFY(w->isPlaying());
    }

    // The slider shows the volume the player has; Vol up moves both by one step.
    void theVolumeSliderShowsTheVolume()
    {
        Card card;
        auto w = start(card.root());
        QCOMPARE(w->controller().volume(), 50);
        QCOMPARE(w->volumeSlider()->value(), 50);
        w->Command(CmdVolumeUp);
        QCOMPARE(w->controller().volume(), 55);
        QCOMPARE(w->volumeSlider()->value(), 55);
    }

    // Japan: timer 4 moves the three-axis readout with the playback time at the length spread over the
    // samples (100 ms a sample here); every open starts it again at the new recording's time 0.
    void countryJapanAxisReadoutFollowsThePlayback()
    {
        viewerEnvironment().countryCode = 81;
        Card card;
        setTime(30000); // sample 300 of 600 in a 60 s recording
        auto w = start(card.root());
        const AxisReadout& axes = w->readouts().axes();
        QCOMPARE(axes.glyph(0, 0), int(AxisReadout::kBlank));
        // Timer 0 (500 ms) starts timer 4.
        QTRY_VERIFY_WITH_TIMEOUT(w->controller().isTimerActive(4), 2000);
        QTRY_COMPARE(axes.glyph(0, 0), int(AxisReadout::kMinus));
        QCOMPARE(axes.glyph(0, 4), 7);
        setTime(12000); // sample 120: x = 3
        QTRY_COMPARE(axes.glyph(0, 0), int(AxisReadout::kPlus));
        QCOMPARE(axes.glyph(0, 4), 3);
        QCOMPARE(axes.glyph(2, 1), 1); // z = 1024
        QCOMPARE(axes.glyph(2, 4), 4);

        // The next recording starts at its own time 0, then follows again.
        QTest::qWait(kInputLockMs + 50);
        setTime(30000);
        w->Next();
        QCOMPARE(axes.glyph(0, 0), int(AxisReadout::kBlank));
        QCOMPARE(axes.glyph(0, 4), 0);
        QTRY_COMPARE(axes.glyph(0, 0), int(AxisReadout::kMinus));
        setTime(0);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainWindowPlaybackTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowPlaybackTest.moc"
