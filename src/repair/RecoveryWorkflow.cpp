#include "repair/RecoveryWorkflow.h"

#include "catalogue/DesktopBackup.h"
#include "platform/FileSafety.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

constexpr int kHeaderBytes = 512;

uint32_t le32(const char* p)
{
    return uint32_t(uint8_t(p[0])) | uint32_t(uint8_t(p[1])) << 8 | uint32_t(uint8_t(p[2])) << 16
        | uint32_t(uint8_t(p[3])) << 24;
}

// base + suffix + ext, or with "_2", "_3", ... after the suffix when that name is taken.
QString freeName(const QString& folder, const QString& base, const QString& suffix, const QString& ext)
{
    QString name = folder + base + suffix + ext;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = folder + base + suffix + QStringLiteral("_%1").arg(n) + ext;
    return name;
}

} // namespace

bool IsIntactAvi(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    char header[kHeaderBytes] = {};
    const qint64 got = file.read(header, kHeaderBytes);
    // The original test reads a whole first sector; a file shorter than that cannot hold a playable AVI.
    if (got < 12)
        return false;
    return std::memcmp(header, "RIFF", 4) == 0 && le32(header + 4) != 0 && std::memcmp(header + 8, "AVI ", 4) == 0;
}

RecoveryNames MakeRecoveryNames(const QString& recordingPath, const QString& place)
{
    const QFileInfo info(recordingPath);
    QString folder = place.isEmpty() ? info.absolutePath() : place;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString fileName = info.fileName();
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? fileName.left(dot) : fileName;
    const QString ext = dot > 0 ? fileName.mid(dot) : QString();

    RecoveryNames names;
    names.repaired = freeName(folder, base, QStringLiteral("_fix"), ext);
    names.originalFolder = folder + QStringLiteral("Original/");
    names.keptDamaged = freeName(names.originalFolder, base, QStringLiteral("_Original"), ext);
    return names;
}

RecoveryWorkflow::RecoveryWorkflow(QString desktopBackupFolder, CAviRepairCore::Pump pump)
    : m_desktop(std::move(desktopBackupFolder))
    , m_pump(std::move(pump))
    , m_freeSpace(&platform::availableSpace)
    , m_move(&MoveFileSafely)
{
    if (!m_desktop.isEmpty() && !m_desktop.endsWith(QLatin1Char('/')))
        m_desktop += QLatin1Char('/');
}

QString RecoveryWorkflow::DefaultDesktopBackupFolder()
{
    return DesktopBackupFolder();
}

RecoveryOutcome RecoveryWorkflow::Plan(const QString& recordingPath, RecoveryNames* names) const
{
    RecoveryOutcome outcome;
    outcome.recording = recordingPath;
    QFile file(recordingPath);
    if (!file.open(QIODevice::ReadOnly) || !QFileInfo(recordingPath).isFile()) {
        outcome.status = RecoveryOutcome::NotOpenable;
        outcome.error = QStringLiteral("%1 cannot be opened: %2").arg(recordingPath, file.errorString());
        return outcome;
    }
    outcome.recordingSize = file.size();
    file.close();
    outcome.freeSpace = m_freeSpace ? m_freeSpace(QFileInfo(recordingPath).absolutePath()) : -1;
    // The repaired file is about as large as the recording; when the card cannot say how much room it has,
    // the desktop is the safer place.
    outcome.usedDesktop = outcome.freeSpace < 0 || outcome.freeSpace < outcome.recordingSize;
    outcome.status = RecoveryOutcome::Repaired;
    if (names)
        *names = MakeRecoveryNames(recordingPath, outcome.usedDesktop ? m_desktop : QString());
    return outcome;
}

RecoveryOutcome RecoveryWorkflow::Recover(const QString& recordingPath)
{
    RecoveryNames names;
    RecoveryOutcome outcome = Plan(recordingPath, nullptr);
    if (outcome.status != RecoveryOutcome::Repaired)
        return outcome;
    outcome.keptAt = recordingPath;

    if (outcome.usedDesktop && (m_desktop.isEmpty() || !QDir().mkpath(m_desktop))) {
        outcome.status = RecoveryOutcome::PlaceFailed;
        outcome.error = QStringLiteral("the desktop backup folder %1 cannot be created").arg(m_desktop);
        return outcome;
    }
    names = MakeRecoveryNames(recordingPath, outcome.usedDesktop ? m_desktop : QString());

    {
        CAviRepairCore engine(m_pump);
        outcome.engineOk = engine.RepairFile(recordingPath, names.repaired, true, true, false, true);
        outcome.indexEntries = engine.indexEntryCount();
        outcome.streamChunks0 = engine.streamChunkCount(0);
        outcome.streamChunks1 = engine.streamChunkCount(1);
        if (!outcome.engineOk) {
            QFile::remove(names.repaired);
            outcome.status = RecoveryOutcome::RepairFailed;
            outcome.error = engine.errorString();
            return outcome;
        }
    }
    if (outcome.indexEntries == 0) {
        QFile::remove(names.repaired);
        outcome.status = RecoveryOutcome::RepairFailed;
        outcome.error = QStringLiteral("no frame of %1 could be recovered").arg(recordingPath);
        return outcome;
    }
    if (!IsIntactAvi(names.repaired)) {
        QFile::remove(names.repaired);
        outcome.status = RecoveryOutcome::RepairedFileDamaged;
        outcome.error = QStringLiteral("the repaired file of %1 is not an intact AVI file").arg(recordingPath);
        return outcome;
    }

    // The Original folder is made only now, so that a repair that fails leaves no trace on the card.
    const bool originalExisted = QFileInfo(names.originalFolder).isDir();
    if (!QDir().mkpath(names.originalFolder)) {
        QFile::remove(names.repaired);
        outcome.status = RecoveryOutcome::PlaceFailed;
        outcome.error = QStringLiteral("the folder %1 cannot be created").arg(names.originalFolder);
        return outcome;
    }
    const MoveResult keep = m_move(recordingPath, names.keptDamaged);
    if (!keep.ok) {
        QFile::remove(names.repaired);
        if (!originalExisted)
            QDir().rmdir(names.originalFolder);
        outcome.status = RecoveryOutcome::KeepFailed;
        outcome.error = keep.error;
        return outcome;
    }
    outcome.keptAt = names.keptDamaged;

    const MoveResult place = m_move(names.repaired, recordingPath);
    if (!place.ok) {
        outcome.status = RecoveryOutcome::PlaceRepairedFailed;
        outcome.error = place.error;
        const MoveResult undo = m_move(names.keptDamaged, recordingPath);
        if (undo.ok) {
            outcome.keptAt = recordingPath;
            QFile::remove(names.repaired);
            if (!originalExisted)
                QDir().rmdir(names.originalFolder);
        } else {
            // Neither file could take the recording's name: both stay where they are, and the user is told.
            outcome.undoFailed = true;
            outcome.repairedAt = names.repaired;
            outcome.error += QStringLiteral("; the damaged file stays at %1").arg(names.keptDamaged);
        }
        return outcome;
    }
    outcome.repairedAt = recordingPath;
    outcome.status = RecoveryOutcome::Repaired;
    return outcome;
}
