#include "incident/ClipCutter.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <limits>
#include <memory>

namespace {

constexpr AVRational kMicroseconds { 1, 1000000 };

struct InputCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

struct OutputCloser
{
    void operator()(AVFormatContext* c) const
    {
        if (c->pb && !(c->oformat->flags & AVFMT_NOFILE))
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};
using Output = std::unique_ptr<AVFormatContext, OutputCloser>;

struct PacketFree
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

Input openInput(const QString& path, QString& error)
{
    AVFormatContext* raw = nullptr;
    const QByteArray name = path.toLocal8Bit();
    if (avformat_open_input(&raw, name.constData(), nullptr, nullptr) < 0) {
        error = QStringLiteral("cannot open \"%1\"").arg(path);
        return nullptr;
    }
    Input in(raw);
    if (avformat_find_stream_info(in.get(), nullptr) < 0) {
        error = QStringLiteral("cannot read the streams of \"%1\"").arg(path);
        return nullptr;
    }
    return in;
}

bool copiedType(AVMediaType type)
{
    return type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO;
}

// Which output stream each input stream feeds (-1: left out). Later recordings must carry the same video
// and sound as the first, or the joined clip would not play.
bool mapStreams(AVFormatContext* in, AVFormatContext* out, std::vector<int>& map)
{
    map.assign(in->nb_streams, -1);
    std::vector<bool> used(out->nb_streams, false);
    bool video = false;
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        const AVCodecParameters* p = in->streams[i]->codecpar;
        if (!copiedType(p->codec_type))
            continue;
        for (unsigned o = 0; o < out->nb_streams; ++o) {
            const AVCodecParameters* q = out->streams[o]->codecpar;
            if (used[o] || q->codec_type != p->codec_type || q->codec_id != p->codec_id)
                continue;
            if (p->codec_type == AVMEDIA_TYPE_VIDEO && (q->width != p->width || q->height != p->height))
                continue;
            map[i] = static_cast<int>(o);
            used[o] = true;
            video = video || p->codec_type == AVMEDIA_TYPE_VIDEO;
            break;
        }
    }
    return video;
}

qint64 packetTime(const AVPacket* packet)
{
    return packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
}

} // namespace

