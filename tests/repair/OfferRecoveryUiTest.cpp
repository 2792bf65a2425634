// OfferRecovery against a fake main window: the question, the progress window while the repair runs with
// `ready` cleared, and the notice that tells what happened.
#include "AviTestSupport.h"
#include "app/StringTables.h"
#include "repair/OfferRecovery.h"
#include "skin/CDlgMessage.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace avitest;

namespace {

class FakeWindow : public RecoveryHost
{
public:
    QWidget window;
    QStringList calls;
    bool ready = true;
    // Seen by the engine's pump while the repair runs.
    bool progressShownWhileNotReady = false;

    QWidget* recoveryParent() override { return &window; }
    void stopPlaybackAndClearDisplays() override { calls << QStringLiteral("stop"); }
    void setReady(bool r) override
    {
        ready = r;
        calls << (r ? QStringLiteral("ready") : QStringLiteral("not ready"));
    }
};

QByteArray damaged()
{
    QList<QByteArray> chunks;
    for (int i = 0; i < 8; ++i)
        chunks << chunk("00dc", payload(300, QByteArray("\x00\x00\x01\x00", 4), i));
    return file(Layout {}, chunks, false, false);
}

} // namespace

class OfferRecoveryUiTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_card;
    QString m_desktop;
    QString m_path;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        QVERIFY(InstallStringTable(*QCoreApplication::instance(), QStringLiteral("en")));
    }

    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        m_card = m_dir.filePath(QStringLiteral("card/"));
        m_desktop = m_dir.filePath(QStringLiteral("Desktop/KORVANE/"));
        QVERIFY(QDir().mkpath(m_card));
        m_path = m_card + QStringLiteral("rec_20250314_090000.avi");
        QVERIFY(writeFile(m_path, damaged()));
    }

    void cleanup()
    {
        CDlgMessage::clearNextAnswers();
        CDlgMessage::takeAsked();
    }

    void noLeavesEverythingUntouched()
    {
        FakeWindow host;
        RecoveryWorkflow workflow(m_desktop);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultNo);
        QCOMPARE(OfferRecovery(m_path, host, &workflow), RecoveryOffer::Declined);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].style, int(CDlgMessage::StyleYesNo));
        QCOMPARE(asked[0].text, QStringLiteral("This file was damaged. Do you want to recover it?"));
        QCOMPARE(host.calls, QStringList { QStringLiteral("stop") });
        QCOMPARE(readFile(m_path), damaged());
        QCOMPARE(QDir(m_card).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    }

    void yesRepairsWithTheProgressWindowUp()
    {
        FakeWindow host;
        host.window.resize(800, 600);
        host.window.show();
        RecoveryWorkflow workflow(m_desktop);
        // The workflow asks for the card's free space once the repair has begun.
        workflow.setFreeSpaceQuery([&host](const QString&) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<CDlgMessage*>(w);
                if (box && box->isVisible() && box->style() == CDlgMessage::StyleBusy && !host.ready
                    && box->text() == StringById(260))
                    host.progressShownWhileNotReady = true;
            }
            return int64_t(1) << 40;
        });
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QCOMPARE(OfferRecovery(m_path, host, &workflow), RecoveryOffer::Repaired);
        QVERIFY(host.progressShownWhileNotReady);
        QCOMPARE(host.calls,
            QStringList({ QStringLiteral("stop"), QStringLiteral("not ready"), QStringLiteral("ready") }));
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1].text, StringById(259));
        QVERIFY(asked[1].text.startsWith(QStringLiteral("\"Recovery of the file was completed.\"")));
        QVERIFY(IsIntactAvi(m_path));
        QCOMPARE(readFile(m_card + QStringLiteral("Original/rec_20250314_090000_Original.avi")), damaged());
        // The progress window is gone.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<CDlgMessage*>(w);
            QVERIFY(!box || !box->isVisible());
        }
    }

    void fullCardTellsTheDesktopWasUsed()
    {
        FakeWindow host;
        RecoveryWorkflow workflow(m_desktop);
        workflow.setFreeSpaceQuery([](const QString&) { return int64_t(100); });
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QCOMPARE(OfferRecovery(m_path, host, &workflow), RecoveryOffer::Repaired);
        QCOMPARE(CDlgMessage::takeAsked().at(1).text,
            QStringLiteral("The file was saved in KORVANE folder at Desktop on the PC because the capacity of SD "
                           "memory card was full."));
        QVERIFY(QFileInfo::exists(m_desktop + QStringLiteral("Original/rec_20250314_090000_Original.avi")));
    }

    void failedRepairIsToldAndMovesNothing()
    {
        FakeWindow host;
        const QByteArray junk(2048, 'j');
        QVERIFY(writeFile(m_path, junk));
        RecoveryWorkflow workflow(m_desktop);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        CDlgMessage::setNextAnswer(CDlgMessage::ResultOk);
        QCOMPARE(OfferRecovery(m_path, host, &workflow), RecoveryOffer::Failed);
        const auto asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1].text, StringById(1402).arg(QStringLiteral("rec_20250314_090000.avi")));
        QVERIFY(host.ready);
        QCOMPARE(readFile(m_path), junk);
        QCOMPARE(QDir(m_card).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    }
};

QTEST_MAIN(OfferRecoveryUiTest)
#include "OfferRecoveryUiTest.moc"
