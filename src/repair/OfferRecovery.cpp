#include "repair/OfferRecovery.h"

#include "app/StringTables.h"
#include "skin/CDlgMessage.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

#include <memory>

QString RecoveryNoticeText(const RecoveryOutcome& outcome)
{
    if (outcome.repaired())
        return StringById(outcome.usedDesktop ? 261 : 259);
    if (outcome.undoFailed)
        return StringById(1403).arg(outcome.repairedAt, outcome.keptAt);
    return StringById(1402).arg(QFileInfo(outcome.recording).fileName());
}

RecoveryOffer OfferRecovery(const QString& recordingPath, RecoveryHost& host, RecoveryWorkflow* workflow)
{
    QWidget* parent = host.recoveryParent();
    // The progress window exists from the start but shows only while the repair runs.
    auto progress = std::make_unique<CDlgMessage>(CDlgMessage::StyleBusy, StringById(260), QString(), parent);
    progress->setModal(false);
    progress->hide();

    host.stopPlaybackAndClearDisplays();

    if (CDlgMessage::ask(CDlgMessage::StyleYesNo, 279, parent) != CDlgMessage::ResultYes)
        return RecoveryOffer::Declined;

    host.setReady(false);
    if (parent) {
        const QRect area = parent->frameGeometry();
        progress->move(area.center() - QPoint(progress->width() / 2, progress->height() / 2));
    }
    progress->show();
    QCoreApplication::processEvents();

    std::unique_ptr<RecoveryWorkflow> own;
    if (!workflow) {
        own = std::make_unique<RecoveryWorkflow>(RecoveryWorkflow::DefaultDesktopBackupFolder(),
            [] { QCoreApplication::processEvents(); });
        workflow = own.get();
    }
    const RecoveryOutcome outcome = workflow->Recover(recordingPath);

    progress->hide();
    progress.reset();
    host.setReady(true);

    CDlgMessage::ask(CDlgMessage::StyleOk, RecoveryNoticeText(outcome), QString(), parent);
    return outcome.repaired() ? RecoveryOffer::Repaired : RecoveryOffer::Failed;
}