ClipCutResult ClipCutter::cut(const std::vector<ClipSegment>& segments, const QString& outputPath)
{
    ClipCutResult result;
    if (segments.empty()) {
        result.error = QStringLiteral("nothing to cut");
        result.failure = ExportFailure::Window;
        return result;
    }
    Input first = openInput(segments.front().path, result.error);
    if (!first) {
        result.failure = ExportFailure::Reading;
        return result;
    }

    AVFormatContext* rawOut = nullptr;
    const QByteArray outName = outputPath.toLocal8Bit();
    // The clip keeps the recording's container; the name may end in a temporary suffix, so the format comes
    // from the input and the output name only decides when the input's format cannot write.
    const AVOutputFormat* format = av_guess_format(first->iformat->name, nullptr, nullptr);
    if (!format)
        format = av_guess_format(nullptr, outName.constData(), nullptr);
    if (avformat_alloc_output_context2(&rawOut, format, nullptr, outName.constData()) < 0 || !rawOut) {
        result.error = QStringLiteral("cannot make a clip for \"%1\"").arg(outputPath);
        result.failure = ExportFailure::Writing;
        return result;
    }
    Output out(rawOut);
    int outVideo = -1;
    for (unsigned i = 0; i < first->nb_streams; ++i) {
        const AVStream* s = first->streams[i];
        if (!copiedType(s->codecpar->codec_type))
            continue;
        AVStream* o = avformat_new_stream(out.get(), nullptr);
        if (!o || avcodec_parameters_copy(o->codecpar, s->codecpar) < 0) {
            result.error = QStringLiteral("cannot copy the streams of \"%1\"").arg(segments.front().path);
            result.failure = ExportFailure::Reading;
            return result;
        }
        // The tag is the input container's name for the codec; the muxer picks its own.
        o->codecpar->codec_tag = 0;
        o->time_base = s->time_base;
        if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            o->avg_frame_rate = s->avg_frame_rate;
            o->r_frame_rate = s->r_frame_rate;
            if (outVideo < 0)
                outVideo = o->index;
        }
    }
    if (outVideo < 0) {
        result.error = QStringLiteral("\"%1\" holds no video").arg(segments.front().path);
        result.failure = ExportFailure::Reading;
        return result;
    }
    if (!(out->oformat->flags & AVFMT_NOFILE) && avio_open(&out->pb, outName.constData(), AVIO_FLAG_WRITE) < 0) {
        result.error = QStringLiteral("cannot write \"%1\"").arg(outputPath);
        result.failure = ExportFailure::Writing;
        return result;
    }
    if (avformat_write_header(out.get(), nullptr) < 0) {
        result.error = QStringLiteral("cannot write the clip's header");
        result.failure = ExportFailure::Writing;
        return result;
    }

    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::vector<int64_t> lastDts(out->nb_streams, std::numeric_limits<int64_t>::min());
    int64_t offsetUs = 0; // where the current segment starts in the clip
    int64_t videoEndUs = 0;
    bool writeFailed = false;

    for (size_t n = 0; n < segments.size() && !writeFailed; ++n) {
        const ClipSegment& segment = segments[n];
        // A later recording that cannot be read ends the clip where the earlier ones end.
        QString laterError;
        Input in = n == 0 ? std::move(first) : openInput(segment.path, laterError);
        if (!in)
            break;
        std::vector<int> map;
        if (!mapStreams(in.get(), out.get(), map))
            break;
        int inVideo = -1;
        for (unsigned i = 0; i < in->nb_streams; ++i) {
            if (map[i] == outVideo)
                inVideo = static_cast<int>(i);
        }
        const AVStream* vs = in->streams[inVideo];
        const int64_t fromUs = segment.fromMs * 1000;
        const int64_t toUs = segment.toMs * 1000;
        if (segment.fromMs > 0) {
            const int64_t target = av_rescale_q(fromUs, kMicroseconds, vs->time_base);
            if (av_seek_frame(in.get(), inVideo, target, AVSEEK_FLAG_BACKWARD) < 0)
                av_seek_frame(in.get(), inVideo, 0, AVSEEK_FLAG_BACKWARD);
        }
        const int64_t frameUs = vs->avg_frame_rate.num > 0
            ? av_rescale_q(1, AVRational { vs->avg_frame_rate.den, vs->avg_frame_rate.num }, kMicroseconds)
            : 40000;
        bool started = false;
        int64_t baseUs = 0;
        while (av_read_frame(in.get(), packet.get()) >= 0) {
            const int index = packet->stream_index;
            const int target = index >= 0 && index < static_cast<int>(map.size()) ? map[static_cast<size_t>(index)] : -1;
            const int64_t ts = packetTime(packet.get());
            if (target < 0 || ts == AV_NOPTS_VALUE) {
                av_packet_unref(packet.get());
                continue;
            }
            const AVStream* is = in->streams[index];
            const int64_t us = av_rescale_q(ts, is->time_base, kMicroseconds);
            const bool isVideo = index == inVideo;
            if (!started) {
                // The first segment starts at the key frame the backward seek found; a later one at its first
                // key frame from its start on, so no second of the drive is shown twice.
                const bool key = isVideo && (packet->flags & AV_PKT_FLAG_KEY);
                const bool inTime = n == 0 || us + frameUs / 2 >= fromUs;
                if (!key || !inTime) {
                    av_packet_unref(packet.get());
                    continue;
                }
                started = true;
                baseUs = us;
                if (n == 0)
                    result.startMs = us / 1000;
            }
            if (us < baseUs || us > toUs) {
                av_packet_unref(packet.get());
                if (isVideo && us > toUs)
                    break;
                continue;
            }
            AVStream* os = out->streams[target];
            const int64_t shift = offsetUs - baseUs;
            const int64_t durationUs = packet->duration > 0 ? av_rescale_q(packet->duration, is->time_base, kMicroseconds)
                                                             : (isVideo ? frameUs : 0);
            const int64_t ptsUs = (packet->pts != AV_NOPTS_VALUE ? av_rescale_q(packet->pts, is->time_base, kMicroseconds) : us) + shift;
            const int64_t dtsUs = (packet->dts != AV_NOPTS_VALUE ? av_rescale_q(packet->dts, is->time_base, kMicroseconds) : us) + shift;
            int64_t dts = av_rescale_q(dtsUs, kMicroseconds, os->time_base);
            int64_t pts = av_rescale_q(ptsUs, kMicroseconds, os->time_base);
            int64_t& last = lastDts[static_cast<size_t>(target)];
            if (last != std::numeric_limits<int64_t>::min() && dts <= last)
                dts = last + 1;
            pts = std::max(pts, dts);
            last = dts;
            packet->pts = pts;
            packet->dts = dts;
            packet->duration = av_rescale_q(durationUs, kMicroseconds, os->time_base);
            packet->stream_index = target;
            packet->pos = -1;
            if (isVideo) {
                ++result.videoPackets;
                videoEndUs = std::max(videoEndUs, ptsUs + durationUs);
            }
            if (av_interleaved_write_frame(out.get(), packet.get()) < 0) {
                result.error = QStringLiteral("cannot write \"%1\"").arg(outputPath);
                result.failure = ExportFailure::Writing;
                writeFailed = true;
                break;
            }
        }
        av_packet_unref(packet.get());
        if (!started)
            break;
        ++result.segmentsUsed;
        offsetUs = videoEndUs;
    }
    if (writeFailed)
        return result;
    if (result.videoPackets == 0) {
        if (result.error.isEmpty())
            result.error = QStringLiteral("no video in the window");
        result.failure = ExportFailure::Window;
        return result;
    }
    if (av_write_trailer(out.get()) < 0 || (out->pb && avio_closep(&out->pb) < 0)) {
        result.error = QStringLiteral("cannot finish \"%1\"").arg(outputPath);
        result.failure = ExportFailure::Writing;
        return result;
    }
    result.durationMs = videoEndUs / 1000;
    result.ok = true;
    return result;
}
