#include "catalogue/CopyJob.h"

#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "catalogue/VerifiedCopy.h"

#include <QFileInfo>

namespace {

bool hasExtension(const QString& path, const QString& extension)
{
    return !extension.isEmpty() && recording::extensionOf(QFileInfo(path).fileName()).compare(extension, Qt::CaseInsensitive) == 0;
}

// A file the copy can read; a folder with a recording's name is not one.
bool sourceExists(const QString& path)
{
    return QFileInfo(path).isFile();
}

void addWithDataFile(CopyJob& job, const QString& source, const QString& target, const QString& videoExtension)
{
    if (sourceExists(source))
        job.AddPair(source, target);
    const QString dataSource = DataFilePath(source, videoExtension);
    if (dataSource != source && sourceExists(dataSource))
        job.AddPair(dataSource, DataFilePath(target, videoExtension));
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

CopyJob::CopyJob(QString videoExtension)
    : m_videoExtension(std::move(videoExtension))
{
}

void CopyJob::AddPair(const QString& source, const QString& target)
{
    m_sources << source;
    m_targets << target;
    if (hasExtension(source, m_videoExtension))
        ++m_queuedVideos;
}

void CopyJob::Run()
{
    const int count = pairCount();
    int64_t doneBytes = 0;
    for (int i = 0; i < count; ++i) {
        VerifiedCopyOptions options;
        options.replaceExisting = true;
        options.durable = m_readBackFromDevice;
        options.progress = [this, doneBytes](int64_t copied, int64_t) { m_copiedBytes.store(doneBytes + copied); };
        const VerifiedCopyResult result = CopyFileVerified(m_sources[i], m_targets[i], options);
        if (result.ok()) {
            ++m_copiedFiles;
            doneBytes += result.bytes;
        } else {
            m_failures.push_back({ m_sources[i], m_targets[i], result.error });
        }
        m_copiedBytes.store(doneBytes);
        if (hasExtension(m_sources[i], m_videoExtension))
            m_finishedVideos.fetch_add(1);
        if (m_cancel.load()) {
            m_skipped = count - i - 1;
            break;
        }
    }
    m_done.store(true);
}

void AddRowPairs(CopyJob& job, const RecordingCatalogue& catalogue, const std::vector<SelectedRow>& rows,
    const QString& destinationFolder)
{
    const QString folder = withSlash(catalogue.folder());
    const QString target = withSlash(destinationFolder);
    const QString ext = catalogue.videoExtension();
    for (const SelectedRow& row : rows) {
        QString prefix = recording::prefix(RecordingKind::Normal);
        if (const auto kind = recording::kindFromLabel(row.kindLabel))
            prefix = recording::prefix(*kind);
        const QString name = prefix + row.baseName + ext;
        addWithDataFile(job, folder + name, target + name, ext);
    }
}

void AddEventPairs(CopyJob& job, const RecordingCatalogue& catalogue, const QString& destinationFolder)
{
    const QString folder = withSlash(catalogue.folder());
    const QString target = withSlash(destinationFolder);
    for (const QString& name : catalogue.names(RecordingKind::Event))
        addWithDataFile(job, folder + name, target + name, catalogue.videoExtension());
}
