#include "incident/MediaProbe.h"

extern "C" {
#include <libavformat/avformat.h>
}

MediaInfo ProbeMedia(const QString& path)
{
    MediaInfo info;
    AVFormatContext* in = nullptr;
    const QByteArray name = path.toLocal8Bit();
    if (avformat_open_input(&in, name.constData(), nullptr, nullptr) < 0) {
        info.error = QStringLiteral("cannot open \"%1\"").arg(path);
        return info;
    }
    if (avformat_find_stream_info(in, nullptr) < 0) {
        info.error = QStringLiteral("cannot read the streams of \"%1\"").arg(path);
        avformat_close_input(&in);
        return info;
    }
    const int video = av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0) {
        info.error = QStringLiteral("\"%1\" holds no video").arg(path);
        avformat_close_input(&in);
        return info;
    }
    const AVStream* stream = in->streams[video];
    info.width = stream->codecpar->width;
    info.height = stream->codecpar->height;
    info.videoCodecId = static_cast<int>(stream->codecpar->codec_id);
    if (stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0)
        info.frameRate = av_q2d(stream->avg_frame_rate);
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        info.durationMs = av_rescale_q(stream->duration, stream->time_base, AVRational { 1, 1000 });
    else if (in->duration != AV_NOPTS_VALUE && in->duration > 0)
        info.durationMs = av_rescale(in->duration, 1000, AV_TIME_BASE);
    info.ok = info.durationMs > 0;
    if (!info.ok)
        info.error = QStringLiteral("\"%1\" has no known length").arg(path);
    avformat_close_input(&in);
    return info;
}
