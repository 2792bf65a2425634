#include "catalogue/RecordingCommands.h"

#include "app/StringTables.h"
#include "catalogue/CDlgCopy.h"
#include "catalogue/DesktopBackup.h"
#include "catalogue/RecordingCatalogue.h"
#include "skin/CDlgMessage.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// Failure texts name at most this many files; the message box has room for no more.
constexpr int kNamedFiles = 4;

// Paused for the copy: the copy commands leave playback paused with Play shown.
void pauseForCopy(RecordingCommandHost& host)
{
    if (host.isPlaying() && host.hasPlayer()) {
        host.togglePause();
        host.showStopped();
    }
}

QString fileList(const QStringList& paths)
{
    QStringList names;
    for (int i = 0; i < paths.size() && i < kNamedFiles; ++i)
        names << QFileInfo(paths[i]).fileName();
    if (paths.size() > kNamedFiles)
        names << QStringLiteral("… (+%1)").arg(paths.size() - kNamedFiles);
    return names.join(QLatin1Char('\n'));
}

int runCopy(RecordingCommandHost& host, CDlgCopy& dialog)
{
    // KORVANE_COPY_READ_BACK=1: each copy is synced and read back from the target device before it counts,
    // for a user who must show that the disk holds the recording (evidence); slower, as the disk sets the pace.
    dialog.job().setReadBackFromDevice(qEnvironmentVariableIntValue("KORVANE_COPY_READ_BACK") == 1);
    dialog.exec();
    const std::vector<CopyJob::Failure>& failures = dialog.job().failures();
    if (failures.empty())
        return 0;
    QStringList paths;
    for (const CopyJob::Failure& f : failures)
        paths << f.source;
    CDlgMessage::ask(CDlgMessage::StyleOk,
        StringById(1400).arg(failures.size()).arg(fileList(paths)), QString(), host.commandParent());
    return int(failures.size());
}

} // namespace

QString RecordingCommandHost::desktopBackupFolder()
{
    return DesktopBackupFolder();
}

QDateTime RecordingCommandHost::now()
{
    return QDateTime::currentDateTime();
}

int CopySelectedRecordings(RecordingCommandHost& host)
{
    const std::vector<SelectedRow> rows = host.selectedRows();
    if (rows.empty()) {
        CDlgMessage::ask(CDlgMessage::StyleOk, 270, host.commandParent());
        return 0;
    }
    const QString question = rows.size() == 1
        ? StringById(264).replace(QLatin1String("%s"), rows.front().baseName)
        : StringById(267).replace(QLatin1String("%d"), QString::number(rows.size()));
    if (CDlgMessage::ask(CDlgMessage::StyleYesNo, question, QString(), host.commandParent()) != CDlgMessage::ResultYes)
        return 0;
    pauseForCopy(host);
    const QString destination = CopyDestinationFolder(host.desktopBackupFolder(), host.now(), false);

    CDlgCopy dialog(host.catalogue().videoExtension(), host.commandParent());
    AddRowPairs(dialog.job(), host.catalogue(), rows, destination);
    return runCopy(host, dialog);
}

int SaveAllEventFiles(RecordingCommandHost& host)
{
    if (host.catalogue().names(RecordingKind::Event).isEmpty()) {
        CDlgMessage::ask(CDlgMessage::StyleOk, 269, host.commandParent());
        return 0;
    }
    pauseForCopy(host);
    const QString destination = CopyDestinationFolder(host.desktopBackupFolder(), host.now(), true);
    QDir().mkpath(destination);

    CDlgCopy dialog(host.catalogue().videoExtension(), host.commandParent());
    AddEventPairs(dialog.job(), host.catalogue(), destination);
    return runCopy(host, dialog);
}

DeletionOutcome DeleteSelectedRecordings(RecordingCommandHost& host, const FileRemover& remover)
{
    DeletionOutcome outcome;
    outcome.newPosition = host.currentPosition();
    const bool pausedHere = host.isPlaying() && host.hasPlayer();
    if (pausedHere)
        host.togglePause();
    // However the command ends, playback paused above goes on: the pause cleared the playing state, so the
    // recording is resumed while it is still paused. A recording opened afresh after the playing one was
    // deleted is not toggled (that path returns before): it would start paused.
    const auto resume = [&host, pausedHere] {
        if (pausedHere && host.hasPlayer() && !host.isPlaying())
            host.togglePause();
    };

    const std::vector<SelectedRow> rows = host.selectedRows();
    if (rows.empty()) {
        CDlgMessage::ask(CDlgMessage::StyleOk, 271, host.commandParent());
        resume();
        return outcome;
    }
    const QString question = rows.size() == 1
        ? StringById(265).replace(QLatin1String("%s"), rows.front().baseName)
        : StringById(268).replace(QLatin1String("%d"), QString::number(rows.size()));
    if (CDlgMessage::ask(CDlgMessage::StyleYesNo, question, QString(), host.commandParent()) != CDlgMessage::ResultYes) {
        resume();
        return outcome;
    }

    const int current = host.currentPosition();
    const bool currentSelected = std::any_of(rows.begin(), rows.end(), [current](const SelectedRow& r) {
        return r.index == current;
    });
    if (currentSelected)
        host.releaseCurrentRecording();

    outcome = DeleteRecordings(host.catalogue(), rows, current, remover);
    for (size_t j = 0; j < outcome.removedRows.size(); ++j)
        host.removeRow(outcome.removedRows[j] - int(j));
    host.setCurrentPosition(outcome.newPosition);
    host.refreshCaption();
    if (!outcome.currentSelected)
        host.selectCurrentRow();

    if (outcome.failedFiles.isEmpty())
        CDlgMessage::ask(CDlgMessage::StyleOk, 283, host.commandParent());
    else
        CDlgMessage::ask(CDlgMessage::StyleOk,
            StringById(1401).arg(outcome.failedFiles.size()).arg(fileList(outcome.failedFiles)), QString(),
            host.commandParent());

    // The player let its recording go: open what now stands at the current position (the row that moved
    // into the deleted row's place, or the same recording when it could not be deleted; past the last row
    // this closes the player and clears the display).
    if (outcome.currentSelected) {
        host.openListRow(outcome.newPosition);
        return outcome;
    }
    resume();
    return outcome;
}
