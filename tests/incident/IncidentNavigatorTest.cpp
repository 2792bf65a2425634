// The viewer's impact keys on a card folder built here (recordings without playable video, data files with
// known impacts), without the media library: ] walks to the next recording holding an impact in list order
// and asks for a seek a few seconds before its peak, [ walks back, the keys leave rows without impacts
// alone, and the video menu carries the entries.
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "catalogue/CXListCtrl.h"
#include "incident/EvidencePackage.h"
#include "incident/ImpactThresholdSetting.h"
#include "incident/IncidentNavigator.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/MainWindowIds.h"
#include "platform/RemovableVolumes.h"
#include "platform/SettingsStore.h"
#include "skin/CDlgMessage.h"
#include "skin/SkinModule.h"
#include "trips/TripView.h"
#include "SidecarWriter.h"

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace mainwindow;

namespace {

// 30 s of samples (10 a second) and GPS; a jolt at `impactSecond` unless it is negative.
QByteArray dataFile(int impactSecond)
{
    std::vector<sidecarwriter::Sensor> sensors(300, sidecarwriter::Sensor { 0, 0, 1024, 0 });
    if (impactSecond >= 0)
        sensors[static_cast<size_t>(impactSecond * 10)].y = -2300;
    std::vector<sidecarwriter::Gps> gps(30);
    return sidecarwriter::buildDataFile(sensors, gps, QByteArray(8, '\0'), 0);
}

} // namespace

class IncidentNavigatorTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_settings;
    std::unique_ptr<SettingsStore> m_store;
    FixedRemovableVolumes m_noVolumes { QStringList() };

    // The card's recordings (name, second of the jolt or -1) without playable video, opened in a shown window
    // past its start-up input lock; null when something could not be made.
    std::unique_ptr<CKorvanePCPlayerDlg> openCard(const QTemporaryDir& card, std::initializer_list<std::pair<const char*, int>> recordings)
    {
        for (const auto& [name, impact] : recordings) {
            QFile video(card.filePath(QString::fromLatin1(name) + ".avi"));
            QFile data(card.filePath(QString::fromLatin1(name) + ".dat"));
            if (!video.open(QIODevice::WriteOnly) || video.write(QByteArray(600, 'v')) != 600 || !data.open(QIODevice::WriteOnly)
                || data.write(dataFile(impact)) <= 0)
                return nullptr;
        }
        auto w = std::make_unique<CKorvanePCPlayerDlg>(card.path() + "/");
        MainWindowStartup s;
        s.store = m_store.get();
        s.volumes = &m_noVolumes;
        s.checkPcCapability = [] { };
        s.chooseViewerTier = [](int tier) { return tier; };
        s.installLibraryVariant = [](int) { };
        s.loadMediaLibrary = false;
        s.mapView = false;
        w->InitDialog(s);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return nullptr;
        QTest::qWait(100 + kInputLockMs + 100);
        return w;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        InstallStringTable(*qApp, QStringLiteral("en"));
        qputenv("KORVANE_SETTINGS_DIR", m_settings.path().toLocal8Bit());
        m_store = std::make_unique<SettingsStore>(m_settings.path());
        viewerEnvironment().firstInstance = true;
        CDlgMessage::clearNextAnswers();
        for (int i = 0; i < 40; ++i)
            CDlgMessage::setNextAnswer(CDlgMessage::ResultNo); // the fake recordings are offered for recovery
    }

    void keysWalkTheImpactsInListOrder()
    {
        QTemporaryDir card;
        // list order: rec 100000 (no impact), rec 100030 (impact at 15 s), evt 100100 (impact at 5 s)
        auto w = openCard(card, { { "rec_20240101_100000", -1 }, { "rec_20240101_100030", 15 }, { "evt_20240101_100100", 5 } });
        QVERIFY(w);
        QCOMPARE(w->rowCount(), 3);
        auto* navigator = w->findChild<IncidentNavigator*>();
        QVERIFY(navigator);

        // sent to the list, which has the focus and would take ] for its type-ahead search
        w->rows()->setFocus();
        QTest::keyClick(w->rows(), Qt::Key_BracketRight);
        QCOMPARE(w->currentListPosition(), 1);
        QCOMPARE(navigator->pendingSeek().value_or(-1), 15000 - IncidentNavigator::kLeadMs);
        // while the window's input lock holds (as after an open that plays) the key does nothing
        w->lockInput();
        QTest::keyClick(w->rows(), Qt::Key_BracketRight);
        QCOMPARE(w->currentListPosition(), 1);
        QTest::qWait(kInputLockMs + 50);

        QTest::keyClick(w->rows(), Qt::Key_BracketRight);
        QCOMPARE(w->currentListPosition(), 2);
        QCOMPARE(navigator->pendingSeek().value_or(-1), 5000 - IncidentNavigator::kLeadMs);
        QTest::qWait(kInputLockMs + 50);

        // nothing after the last impact: the position stays
        QTest::keyClick(w->rows(), Qt::Key_BracketRight);
        QCOMPARE(w->currentListPosition(), 2);
        QTest::qWait(kInputLockMs + 50);

        QTest::keyClick(w->rows(), Qt::Key_BracketLeft);
        QCOMPARE(w->currentListPosition(), 1);
        QCOMPARE(navigator->pendingSeek().value_or(-1), 15000 - IncidentNavigator::kLeadMs);

        // the list marks the rows that hold an impact
        CXListCtrl* rows = w->rows();
        QVERIFY(rows->rowMarker());
        QCOMPARE(rows->rowMarker()(rows->entryAt(0)), false);
        QCOMPARE(rows->rowMarker()(rows->entryAt(1)), true);
        QCOMPARE(rows->rowMarker()(rows->entryAt(2)), true);

        QMenu menu;
        Q_EMIT w->videoMenuAboutToShow(&menu);
        QStringList shortcuts;
        QStringList texts;
        for (QAction* a : menu.actions()) {
            shortcuts << a->shortcut().toString();
            texts << a->text();
        }
        QVERIFY(shortcuts.contains(QStringLiteral("]")));
        QVERIFY(shortcuts.contains(QStringLiteral("[")));
        QVERIFY(shortcuts.contains(QStringLiteral("Ctrl+E")));
        QVERIFY(shortcuts.contains(QStringLiteral("Ctrl+Shift+E")));
        // the entries' texts come from the string table
        QVERIFY(texts.contains(QStringLiteral("Next impact")));
        QVERIFY(texts.contains(QStringLiteral("Previous impact")));
        QVERIFY(texts.contains(QStringLiteral("Export evidence package...")));
        QVERIFY(texts.contains(QStringLiteral("Export evidence package as zip...")));
        QVERIFY(texts.contains(QStringLiteral("Impact threshold")));
    }

    // The threshold chosen in the video menu is kept in the viewer's settings and applies at once: a 2.25 g
    // jolt stops counting at 2.5 g (no mark, no jump) and counts again at 1.5 g.
    void theMenuSetsTheThresholdForMarksAndJumps()
    {
        QTemporaryDir card;
        auto w = openCard(card, { { "rec_20240101_100000", -1 }, { "rec_20240101_100030", 15 } });
        QVERIFY(w);
        auto* navigator = w->findChild<IncidentNavigator*>();
        QVERIFY(navigator);
        CXListCtrl* rows = w->rows();
        QCOMPARE(rows->rowMarker()(rows->entryAt(1)), true);
        // the trip strip, made before the choice, counts impacts at the same threshold
        QCOMPARE(w->tripView().ImpactThresholdG(), 1.5);

        // the menu's choice, as a user picks it
        auto pick = [&](const QString& label) {
            QMenu menu;
            Q_EMIT w->videoMenuAboutToShow(&menu);
            QMenu* thresholds = nullptr;
            for (QAction* a : menu.actions())
                if (a->menu() && a->text() == QLatin1String("Impact threshold"))
                    thresholds = a->menu();
            QVERIFY(thresholds);
            QAction* wanted = nullptr;
            QStringList checked;
            for (QAction* a : thresholds->actions()) {
                if (a->text() == label)
                    wanted = a;
                if (a->isChecked())
                    checked << a->text();
            }
            QCOMPARE(checked.size(), 1);
            QVERIFY2(wanted, qPrintable(label));
            wanted->trigger();
        };
        pick(QStringLiteral("2.5 g"));
        QCOMPARE(navigator->thresholdG(), 2.5);
        QCOMPARE(w->tripView().ImpactThresholdG(), 2.5);
        QCOMPARE(impactsetting::read(SettingsStore::user()), 2.5);
        QCOMPARE(rows->rowMarker()(rows->entryAt(1)), false);
        w->rows()->setFocus();
        QTest::keyClick(w->rows(), Qt::Key_BracketRight);
        QCOMPARE(w->currentListPosition(), 0);
        QVERIFY(!navigator->pendingSeek());

        // out of range: refused, nothing changes
        QVERIFY(!navigator->setThresholdG(0.0));
        QCOMPARE(navigator->thresholdG(), 2.5);

        pick(QStringLiteral("1.5 g"));
        QCOMPARE(impactsetting::read(SettingsStore::user()), 1.5);
        QCOMPARE(rows->rowMarker()(rows->entryAt(1)), true);
        QTest::qWait(kInputLockMs + 50);
        QTest::keyClick(w->rows(), Qt::Key_BracketRight);
        QCOMPARE(w->currentListPosition(), 1);
        QCOMPARE(navigator->pendingSeek().value_or(-1), 15000 - IncidentNavigator::kLeadMs);
    }

    // The menu entries and the export's outcome in every table: never an English fallback or a bare id.
    void textsComeFromEveryStringTable_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("failed");
        QTest::addColumn<QString>("writtenNoZip");
        QTest::newRow("ko") << "ko" << QString::fromUtf8("다음 충격")
                            << QString::fromUtf8("증거 패키지를 저장했습니다.\n/p/evidence\n(같은 위치에 ZIP 파일도 있습니다.)")
                            << QString::fromUtf8("증거 패키지를 저장하지 못했습니다: disk full")
                            << QString::fromUtf8("증거 패키지를 저장했습니다.\n/p/evidence");
        QTest::newRow("en") << "en" << "Next impact"
                            << "The evidence package was written to\n/p/evidence\n(and beside it as a zip file)"
                            << "No evidence package was written: disk full"
                            << "The evidence package was written to\n/p/evidence";
        QTest::newRow("en_AU") << "en_AU" << "Next impact"
                               << "The evidence package was written to\n/p/evidence\n(and beside it as a zip file)"
                               << "No evidence package was written: disk full"
                               << "The evidence package was written to\n/p/evidence";
        QTest::newRow("ja") << "ja" << QString::fromUtf8("次の衝撃")
                            << QString::fromUtf8("証拠パッケージを保存しました。\n/p/evidence\n(同じ場所にZIPファイルもあります。)")
                            << QString::fromUtf8("証拠パッケージを保存できませんでした: disk full")
                            << QString::fromUtf8("証拠パッケージを保存しました。\n/p/evidence");
    }

    void textsComeFromEveryStringTable()
    {
        QFETCH(QString, table);
        QFETCH(QString, next);
        QFETCH(QString, written);
        QFETCH(QString, failed);
        QFETCH(QString, writtenNoZip);
        QVERIFY(InstallStringTable(*qApp, table));
        QCOMPARE(StringById(IncidentNavigator::kStrNextImpact), next);
        for (int id : { IncidentNavigator::kStrPreviousImpact, IncidentNavigator::kStrExportPackage,
                 IncidentNavigator::kStrExportPackageZip, IncidentNavigator::kStrImpactThreshold }) {
            const QString text = StringById(id);
            QVERIFY2(!text.isEmpty() && !text.startsWith(QLatin1String("str_")), qPrintable(text));
            if (table.startsWith(QLatin1String("ko")) || table.startsWith(QLatin1String("ja")))
                QVERIFY2(text.toLatin1() != text.toUtf8(), qPrintable(text)); // not an English stand-in
        }
        EvidenceResult ok;
        ok.ok = true;
        ok.folder = QStringLiteral("/p/evidence");
        ok.zipPath = QStringLiteral("/p/evidence.zip");
        QCOMPARE(IncidentNavigator::ResultText(ok), written);
        ok.zipPath.clear();
        QCOMPARE(IncidentNavigator::ResultText(ok), writtenNoZip);
        EvidenceResult bad;
        bad.error = QStringLiteral("disk full");
        QCOMPARE(IncidentNavigator::ResultText(bad), failed);
        // A failure of a known kind is told in the table's words, never as the English detail.
        const QString lead = failed.left(failed.indexOf(QLatin1String("disk full")));
        bad.error = QStringLiteral("avio_open -28 /tmp/x");
        for (ExportFailure kind : { ExportFailure::Window, ExportFailure::AmongRecordings, ExportFailure::Reading,
                 ExportFailure::Writing }) {
            bad.failure = kind;
            const QString text = IncidentNavigator::ResultText(bad);
            QVERIFY2(!text.contains(bad.error) && !text.contains(QLatin1String("str_")) && text.size() > lead.size() + 4,
                qPrintable(text));
            QVERIFY2(text.startsWith(lead), qPrintable(text));
            if (table.startsWith(QLatin1String("ko")) || table.startsWith(QLatin1String("ja")))
                QVERIFY2(text.toLatin1() != text.toUtf8(), qPrintable(text));
        }
        bad.failure = ExportFailure::Writing;
        QCOMPARE(IncidentNavigator::ResultText(bad), lead + StringById(IncidentNavigator::kStrFailureWriting));
        QVERIFY(InstallStringTable(*qApp, QStringLiteral("en")));
    }
};

QTEST_MAIN(IncidentNavigatorTest)
#include "IncidentNavigatorTest.moc"
