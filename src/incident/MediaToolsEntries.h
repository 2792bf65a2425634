#pragma once

#include "incident/ClipCutter.h"
#include "incident/FrameGrabber.h"
#include "incident/MediaProbe.h"
#include "incident/PackageManifest.h"
#include "incident/PackageZip.h"

// The incident tools that need FFmpeg's libraries, libzip, libdeflate and libcrypto (about a hundred
// libraries with their own dependencies) are only wanted when the user exports or looks for impacts. The
// viewer therefore does not link them: they are built into libkorvane_media.so as well, which hands out this
// table, and the viewer's own definitions of the functions (MediaToolsLoader.cpp) load it on first use.
// korvane-cli and the tests link the functions directly.
struct MediaToolsEntries
{
    MediaInfo (*probeMedia)(const QString&);
    ClipCutResult (*cutClip)(const std::vector<ClipSegment>&, const QString&);
    RgbFrame (*grabFrame)(const QString&, qint64, int);
    quint32 (*zipCrc32)(quint32, const char*, qsizetype);
    packagezip::Begun (*zipBegin)(const QString&, const QString&, const QString&, const QString&);
    bool (*zipWrite)(const QString&, const QString&, const QString&, QString&, const packagezip::KnownCrcs&,
        const packagezip::Begun*);
    QString (*sha256OfFile)(const QString&, const std::function<void(const char*, qsizetype)>&);
    QString (*sha256)(const QByteArray&);
    bool (*manifestWrite)(const QString&, QString&, const QHash<QString, QString>&);
    packagemanifest::VerifyResult (*manifestVerify)(const QString&);
};

inline constexpr const char* kMediaToolsEntryName = "korvane_media_tools";
inline constexpr const char* kMediaToolsModuleFile = "libkorvane_media.so";
