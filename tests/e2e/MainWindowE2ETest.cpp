// The real main window on the demo cards, with the real media library, driven by key and mouse events on
// the offscreen platform: row 0 plays, keys and buttons walk the list, the end of the list clears the
// display, the size modes and the list column change the window as a user sees it.
#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "catalogue/CXListCtrl.h"
#include "catalogue/CXListHeader.h"
#include "app/ViewerEnvironment.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/MainWindowIds.h"
#include "platform/RemovableVolumes.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerController.h"
#include "sensor/CDataParser.h"
#include "map/CHtmlMap.h"
#include "map/MapPanel.h"
#include "map/MapSchemeHandler.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinButton.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace mainwindow;

namespace {

QString buildDir()
{
    return qEnvironmentVariable("KORVANE_TEST_BUILD_DIR");
}

// Waits for the window's start-up playback; true when a frame of row 0 was painted.
bool waitForFirstFrame(CKorvanePCPlayerDlg& w)
{
    QSignalSpy settled(&w, &CKorvanePCPlayerDlg::startupPlaybackSettled);
    if (!settled.wait(30000))
        return false;
    return settled.first().first().toBool();
}

void waitOutInputLock()
{
    QTest::qWait(kInputLockMs + 60);
}

void clickButton(CKorvanePCPlayerDlg& w, int id)
{
    CSkinButton* b = w.button(id);
    QVERIFY(b && b->isVisible());
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    QCoreApplication::processEvents(); // the click's notification
}

} // namespace

