// The viewer's definitions of the incident tools: each loads libkorvane_media.so (from the viewer's library
// folder) the first time one is used and calls the real function there. Built into the viewer only, in place
// of the tools themselves, so that the viewer's start links none of their libraries (MediaToolsEntries.h).
#include "app/InstallLayout.h"
#include "incident/MediaToolsEntries.h"

#include <QDir>
#include <QLibrary>

namespace {

const MediaToolsEntries* tools()
{
    // Once per process, on whichever thread asks first; the module stays loaded.
    static const MediaToolsEntries* const table = [] {
        QLibrary module(QDir(installlayout::LibraryFolder()).filePath(QLatin1String(kMediaToolsModuleFile)));
        if (!module.load()) {
            qWarning("media tools: %s", qPrintable(module.errorString()));
            return static_cast<const MediaToolsEntries*>(nullptr);
        }
        using Entry = const MediaToolsEntries* (*)();
        const auto entry = reinterpret_cast<Entry>(module.resolve(kMediaToolsEntryName));
        return entry ? entry() : nullptr;
    }();
    return table;
}

QString missingText()
{
    return QStringLiteral("%1 could not be loaded").arg(QLatin1String(kMediaToolsModuleFile));
}

} // namespace

MediaInfo ProbeMedia(const QString& path)
{
    if (const MediaToolsEntries* t = tools())
        return t->probeMedia(path);
    MediaInfo info;
    info.error = missingText();
    return info;
}

ClipCutResult ClipCutter::cut(const std::vector<ClipSegment>& segments, const QString& outputPath)
{
    if (const MediaToolsEntries* t = tools())
        return t->cutClip(segments, outputPath);
    ClipCutResult result;
    result.error = missingText();
    return result;
}

RgbFrame GrabFrame(const QString& path, qint64 timeMs, int maxWidth)
{
    if (const MediaToolsEntries* t = tools())
        return t->grabFrame(path, timeMs, maxWidth);
    return RgbFrame();
}

namespace packagezip {

quint32 crc32(quint32 crc, const char* data, qsizetype size)
{
    if (const MediaToolsEntries* t = tools())
        return t->zipCrc32(crc, data, size);
    // No checksum without the module; the package write that would use it fails the same way.
    return crc;
}

Begun begin(const QString& folder, const QString& entryFolderName, const QString& name, const QString& zipPath)
{
    if (const MediaToolsEntries* t = tools())
        return t->zipBegin(folder, entryFolderName, name, zipPath);
    return Begun();
}

bool write(const QString& folder, const QString& entryFolderName, const QString& zipPath, QString& error,
    const KnownCrcs& known, const Begun* begun)
{
    if (const MediaToolsEntries* t = tools())
        return t->zipWrite(folder, entryFolderName, zipPath, error, known, begun);
    error = missingText();
    return false;
}

} // namespace packagezip

namespace packagemanifest {

QString sha256OfFile(const QString& path, const std::function<void(const char*, qsizetype)>& alsoSee)
{
    if (const MediaToolsEntries* t = tools())
        return t->sha256OfFile(path, alsoSee);
    return QString();
}

QString sha256(const QByteArray& bytes)
{
    if (const MediaToolsEntries* t = tools())
        return t->sha256(bytes);
    return QString();
}

bool write(const QString& folder, QString& error, const QHash<QString, QString>& known)
{
    if (const MediaToolsEntries* t = tools())
        return t->manifestWrite(folder, error, known);
    error = missingText();
    return false;
}

VerifyResult verify(const QString& folder)
{
    if (const MediaToolsEntries* t = tools())
        return t->manifestVerify(folder);
    VerifyResult result;
    result.error = missingText();
    return result;
}

} // namespace packagemanifest
