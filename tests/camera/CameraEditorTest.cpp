// The settings editors as a user drives them: pages by tier, what each tab shows, clicks through the rules,
// OK and Cancel with their questions answered in advance, the settings command and the firmware notice.
#include "CameraFixtures.h"

#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "camera/CDlgOption.h"
#include "camera/CameraSettingsCommand.h"
#include "camera/SetupBackup.h"
#include "platform/SettingsStore.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CSliderOption.h"
#include "skin/CDropButton.h"
#include "skin/DropSelectionEvent.h"
#include "skin/SkinModule.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <set>

using namespace camera_test;
using M = CameraModel;

namespace {

const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);
constexpr int kEnglish = 44;
constexpr int kKorea = 82;

QList<int> askedIds(const QList<CDlgMessage::Asked>& asked)
{
    QList<int> ids;
    for (const auto& a : asked) {
        bool found = false;
        for (int id = 100; id < 700 && !found; ++id) {
            if (!StringById(id).isEmpty() && StringById(id) == a.text) {
                ids.append(id);
                found = true;
            }
        }
        if (!found)
            ids.append(-1);
    }
    return ids;
}

} // namespace

class CameraEditorTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_backups;
    std::unique_ptr<SettingsStore> m_store;

    QString root() const { return m_dir->path() + QLatin1Char('/'); }
    QString setupPath() const { return root() + QStringLiteral("Setup/setup.bin"); }

    void setTier(int tier) { m_store->WriteRegistryNumber(kKey, QStringLiteral("ViewerPerformance"), tier); }

    std::unique_ptr<CDlgOption> editor(CameraModel model, int country = kEnglish)
    {
        CDlgOption::Environment env;
        env.store = m_store.get();
        env.countryCode = country;
        env.codePage = QStringLiteral("windows-1252");
        auto dialog = CreateCameraSettingsEditor(model, env);
        dialog->SetPath(setupPath());
        dialog->initialise();
        return dialog;
    }

    void clickTab(CDlgOption& dialog, int index)
    {
        QTest::mouseClick(dialog.client(), Qt::LeftButton, Qt::NoModifier, dialog.layout().tabRect(index).center());
    }

    void clickRadio(CDlgOption& dialog, int id)
    {
        CSkinRadioButton* radio = dialog.radio(id);
        QVERIFY2(radio, qPrintable(QStringLiteral("no radio %1").arg(id)));
        QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, QPoint(7, 7));
        QCoreApplication::sendPostedEvents();
    }

    // Ids of the controls with an id that are visible now.
    std::set<int> visibleIds(CDlgOption& dialog)
    {
        std::set<int> ids;
        for (const EditorControl& c : dialog.layout().controls) {
            if (QWidget* w = dialog.controlWidget(c.id); w && w->isVisibleTo(&dialog))
                ids.insert(c.id);
        }
        return ids;
    }

    QByteArray echoFile()
    {
        QByteArray image = validImage(100, 26);
        image[0] = 1;
        image[1] = 12;
        image[5] = 2;
        image[6] = 2;
        image[13] = 0;
        image[98] = 1;
        image[99] = 1;
        image.replace(setup::kWifiPassword, 10, "0123456789");
        image.replace(setup::kWifiName, 8, "KRV-CAR1");
        return image;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        QVERIFY(InstallStringTable(*QCoreApplication::instance(), QStringLiteral("en")));
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_backups = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<SettingsStore>(m_dir->path() + QStringLiteral("/registry"));
        setupbackup::setFolder(m_backups->path());
        setupbackup::resetSession();
        CDlgMessage::clearNextAnswers();
        setTier(0);
    }

    void cleanup()
    {
        setCameraSettingsRunnerForTesting({});
        setupbackup::setFolder(QString());
        CDlgMessage::clearNextAnswers();
    }

    void tabsByTier_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("tier");
        QTest::addColumn<int>("tabs");
        for (CameraModel model : kAllCameraModels) {
            const int pages = hasNetworkFields(model) ? 5 : 4;
            for (int tier : { 0, 1, 2 }) {
                QTest::addRow("%s tier %d", qPrintable(CameraModelName(model)), tier)
                    << int(model) << tier << (tier == 0 ? pages : pages - 1);
            }
        }
    }

    void tabsByTier()
    {
        QFETCH(int, model);
        QFETCH(int, tier);
        QFETCH(int, tabs);
        setTier(tier);
        auto dialog = editor(CameraModel(model));
        QCOMPARE(dialog->layout().tabs.size(), tabs);
        QCOMPARE(dialog->layout().tabs.contains(EditorTab::Advanced), tier == 0);
        // The strip is divided into as many tabs as exist.
        QCOMPARE(dialog->layout().tabRect(0).width(), (dialog->layout().clientSize.width() - 20) / tabs);
        // Each tab click shows its page; a click where a further tab would be does nothing.
        for (int i = 0; i < tabs; ++i) {
            clickTab(*dialog, i);
            QCOMPARE(dialog->currentTab(), i);
        }
        const QRect last = dialog->layout().tabRect(tabs - 1);
        QTest::mouseClick(dialog->client(), Qt::LeftButton, Qt::NoModifier,
            QPoint(dialog->layout().clientSize.width() - 5, last.center().y()));
        QCOMPARE(dialog->currentTab(), tabs - 1);
    }

    void echoTabsShowTheirControls()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        auto dialog = editor(M::Echo);
        dialog->show();
        struct Page
        {
            EditorTab tab;
            std::set<int> ids;
        };
        const Page pages[] = {
            { EditorTab::Driving, { 1083, 1084, 1085, 1086, 1087, 1088, 1089, 1090, 1091, 1092, 100, 1111, 1112 } },
            { EditorTab::Parking, { 1093, 1094, 1095, 1096, 1097, 1098, 1099, 1100, 1101, 1102 } },
            { EditorTab::WiFi, { 1136, 1076, 1103, 1104, 1077, 1078 } },
            { EditorTab::General, { 1105, 1106, 1107, 1108, 1110, 1138, 1109, 1137, 1116, 1117, 1118, 1127, 1128 } },
            { EditorTab::Advanced, { 1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126 } },
        };
        for (const Page& page : pages) {
            clickTab(*dialog, int(dialog->layout().tabs.indexOf(page.tab)));
            QCOMPARE(dialog->currentPage(), page.tab);
            QCOMPARE(visibleIds(*dialog), page.ids);
        }

        // The conditional rows: voice volume while voice guidance is ON, the parking sub-options while
        // parking is ON, the ratio controls with deletion by file type.
        clickTab(*dialog, 0);
        clickRadio(*dialog, 1112);
        QVERIFY(visibleIds(*dialog).count(1114));
        QVERIFY(dialog->radio(1114)->isChecked());
        clickRadio(*dialog, 1111);
        QVERIFY(!visibleIds(*dialog).count(1114));
        clickTab(*dialog, 1);
        clickRadio(*dialog, 1095);
        QVERIFY(!visibleIds(*dialog).count(1094));
        QVERIFY(!visibleIds(*dialog).count(1096));
        clickTab(*dialog, 3);
        clickRadio(*dialog, 1105);
        QVERIFY(!visibleIds(*dialog).count(1110));
        QVERIFY(!visibleIds(*dialog).count(1109));
        QCOMPARE(dialog->firmwareLabelText(), QStringLiteral("KRV-ECHO WDR FW Ver 1.12"));
    }

    void otherModelsShowTheirOwnOptions()
    {
        setTier(0);
        struct Case
        {
            CameraModel model;
            EditorTab tab;
            std::set<int> present;
            std::set<int> absent;
        };
        const Case cases[] = {
            { M::Alpha, EditorTab::Parking, { 1135 }, { 1100, 1101, 1102 } },
            { M::Alpha, EditorTab::General, { 101, 1137 }, { 100, 1133 } },
            { M::Alpha, EditorTab::Driving, { 1080, 1083, 1084, 1129, 1130 }, { 1111, 1131, 100 } },
            { M::Bravo, EditorTab::General, { 100, 101 }, { 1133 } },
            { M::Bravo, EditorTab::Parking, { 1100, 1101, 1102 }, { 1135 } },
            { M::Charlie, EditorTab::General, { 100, 101, 1133, 1134 }, {} },
            { M::Foxtrot, EditorTab::Driving, { 1131, 1132, 1111, 1112, 1129 }, { 100 } },
            { M::Foxtrot, EditorTab::General, { 100, 101 }, {} },
            { M::AlphaSp, EditorTab::Driving, { 1111, 1112 }, { 1131 } },
            { M::Delta, EditorTab::Driving, { 100 }, { 1111, 1129 } },
        };
        for (const Case& c : cases) {
            const int length = SetupRecordLength(c.model);
            QByteArray image = validImage(length, cameraModelInfo(c.model).modelCode);
            image[5] = 2;
            image[6] = 2;
            QVERIFY(writeFile(setupPath(), image));
            auto dialog = editor(c.model);
            dialog->show();
            clickTab(*dialog, int(dialog->layout().tabs.indexOf(c.tab)));
            const std::set<int> shown = visibleIds(*dialog);
            for (int id : c.present)
                QVERIFY2(shown.count(id), qPrintable(QStringLiteral("%1 lacks %2").arg(CameraModelName(c.model)).arg(id)));
            for (int id : c.absent)
                QVERIFY2(!shown.count(id), qPrintable(QStringLiteral("%1 shows %2").arg(CameraModelName(c.model)).arg(id)));
        }
    }

    void charlieWideModeAndAlphaLabels()
    {
        QVERIFY(writeFile(setupPath(), validImage(26, 20)));
        auto charlie = editor(M::Charlie);
        charlie->show();
        clickRadio(*charlie, 1080);
        QVERIFY(!charlie->controlWidget(1085)->isVisibleTo(charlie.get()));
        QCOMPARE(charlie->radioLabel(1086)->text(), QStringLiteral("22fps"));
        QCOMPARE(charlie->record().byte(2), 1);
        clickRadio(*charlie, 1083);
        QVERIFY(charlie->controlWidget(1085)->isVisibleTo(charlie.get()));
        QCOMPARE(charlie->radioLabel(1086)->text(), QStringLiteral("15fps"));

        QVERIFY(writeFile(setupPath(), validImage(18)));
        auto alpha = editor(M::Alpha);
        alpha->show();
        clickRadio(*alpha, 1080);
        QCOMPARE(alpha->radioLabel(1085)->text(), QStringLiteral("24fps"));
        clickRadio(*alpha, 1084);
        QCOMPARE(alpha->radioLabel(1085)->text(), QStringLiteral("30fps"));
    }

    void fourStepMotionSlider()
    {
        QByteArray image = validImage(18);
        image[11] = 1;
        QVERIFY(writeFile(setupPath(), image));
        auto dialog = editor(M::Alpha);
        dialog->show();
        clickTab(*dialog, 1);
        CSkinSlider* slider = dialog->motionSlider();
        QVERIFY(slider && slider->isVisible());
        QCOMPARE(slider->value(), 3);
        const auto clickStep = [&](int step) {
            const int x = qRound(9 + step * slider->stepWidth());
            QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 12));
            QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 12));
            QCoreApplication::sendPostedEvents();
        };
        clickStep(4);
        QCOMPARE(dialog->record().byte(11), 0);
        clickStep(2);
        QCOMPARE(dialog->record().byte(11), 2);
        // Beyond the four steps the thumb snaps back to the first, the most sensitive.
        clickStep(7);
        QCOMPARE(dialog->record().byte(11), 3);
        QCOMPARE(slider->value(), 1);
    }

    void clicksFollowTheRulesAndOkSaves()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        auto dialog = editor(M::Echo);
        dialog->show();
        // Parking OFF, then shock OFF, under deletion by file type: time order and 40/30/30.
        clickTab(*dialog, 1);
        clickRadio(*dialog, 1095);
        clickTab(*dialog, 0);
        clickRadio(*dialog, 1087);
        QCOMPARE(dialog->record().byte(13), 1);
        QCOMPARE(dialog->record().image().mid(14, 3), QByteArray("\x28\x1e\x1e", 3));
        QVERIFY(dialog->radio(1105)->isChecked());
        QVERIFY(!dialog->radio(1106)->isChecked());
        // File type is now refused with 591, and time order stays checked.
        clickTab(*dialog, 3);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        clickRadio(*dialog, 1106);
        QCOMPARE(askedIds(CDlgMessage::takeAsked()), QList<int> { 591 });
        QVERIFY(dialog->radio(1105)->isChecked());
        QVERIFY(!dialog->radio(1106)->isChecked());

        // OK: the method changed (552), the file is written.
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        dialog->ok();
        QCOMPARE(dialog->result(), int(CDlgOption::Saved));
        QCOMPARE(askedIds(CDlgMessage::takeAsked()), QList<int> { 552 });
        const QByteArray after = readFile(setupPath());
        QCOMPARE(int(after.at(5)), 0);
        QCOMPARE(int(after.at(6)), 0);
        QCOMPARE(int(after.at(13)), 1);
    }

    void ratioSliderWithOneThumb()
    {
        QByteArray image = echoFile();
        image[5] = 0;
        image.replace(14, 3, QByteArray("\x32\x00\x32", 3));
        QVERIFY(writeFile(setupPath(), image));
        auto dialog = editor(M::Echo);
        dialog->show();
        clickTab(*dialog, 3);
        CSliderOption* slider = dialog->ratioSlider();
        QVERIFY(slider && slider->isVisible());
        QVERIFY(!slider->isTwoThumb());
        // The thumb dragged to step 7: normal 70, parking 30.
        const int x = qRound(9 + 7 * slider->stepWidth());
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 12));
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 12));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(dialog->record().image().mid(14, 3), QByteArray("\x46\x00\x1e", 3));
        QCOMPARE(dialog->legendText(), QStringLiteral("Normal : 70%\nParking : 30%"));
    }

    void networkValidationKeepsTheDialogOpen()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        struct Case
        {
            QString wifi;
            bool ftp;
            QString id, password;
            int notice;
        };
        const Case cases[] = {
            { QStringLiteral("123456789"), false, {}, {}, 616 },
            { QStringLiteral("12345a7890"), false, {}, {}, 617 },
            { QStringLiteral("0123456789"), true, QStringLiteral("abcdefg"), QStringLiteral("password1"), 569 },
            { QStringLiteral("0123456789"), true, QStringLiteral("abcdefg_"), QStringLiteral("password1"), 573 },
        };
        for (const Case& c : cases) {
            auto dialog = editor(M::Echo);
            dialog->show();
            dialog->edit(1076)->setText(c.wifi);
            if (c.ftp) {
                clickTab(*dialog, 2);
                clickRadio(*dialog, 1104);
                QVERIFY(dialog->edit(1077)->isEnabled());
                dialog->edit(1077)->setText(c.id);
                dialog->edit(1078)->setText(c.password);
            }
            CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
            dialog->ok();
            QCOMPARE(askedIds(CDlgMessage::takeAsked()), QList<int> { c.notice });
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->edit(1076)->text(), c.wifi);
            QCOMPARE(readFile(setupPath()), echoFile());
        }
    }

    void clockQuestionOnAnEnglishSystem()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        auto dialog = editor(M::Echo);
        dialog->dateTimeEdit()->setDateTime(QDateTime(QDate(2013, 5, 9), QTime(8, 7, 0)));
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        dialog->ok();
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().text,
            QStringLiteral("Time setting will be changed to 13 Y 5 M 9 D 8 hr 7 min. Are you sure to change?"));
        QCOMPARE(asked.first().style, int(CDlgMessage::StyleYesNo));
        QCOMPARE(dialog->result(), int(CDlgOption::Saved));
        const QByteArray after = readFile(setupPath());
        QCOMPARE(after.mid(19, 8), QByteArray("\x01\xdd\x07\x05\x09\x08\x07\x00", 8));

        // The next Echo editor starts from the confirmed time; another model's does not.
        auto next = editor(M::Echo);
        QCOMPARE(next->dateTimeEdit()->dateTime(), QDateTime(QDate(2013, 5, 9), QTime(8, 7, 0)));
        QVERIFY(writeFile(setupPath(), validImage(98, 25)));
        auto delta = editor(M::Delta);
        QVERIFY(delta->dateTimeEdit()->dateTime() != QDateTime(QDate(2013, 5, 9), QTime(8, 7, 0)));
    }

    void cancelAndEscapeWriteNothing()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        m_store->WriteRegistryNumber(kKey, QStringLiteral("ViewerPostproc"), 6);
        auto dialog = editor(M::Echo);
        dialog->show();
        clickTab(*dialog, 4);
        clickRadio(*dialog, 1120);
        clickTab(*dialog, 0);
        clickRadio(*dialog, 1092);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QCOMPARE(dialog->result(), int(CDlgOption::Cancelled));
        QCOMPARE(readFile(setupPath()), echoFile());
        int32_t post = 0;
        QVERIFY(m_store->ReadRegistryNumber(kKey, QStringLiteral("ViewerPostproc"), post));
        QCOMPARE(post, 6);
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }

    void enterRunsOkAndViewerOptionsAreStored()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        m_store->WriteRegistryNumber(kKey, QStringLiteral("ViewerSetting"), 0);
        auto dialog = editor(M::Echo);
        dialog->show();
        clickTab(*dialog, 3);
        clickRadio(*dialog, 1118);
        clickTab(*dialog, 4);
        clickRadio(*dialog, 1119);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        // Enter in a text field reaches the dialog; a space typed there stays in the field.
        QTest::keyClick(dialog->edit(1076), Qt::Key_Space);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->edit(1076)->text(), QStringLiteral("0123456789 "));
        dialog->edit(1076)->setText(QStringLiteral("0123456789"));
        QTest::keyClick(dialog->edit(1076), Qt::Key_Return);
        QCOMPARE(dialog->result(), int(CDlgOption::Saved));
        QCOMPARE(askedIds(CDlgMessage::takeAsked()), (QList<int> { 276, 282 }));
        int32_t value = -1;
        QVERIFY(m_store->ReadRegistryNumber(kKey, QStringLiteral("ViewerPerformance"), value));
        QCOMPARE(value, 2);
        QVERIFY(m_store->ReadRegistryNumber(kKey, QStringLiteral("ViewerPostproc"), value));
        QCOMPARE(value, 0);
    }

    void missingFileStoresOnlyTheViewerOptions()
    {
        auto dialog = editor(M::Delta);
        QVERIFY(!dialog->record().isLoaded());
        QVERIFY(dialog->firmwareLabelText().isEmpty());
        dialog->show();
        // Space on the dialog runs OK.
        QTest::keyClick(dialog.get(), Qt::Key_Space);
        QCOMPARE(dialog->result(), int(CDlgOption::SaveFailed));
        QVERIFY(!QFileInfo::exists(setupPath()));
    }

    void foxtrotSizeCheckAndSavingNotices()
    {
        QVERIFY(writeFile(setupPath(), validImage(31, 11)));
        auto grown = editor(M::Foxtrot);
        grown->ok();
        QCOMPARE(grown->result(), int(CDlgOption::Cancelled));
        QCOMPARE(readFile(setupPath()), validImage(31, 11));
        QVERIFY(CDlgMessage::takeAsked().isEmpty());

        QVERIFY(writeFile(setupPath(), validImage(30, 11)));
        auto dialog = editor(M::Foxtrot);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        dialog->ok();
        QCOMPARE(dialog->result(), int(CDlgOption::Saved));
        QCOMPARE(askedIds(CDlgMessage::takeAsked()), (QList<int> { 618, 619 }));
        CDlgMessage::setAutoClose(false);
    }

    void timeZoneChoiceIsStored()
    {
        QVERIFY(writeFile(setupPath(), validImage(26, 15)));
        auto dialog = editor(M::Bravo);
        QCOMPARE(dialog->timeZoneList()->currentIndex(), 0);
        QCoreApplication::postEvent(dialog->timeZoneList()->parentWidget(), new DropSelectionEvent(101, 76));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(dialog->record().byte(3), 76);
    }

    void settingsCommandPicksTheEditorAndReportsFailures()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        CameraModel ran = M::Alpha;
        CameraModel applied = M::Alpha;
        setCameraSettingsRunnerForTesting([&](CDlgOption& dialog) {
            ran = dialog.model();
            return int(CDlgOption::SaveFailed);
        });
        CameraSettingsContext context;
        context.cardRoot = root();
        context.countryCode = kEnglish;
        context.store = m_store.get();
        context.applyModelLayout = [&](CameraModel model) { applied = model; };
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QCOMPARE(OpenCameraSettings(context), M::Echo);
        QCOMPARE(ran, M::Echo);
        QCOMPARE(applied, M::Echo);
        QCOMPARE(askedIds(CDlgMessage::takeAsked()), QList<int> { 258 });
        QString type;
        QVERIFY(m_store->ReadRegistryText(kKey, QStringLiteral("Type"), type));
        QCOMPARE(type, QStringLiteral("KRV-ECHO_WDR"));

        // Saved: no notice. The card gone: the remembered model's editor.
        setCameraSettingsRunnerForTesting([&](CDlgOption& dialog) {
            ran = dialog.model();
            return int(CDlgOption::Saved);
        });
        QVERIFY(QFile::remove(setupPath()));
        QCOMPARE(OpenCameraSettings(context), M::Echo);
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }

    void firmwareNoticeOnKoreanSystemsOnly()
    {
        QByteArray image = validImage(98, 25);
        image[0] = 1;
        image[1] = 12;
        QVERIFY(writeFile(setupPath(), image));
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QVERIFY(ShowFirmwareNotice(M::Delta, root(), kKorea));
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().text.contains(QStringLiteral("1.12")));
        QVERIFY(asked.first().text.contains(QStringLiteral("1.3.4")));
        QVERIFY(asked.first().text.contains(StringById(273)));
        image[13] = 1;
        QVERIFY(writeFile(setupPath(), image));
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QVERIFY(ShowFirmwareNotice(M::Delta, root(), kKorea));
        QVERIFY(CDlgMessage::takeAsked().first().text.contains(StringById(556)));
        QVERIFY(!ShowFirmwareNotice(M::Delta, root(), kEnglish));
        QVERIFY(!ShowFirmwareNotice(M::Delta, root() + QStringLiteral("nowhere/"), kKorea));
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }

    void koreanLayoutUsesItsPositionsAndTitles()
    {
        QVERIFY(writeFile(setupPath(), echoFile()));
        auto dialog = editor(M::Echo, kKorea);
        QVERIFY(dialog->isKoreanLayout());
        QCOMPARE(dialog->layout().control(1083)->rect.topLeft(), QPoint(135, 50));
        QCOMPARE(dialog->layout().control(1090)->rect.topLeft(), QPoint(330, 118));
        QCOMPARE(dialog->layout().tabTitleId(EditorTab::Driving), 502);
        QCOMPARE(dialog->dateTimeEdit()->displayFormat(), QStringLiteral("yyyy년-MM월-dd일  HH시-mm분-ss초"));
        auto english = editor(M::Echo, kEnglish);
        QCOMPARE(english->layout().control(1083)->rect.topLeft(), QPoint(195, 50));
        QCOMPARE(english->layout().control(1089)->rect.topLeft(), QPoint(195, 148));
        QCOMPARE(english->layout().tabTitleId(EditorTab::Driving), 507);
        QCOMPARE(english->layout().okButton, QRect(145, 370, 64, 29));
    }
};

QTEST_MAIN(CameraEditorTest)
#include "CameraEditorTest.moc"