class MainWindowE2ETest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_settings;
    FixedRemovableVolumes m_noVolumes { QStringList() };

    std::unique_ptr<CKorvanePCPlayerDlg> startViewer(const QString& card)
    {
        auto w = std::make_unique<CKorvanePCPlayerDlg>(card);
        MainWindowStartup start;
        start.volumes = &m_noVolumes;
        start.checkPcCapability = [] { };
        start.chooseViewerTier = [](int tier) { return tier; };
        w->InitDialog(start);
        w->show();
        return w;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid());
        qputenv("KORVANE_SETTINGS_DIR", m_settings.path().toLocal8Bit());
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        InstallStringTable(*qApp, QStringLiteral("en"));
        viewerEnvironment().firstInstance = true;
        QVERIFY2(QFile::exists(buildDir() + QStringLiteral("/demo-card-avi/Setup")), "the demo cards are built");
    }

    void cleanupTestCase()
    {
        UnloadMediaLibrary();
    }

    void aviCardPlaysAndWalks()
    {
        auto w = startViewer(buildDir() + QStringLiteral("/demo-card-avi/"));
        CKorvanePCPlayerDlg& v = *w;
        QVERIFY2(v.player().hasPlayer(), "the media library loads");
        QVERIFY2(waitForFirstFrame(v), "row 0's first frame is painted");
        const int n = v.rowCount();
        QCOMPARE(n, 9);
        QVERIFY(v.isPlaying());
        QVERIFY(v.recordingText().endsWith(QStringLiteral("(1/9)")));
        QCOMPARE(v.currentListPosition(), 0);
        QCOMPARE(v.selectedRow(), 0);
        QVERIFY(v.playWnd()->framesPainted() > 0);
        // The readouts follow the playback: the time moves, the length arrives, the graph has its data and
        // its cursor moves with the time.
        QTRY_VERIFY_WITH_TIMEOUT(v.shownTime() > 1000 && v.shownLength() > 0, 5000);
        QVERIFY(v.graph()->hasData());
        QVERIFY(v.graph()->tables().isLoaded());
        QVERIFY(v.graph()->cursorX().value_or(0) > 0);

        // Row 1 is a span marker: Page Down skips it. Within 200 ms of an open the key does nothing.
        v.OpenListRow(0);
        QVERIFY(v.inputLocked());
        QTest::keyClick(v.rows(), Qt::Key_PageDown);
        QCOMPARE(v.currentListPosition(), 0);
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_PageDown);
        QCOMPARE(v.currentListPosition(), 2);
        QVERIFY(v.recordingText().endsWith(QStringLiteral("(3/9)")));
        QCOMPARE(v.selectedRow(), 2);
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_PageUp);
        QCOMPARE(v.currentListPosition(), 0);
        QVERIFY(v.recordingText().endsWith(QStringLiteral("(1/9)")));

        // Enter still works during the lock: it opens the selected row.
        QTest::keyClick(v.rows(), Qt::Key_Down);
        QTest::keyClick(v.rows(), Qt::Key_Down);
        QTest::keyClick(v.rows(), Qt::Key_Down);
        QCOMPARE(v.selectedRow(), 3);
        QCOMPARE(v.currentListPosition(), 0); // moving the selection opens nothing
        QTest::keyClick(v.rows(), Qt::Key_Return);
        QCOMPARE(v.currentListPosition(), 3);

        // Space pauses and resumes.
        waitOutInputLock();
        QVERIFY(v.isPlaying());
        QTest::keyClick(v.rows(), Qt::Key_Space);
        QVERIFY(!v.isPlaying());
        QVERIFY(v.button(IdPlay)->isVisible());
        QVERIFY(!v.button(IdPause)->isVisible());
        const qint64 pausedAt = v.shownTime();
        QTest::qWait(700);
        QVERIFY(std::abs(v.shownTime() - pausedAt) < 300);
        QTest::keyClick(v.rows(), Qt::Key_Space);
        QVERIFY(v.isPlaying());
        QVERIFY(v.button(IdPause)->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(v.shownTime() > pausedAt + 300, 5000);

        // A real end of media opens the next row.
        const int before = v.currentListPosition();
        v.controller().SeekTo(v.player().length() - 700);
        QTRY_COMPARE_WITH_TIMEOUT(v.currentListPosition(), before + 1, 10000);
        QVERIFY(v.isPlaying());

        // The end of media follows the list, skips the marker at row 7 and stops after the last row with
        // the display cleared.
        QList<int> opened;
        while (v.currentListPosition() < n) {
            NotifyEvent::post(&v, NotifyEvent::EndOfMedia, 0);
            QCoreApplication::processEvents();
            opened << v.currentListPosition();
        }
        QCOMPARE(opened, QList<int>({ 5, 6, 8, 9 }));
        QVERIFY(!v.isPlaying());
        QVERIFY(v.recordingText().isEmpty());
        QCOMPARE(v.shownTime(), 0);
        QCOMPARE(v.shownLength(), 0);
        QCOMPARE(v.shownSpeed(), QStringLiteral("0"));
        QCOMPARE(v.selectedRow(), n - 1);
        QVERIFY(!v.player().isOpen());
        // Previous from there opens the last row again.
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_PageUp);
        QCOMPARE(v.currentListPosition(), n - 1);
        QVERIFY(v.isPlaying());

        // A click on the category header shows the event recordings and opens the first of them.
        const QHeaderView* header = v.rows()->listHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionPosition(0) + 5, header->height() / 2));
        QTRY_COMPARE(v.categoryIndex(), 1);
        QCOMPARE(v.rowCount(), 2);
        for (int row = 0; row < v.rowCount(); ++row)
            QCOMPARE(v.rows()->entryAt(row).kindLabel, QStringLiteral("Event"));
        QVERIFY(v.recordingText().endsWith(QStringLiteral("(1/2)")));
    }

    // The map's place is there from the start, its view (from the map module) only after row 0's first
    // frame; it then shows the page asked for at start and takes the position the readouts give.
    void theMapViewComesAfterTheFirstFrame()
    {
        auto w = startViewer(buildDir() + QStringLiteral("/demo-card-avi/"));
        CKorvanePCPlayerDlg& v = *w;
        auto* panel = qobject_cast<MapPanel*>(v.mapWidget());
        QVERIFY(panel);
        QVERIFY(panel->isVisible());
        QVERIFY(!panel->HasView());
        QCOMPARE(panel->requestedPage(), mappages::DefaultPageStringId(viewerEnvironment().countryCode));
        QSignalSpy created(panel, &MapPanel::ViewCreated);
        uint64_t framesAtView = 0;
        connect(panel, &MapPanel::ViewCreated, panel, [&] { framesAtView = v.playWnd()->framesPainted(); });
        QVERIFY2(waitForFirstFrame(v), "row 0's first frame is painted");
        QTRY_VERIFY_WITH_TIMEOUT(!created.isEmpty(), 15000);
        QCOMPARE(created.first().first().toBool(), true);
        QVERIFY(framesAtView > 0); // not before the first frame
        QVERIFY(panel->HasView());
        auto* map = qobject_cast<CHtmlMap*>(panel->view()->widget());
        QVERIFY(map);
        QCOMPARE(map->parentWidget(), panel);
        QCOMPARE(map->geometry(), panel->rect());
        QVERIFY(map->isVisible());
        QCOMPARE(map->requestedAddress(), StringById(panel->requestedPage()));
        // A click on the track reaches the window through the panel: the player seeks.
        waitOutInputLock();
        QSignalSpy seeks(panel, &MapPanel::SeekRequested);
        Q_EMIT map->SeekRequested(3000);
        QCOMPARE(seeks.count(), 1);
        QCOMPARE(seeks.first().first().toLongLong(), 3000);
    }

    void sizeModesAndListColumn()
    {
        auto w = startViewer(buildDir() + QStringLiteral("/demo-card-avi/"));
        CKorvanePCPlayerDlg& v = *w;
        QVERIFY(waitForFirstFrame(v));
        QVERIFY(v.isMaximisedFlag());
        QCOMPARE(v.videoWidth(), 1280);
        QCOMPARE(v.videoHeight(), 720);
        const QMargins m = v.frameMargins();
        const int f = m.top() + m.bottom() + 25 + 105;

        // Key 1: the window fits 0.6 of the 720p video beside the list.
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_1);
        QVERIFY(!v.isMaximisedFlag());
        QTRY_COMPARE(v.size(), QSize(768 + 330, 432 + f));
        QVERIFY(v.listWidget()->isVisible());

        // List Off makes the window 310 pixels narrower, List On as much wider again.
        const int width = v.width();
        clickButton(v, IdListOff);
        QTRY_COMPARE(v.width(), width - 310);
        QVERIFY(!v.listWidget()->isVisible());
        QVERIFY(v.button(IdListOn)->isVisible());
        QVERIFY(!v.button(IdDrive)->isVisible());
        clickButton(v, IdListOn);
        QTRY_COMPARE(v.width(), width);
        QVERIFY(v.listWidget()->isVisible());
        QVERIFY(v.button(IdDrive)->isVisible());

        // Key 2: the video's own size does not fit the offscreen screen, so the window is maximised over the
        // work area without the list.
        const QRect work = v.screen()->availableGeometry();
        QTest::keyClick(v.rows(), Qt::Key_2);
        QVERIFY(v.isMaximisedFlag());
        QVERIFY(!v.listWidget()->isVisible());
        QTRY_COMPARE(v.geometry(), work);

        // Key 3: full with the list.
        QTest::keyClick(v.rows(), Qt::Key_3);
        QVERIFY(v.isMaximisedFlag());
        QVERIFY(v.listWidget()->isVisible());
        QCOMPARE(v.geometry(), work);
        QCOMPARE(v.playWnd()->width(), v.client()->width() - 330);
    }

    void mp4CardPlaysWithoutTheMap()
    {
        auto w = startViewer(buildDir() + QStringLiteral("/demo-card-mp4/"));
        CKorvanePCPlayerDlg& v = *w;
        QVERIFY(waitForFirstFrame(v));
        QVERIFY(v.modelIndex() == 4 || v.modelIndex() == 5);
        QCOMPARE(v.contextMenuId(), int(MenuMapless));
        QVERIFY(!v.mapWidget()->isVisible());
        QVERIFY(!v.button(IdMapOn)->isVisible());
        QVERIFY(!v.button(IdMapOff)->isVisible());
        QVERIFY(v.listWidget()->isVisible());
        QCOMPARE(v.listWidget()->height(), v.client()->height() - 88);
        QVERIFY(v.rowCount() > 0);
        QVERIFY(v.recordingText().endsWith(QStringLiteral("(1/%1)").arg(v.rowCount())));
        QString type;
        SettingsStore::user().ReadRegistryText(
            QString::fromLatin1(SettingsStore::kViewerKey), QStringLiteral("Type"), type);
        QCOMPARE(type, v.modelIndex() == 4 ? QStringLiteral("KRV-DELTA") : QStringLiteral("KRV-ECHO_WDR"));
    }

    void pulledCardLeavesRowSelectedAndPlayShown()
    {
        QTemporaryDir card;
        const QString src = buildDir() + QStringLiteral("/demo-card-avi/");
        for (const QString& name : QDir(src).entryList(QDir::Files))
            QVERIFY(QFile::copy(src + name, card.filePath(name)));
        auto w = startViewer(card.path() + QLatin1Char('/'));
        CKorvanePCPlayerDlg& v = *w;
        QVERIFY(waitForFirstFrame(v));
        // Boxes are answered without a human; spare answers keep an unexpected second box from blocking
        // the test, and it is counted instead.
        CDlgMessage::clearNextAnswers();
        for (int i = 0; i < 4; ++i)
            CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        // The card goes away while row 0 plays.
        QVERIFY(card.remove());
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_PageDown);
        QCOMPARE(v.currentListPosition(), 2);
        QCOMPARE(v.selectedRow(), 2);
        QVERIFY(!v.isPlaying());
        QVERIFY(v.button(IdPlay)->isVisible());
        QVERIFY(v.recordingText().endsWith(QStringLiteral("(3/9)")));
        // The open that found the card gone tells the user, with an OK box.
        const QList<CDlgMessage::Asked> asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().style, int(CDlgMessage::StyleOk));
        QCOMPARE(asked.first().text, QStringLiteral("The SD card or folder is no longer available."));

        // Further opens while the card stays out (Next, Enter on the selected row, Previous) change rows
        // without crashing and without another box.
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_PageDown);
        QCOMPARE(v.currentListPosition(), 3);
        QCOMPARE(v.selectedRow(), 3);
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_Return);
        QCOMPARE(v.selectedRow(), 3);
        waitOutInputLock();
        QTest::keyClick(v.rows(), Qt::Key_PageUp);
        QCOMPARE(v.currentListPosition(), 2);
        QCOMPARE(v.selectedRow(), 2);
        QVERIFY(!v.isPlaying());
        QVERIFY(v.button(IdPlay)->isVisible());
        QVERIFY(v.recordingText().endsWith(QStringLiteral("(3/9)")));
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
        CDlgMessage::clearNextAnswers();
    }
};

int main(int argc, char** argv)
{
    // The map's web engine cannot start its sandbox for root.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    // No graphics card on the offscreen platform: the map's web view draws in software.
    qputenv("QT_QUICK_BACKEND", "software");
    MapSchemeHandler::RegisterSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MainWindowE2ETest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowE2ETest.moc"
