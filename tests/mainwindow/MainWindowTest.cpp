// The main window's start-up and commands on small card folders built here, without the media library:
// the model step and the Type value, the tier chooser, the context menus, minimum sizes, the input lock
// and the mouse.
#include "app/StringTables.h"
#include "catalogue/CXListCtrl.h"
#include "app/ViewerEnvironment.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/StartupNotices.h"
#include "platform/RemovableVolumes.h"
#include "platform/SettingsStore.h"
#include "playback/CPlayWnd.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace mainwindow;

namespace {

const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);

// A card folder with a few recordings and, when code >= 0, a settings file carrying that model code.
struct Card
{
    QTemporaryDir dir;

    explicit Card(int code, const QString& extension = QStringLiteral(".avi"))
    {
        for (const char* name : { "rec_20240101_100000", "rec_20240101_100100", "evt_20240101_100200" }) {
            QFile f(dir.filePath(QString::fromLatin1(name) + extension));
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(600, 'v'));
        }
        if (code >= 0) {
            QDir(dir.path()).mkpath(QStringLiteral("Setup"));
            QFile f(dir.filePath(QStringLiteral("Setup/setup.bin")));
            f.open(QIODevice::WriteOnly);
            QByteArray bytes(64, '\0');
            bytes[18] = char(code);
            f.write(bytes);
        }
    }
    QString root() const { return dir.path() + QLatin1Char('/'); }
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<SettingsStore> m_store;
    FixedRemovableVolumes m_noVolumes { QStringList() };
    int m_chooserCalls = 0;
    int m_storeCount = 0;

    std::unique_ptr<CKorvanePCPlayerDlg> start(const QString& folder)
    {
        auto w = std::make_unique<CKorvanePCPlayerDlg>(folder);
        MainWindowStartup s;
        s.store = m_store.get();
        s.volumes = &m_noVolumes;
        s.checkPcCapability = [] { };
        s.chooseViewerTier = [this](int tier) {
            ++m_chooserCalls;
            return tier;
        };
        s.installLibraryVariant = [](int) { };
        s.loadMediaLibrary = false;
        s.mapView = false; // no browser engine on the offscreen platform here
        w->InitDialog(s);
        return w;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        InstallStringTable(*qApp, QStringLiteral("en"));
    }

    void init()
    {
        m_store = std::make_unique<SettingsStore>(m_settingsDir.path() + QStringLiteral("/") + QString::number(++m_storeCount));
        viewerEnvironment().firstInstance = true;
        m_chooserCalls = 0;
        // The fixture's recordings are not real AVI files: every open offers a recovery, declined here.
        CDlgMessage::clearNextAnswers();
        for (int i = 0; i < 20; ++i)
            CDlgMessage::setNextAnswer(CDlgMessage::ResultNo);
    }

    void modelStepAndTypeValue_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("menu");
        QTest::newRow("Delta writes its name") << 25 << 4 << "KRV-DELTA" << int(MenuMapless);
        // The Echo keeps its own name, so that the settings command opens the Echo editor when the card is gone.
        QTest::newRow("Echo writes its own name") << 26 << 5 << "KRV-ECHO_WDR" << int(MenuMapless);
        QTest::newRow("Charlie writes nothing") << 20 << 3 << "" << int(MenuStandard);
        QTest::newRow("no settings file") << -1 << 0 << "" << int(MenuStandard);
    }

    void modelStepAndTypeValue()
    {
        QFETCH(int, code);
        QFETCH(int, model);
        QFETCH(QString, type);
        QFETCH(int, menu);
        Card card(code, model >= 4 ? QStringLiteral(".mp4") : QStringLiteral(".avi"));
        auto w = start(card.root());
        QCOMPARE(w->modelIndex(), model);
        QCOMPARE(w->contextMenuId(), menu);
        QString written;
        m_store->ReadRegistryText(kKey, QStringLiteral("Type"), written);
        QCOMPARE(written, type);
        const bool mapless = model == 4 || model == 5;
        QCOMPARE(w->mapWidget()->isHidden(), mapless);
        QCOMPARE(w->button(IdMapOff)->isHidden(), mapless);
        QCOMPARE(w->rowCount(), 3);
        QVERIFY(w->recordingText().isEmpty()); // nothing is opened before timer 3
    }

    void cleanSettingsStartInTheHighTierWithoutChooser()
    {
        Card card(20);
        auto w = start(card.root());
        QCOMPARE(m_chooserCalls, 0);
        QCOMPARE(viewerEnvironment().viewerTier, int(ViewerTier::High));
        QVERIFY(!w->button(IdZoomOn)->isHidden());
        int32_t init = -1;
        QVERIFY(m_store->ReadRegistryNumber(kKey, QStringLiteral("ViewerSettingInit"), init));
        QCOMPARE(init, 1);
    }

    void midTierHidesTheMagnifierAndAsksWhenTold()
    {
        m_store->WriteRegistryNumber(kKey, QStringLiteral("ViewerPerformance"), 1);
        m_store->WriteRegistryNumber(kKey, QStringLiteral("ViewerSettingInit"), 0);
        Card card(20);
        auto w = start(card.root());
        QCOMPARE(m_chooserCalls, 1);
        QCOMPARE(viewerEnvironment().viewerTier, int(ViewerTier::Mid));
        QVERIFY(w->button(IdZoomOn)->isHidden());
        QVERIFY(w->button(IdZoomOff)->isHidden());
    }

    void tierChooserSetsTheTierAndWritesTheCheckBoxAtOnce()
    {
        int32_t initAtClose = -1;
        QTimer::singleShot(50, this, [&] {
            auto* box = qobject_cast<CDlgMessage*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->style(), int(CDlgMessage::StyleViewerChooser));
            QVERIFY(box->radio(CDlgMessage::RadioMid)->isChecked());
            QTest::mouseClick(box->radio(CDlgMessage::RadioLow), Qt::LeftButton);
            QCoreApplication::processEvents();
            QVERIFY(box->radio(CDlgMessage::RadioLow)->isChecked());
            QVERIFY(!box->radio(CDlgMessage::RadioMid)->isChecked());
            QTest::mouseClick(box->radio(CDlgMessage::CheckBox), Qt::LeftButton);
            QCoreApplication::processEvents();
            // Written while the box is still open.
            m_store->ReadRegistryNumber(kKey, QStringLiteral("ViewerSettingInit"), initAtClose);
            box->accept();
        });
        const int tier = ChooseViewerTier(1, *m_store, nullptr);
        QCOMPARE(tier, 2);
        QCOMPARE(initAtClose, 1);
    }

    void contextMenusFollowTheModel()
    {
        Card card(20);
        auto w = start(card.root());
        std::unique_ptr<QMenu> menu = w->createContextMenu();
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts,
            QStringList({ "Select the folder", "Select the Drive", "-", "Play Control", "Sound", "-",
                "Save all Eventfiles", "Setting", "Exit" }));
        QMenu* play = menu->actions().at(3)->menu();
        QVERIFY(play);
        QCOMPARE(play->actions().size(), 7);
        QCOMPARE(play->actions().at(0)->data().toInt(), int(CmdPlayPause));
        QCOMPARE(play->actions().at(6)->data().toInt(), int(CmdNext));
    }

    void minimumSizeWithoutRecording()
    {
        Card card(20);
        auto w = start(card.root());
        const QSize screen = w->screen()->availableGeometry().size();
        QCOMPARE(w->minimumWindowSize(), QSize(1110, 600));
        QCOMPARE(w->minimumSize(), QSize(1110, 600).boundedTo(screen));
        w->ListOff();
        QCOMPARE(w->minimumWindowSize(), QSize(800, 600));
        QCOMPARE(w->minimumSize(), QSize(800, 600).boundedTo(screen));
    }

    void keysDuringTheInputLockAreSwallowed()
    {
        Card card(20);
        auto w = start(card.root());
        QSignalSpy settled(w.get(), &CKorvanePCPlayerDlg::startupPlaybackSettled);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // Timer 3 opens row 0 after start-up (the fixture's files are offered for recovery, declined); without
        // a media library nothing plays, and the window says so.
        QTRY_COMPARE_WITH_TIMEOUT(settled.count(), 1, 10000);
        QCOMPARE(settled.first().first().toBool(), false);
        QCOMPARE(w->currentListPosition(), 0);
        // Then row 0 again, locked as every open locks.
        w->OpenListRow(0);
        w->lockInput();
        QVERIFY(w->inputLocked());
        QCOMPARE(w->currentListPosition(), 0);
        QTest::keyClick(w->rows(), Qt::Key_PageDown);
        QCOMPARE(w->currentListPosition(), 0);
        QTest::keyClick(w->rows(), Qt::Key_Down); // not locked: the selection moves
        QCOMPARE(w->selectedRow(), 1);
        // The lock is a span of time that the next key looks at; nothing signals its end.
        QTest::qWait(kInputLockMs + 50);
        QTest::keyClick(w->rows(), Qt::Key_PageDown);
        QCOMPARE(w->currentListPosition(), 1);
        // While a repair runs nothing is handled.
        w->setReady(false);
        QTest::keyClick(w->rows(), Qt::Key_PageDown);
        QCOMPARE(w->currentListPosition(), 1);
    }

    void middleClickTogglesTheListAndRightClickNeedsAPlayedRecording()
    {
        Card card(20);
        auto w = start(card.root());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
        QVERIFY(w->listWidget()->isVisible());
        QTest::mouseClick(w->playWnd(), Qt::MiddleButton, {}, QPoint(20, 20));
        QVERIFY(!w->listWidget()->isVisible());
        QTest::mouseClick(w->playWnd(), Qt::MiddleButton, {}, QPoint(20, 20));
        QVERIFY(w->listWidget()->isVisible());
        // Nothing played yet: the right button opens no menu.
        QVERIFY(!w->lastPlayOk());
        QTest::mousePress(w->playWnd(), Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        QTest::mouseRelease(w->playWnd(), Qt::RightButton, {}, QPoint(20, 20));
    }
};

int main(int argc, char** argv)
{
    // The window holds the map's web view, whose engine cannot start its sandbox for root.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
