#pragma once

// Small clips made by ffmpeg for the playback tests, cached in the build folder. The picture has four
// coloured quarters so flips and scaling show in single pixels: top-left yellow, top-right green,
// bottom-left red, bottom-right black.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QtEndian>
#include <cstring>

namespace mediaclips {

enum class Clip { AviMjpeg, AviH264, Mp4Camera };

inline constexpr int kWidth = 320;
inline constexpr int kHeight = 240;
inline constexpr int kSeconds = 3;
inline constexpr int kFps = 15;

inline QString clipFolder()
{
    const QString build = qEnvironmentVariable("KORVANE_TEST_BUILD_DIR", QDir::tempPath());
    const QString folder = QDir(build).filePath(QStringLiteral("test-media/playback"));
    QDir().mkpath(folder);
    return folder;
}

// The camera writes a 24-byte "ftyp" (two compatible brands) straight before "moov", which puts the first
// track header's width and height at 232 and 236. ffmpeg writes a 32-byte one: shorten it and make up the
// eight bytes with a "free" box before "mdat", so the sample offsets in "moov" stay right.
inline QByteArray toCameraLayout(const QByteArray& mp4)
{
    if (mp4.size() < 32 || mp4.mid(4, 4) != "ftyp")
        return {};
    const quint32 ftypSize = qFromBigEndian<quint32>(mp4.constData());
    if (ftypSize != 32)
        return {};
    int mdat = -1;
    for (int at = int(ftypSize); at + 8 <= mp4.size();) {
        const quint32 size = qFromBigEndian<quint32>(mp4.constData() + at);
        if (mp4.mid(at + 4, 4) == "mdat") {
            mdat = at;
            break;
        }
        if (size < 8)
            return {};
        at += int(size);
    }
    if (mdat < 0)
        return {};
    QByteArray out;
    char ftyp[24];
    qToBigEndian<quint32>(24, ftyp);
    std::memcpy(ftyp + 4, mp4.constData() + 4, 20); // "ftyp", major, minor, first two compatible brands
    out.append(ftyp, 24);
    out.append(mp4.mid(int(ftypSize), mdat - int(ftypSize)));
    char freeBox[8];
    qToBigEndian<quint32>(8, freeBox);
    std::memcpy(freeBox + 4, "free", 4);
    out.append(freeBox, 8);
    out.append(mp4.mid(mdat));
    return out;
}

// The clip's path, made on first use; empty when ffmpeg failed.
inline QString clipPath(Clip clip)
{
    const char* name = clip == Clip::AviMjpeg ? "quad_mjpeg" : clip == Clip::AviH264 ? "quad_h264" : "quad_camera";
    const char* extension = clip == Clip::Mp4Camera ? "mp4" : "avi";
    const QString path = QDir(clipFolder())
                             .filePath(QStringLiteral("%1_%2x%3_%4s.%5")
                                           .arg(QLatin1String(name))
                                           .arg(kWidth)
                                           .arg(kHeight)
                                           .arg(kSeconds)
                                           .arg(QLatin1String(extension)));
    if (QFile::exists(path))
        return path;
    const QString made = path + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
    const QString source = QStringLiteral("color=black:s=%1x%2:r=%3:d=%4,"
                                          "geq=r='if(lt(X,W/2),255,0)':g='if(lt(Y,H/2),255,0)':b=0")
                               .arg(kWidth)
                               .arg(kHeight)
                               .arg(kFps)
                               .arg(kSeconds);
    QStringList args = { "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source };
    if (clip == Clip::AviMjpeg)
        args << "-c:v"
             << "mjpeg"
             << "-q:v"
             << "3"
             << "-f"
             << "avi";
    else if (clip == Clip::AviH264)
        args << "-c:v"
             << "libx264"
             << "-preset"
             << "ultrafast"
             << "-pix_fmt"
             << "yuv420p"
             << "-f"
             << "avi";
    else
        args << "-c:v"
             << "libx264"
             << "-preset"
             << "ultrafast"
             << "-pix_fmt"
             << "yuv420p"
             << "-movflags"
             << "+faststart"
             << "-f"
             << "mp4";
    args << made;
    if (QProcess::execute(QStringLiteral("ffmpeg"), args) != 0)
        return {};
    if (clip == Clip::Mp4Camera) {
        QFile f(made);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QByteArray camera = toCameraLayout(f.readAll());
        f.close();
        if (camera.isEmpty())
            return {};
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(camera) != camera.size())
            return {};
        f.close();
    }
    QFile::remove(path);
    if (!QFile::rename(made, path) && !QFile::exists(path))
        return {};
    QFile::remove(made);
    return path;
}

} // namespace mediaclips
