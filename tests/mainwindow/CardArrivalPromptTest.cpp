// A card inserted while the viewer runs, through the prompt as the window uses it: the mount watcher and the
// removable volumes are the platform layer's fakes, the card a folder with a recording.
#include "mainwindow/CardArrivalPrompt.h"
#include "app/StringTables.h"
#include "catalogue/CardArrivalWatcher.h"
#include "platform/MountWatcher.h"
#include "platform/RemovableVolumes.h"
#include "skin/CDlgMessage.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

class ChangingVolumes : public RemovableVolumes
{
public:
    QStringList removableRoots() const override { return roots; }
    QStringList roots;
};

} // namespace

class CardArrivalPromptTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_card;
    QString m_root;
    QWidget m_window;
    ChangingVolumes m_volumes;
    ManualMountWatcher m_mounts;
    bool m_plays = false;
    bool m_busy = false;
    QString m_openFolder;
    QStringList m_opened;
    std::unique_ptr<CardArrivalWatcher> m_watcher;
    std::unique_ptr<CardArrivalPrompt> m_prompt;

    void insertCard()
    {
        m_volumes.roots = { m_root };
        m_mounts.reportChange();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(InstallStringTable(*QCoreApplication::instance(), QStringLiteral("en")));
        QVERIFY(m_card.isValid());
        QFile recording(m_card.filePath(QStringLiteral("rec_20240102_030405.avi")));
        QVERIFY(recording.open(QIODevice::WriteOnly));
        recording.close();
        m_root = m_card.path() + QLatin1Char('/');
    }

    void init()
    {
        m_volumes.roots.clear();
        m_plays = false;
        m_busy = false;
        m_openFolder.clear();
        m_opened.clear();
        CDlgMessage::clearNextAnswers();
        CDlgMessage::takeAsked();
        m_watcher = std::make_unique<CardArrivalWatcher>(m_volumes, m_mounts);
        CardArrivalPrompt::Host host;
        host.recordingPlays = [this] { return m_plays; };
        host.busy = [this] { return m_busy; };
        host.openFolder = [this] { return m_openFolder; };
        host.openCard = [this](const QString& root) { m_opened << root; };
        m_prompt = std::make_unique<CardArrivalPrompt>(&m_window, std::move(host));
        m_prompt->listenTo(*m_watcher);
    }

    void cleanup()
    {
        m_prompt.reset();
        m_watcher.reset();
    }

    void nothingPlayingOpensTheCardWithoutAQuestion()
    {
        insertCard();
        QCOMPARE(m_opened, QStringList { m_root });
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }

    void whilePlayingItAsksAndOpensOnYes()
    {
        m_plays = true;
        CDlgMessage::setNextAnswer(CDlgMessage::ResultYes);
        insertCard();
        const QList<CDlgMessage::Asked> asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().style, int(CDlgMessage::StyleYesNo));
        QCOMPARE(asked.first().text,
            QStringLiteral("An SD card with recordings was inserted (%1). Open it now?").arg(QDir::cleanPath(m_root)));
        QCOMPARE(m_opened, QStringList { m_root });
    }

    void whilePlayingNoKeepsTheRecordingPlaying()
    {
        m_plays = true;
        CDlgMessage::setNextAnswer(CDlgMessage::ResultNo);
        insertCard();
        QCOMPARE(CDlgMessage::takeAsked().size(), 1);
        QVERIFY(m_opened.isEmpty());
        // The card stays known: later mount changes do not ask again.
        m_mounts.reportChange();
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
        QVERIFY(m_opened.isEmpty());
    }

    void theCardAlreadyOpenIsLeftAlone()
    {
        m_openFolder = m_root;
        insertCard();
        QVERIFY(m_opened.isEmpty());
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }

    void anOpenDialogIsNotInterrupted()
    {
        QDialog dialog(&m_window);
        dialog.setModal(true);
        dialog.show();
        QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
        insertCard();
        QVERIFY(m_opened.isEmpty());
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
        dialog.close();
    }

    void aRepairInProgressIsNotInterrupted()
    {
        m_busy = true;
        insertCard();
        QVERIFY(m_opened.isEmpty());
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }

    void aVolumeWithoutRecordingsIsIgnored()
    {
        QTemporaryDir stick;
        m_volumes.roots = { stick.path() + QLatin1Char('/') };
        m_mounts.reportChange();
        QVERIFY(m_opened.isEmpty());
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }
};

QTEST_MAIN(CardArrivalPromptTest)
#include "CardArrivalPromptTest.moc"
