#include "incident/FrameGrabber.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <memory>

namespace {

struct InputCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFree
{
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree
{
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

RgbFrame toRgb(const AVFrame* frame, qint64 timeMs, int maxWidth)
{
    RgbFrame out;
    int width = frame->width;
    int height = frame->height;
    if (maxWidth > 0 && width > maxWidth) {
        height = std::max(1, static_cast<int>((static_cast<qint64>(height) * maxWidth + width / 2) / width));
        width = maxWidth;
    }
    SwsContext* sws = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
        width, height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws)
        return out;
    out.width = width;
    out.height = height;
    out.timeMs = timeMs;
    out.rgb.resize(static_cast<qsizetype>(width) * height * 3);
    uint8_t* planes[4] = { reinterpret_cast<uint8_t*>(out.rgb.data()), nullptr, nullptr, nullptr };
    int strides[4] = { width * 3, 0, 0, 0 };
    sws_scale(sws, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(sws);
    return out;
}

} // namespace

RgbFrame GrabFrame(const QString& path, qint64 timeMs, int maxWidth)
{
    AVFormatContext* raw = nullptr;
    const QByteArray name = path.toLocal8Bit();
    if (avformat_open_input(&raw, name.constData(), nullptr, nullptr) < 0)
        return {};
    std::unique_ptr<AVFormatContext, InputCloser> in(raw);
    if (avformat_find_stream_info(in.get(), nullptr) < 0)
        return {};
    const AVCodec* codec = nullptr;
    const int video = av_find_best_stream(in.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (video < 0 || !codec)
        return {};
    const AVStream* stream = in->streams[video];
    std::unique_ptr<AVCodecContext, CodecFree> decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0
        || avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return {};
    const int64_t target = av_rescale_q(timeMs, AVRational { 1, 1000 }, stream->time_base);
    if (timeMs > 0)
        av_seek_frame(in.get(), video, target, AVSEEK_FLAG_BACKWARD);

    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    std::unique_ptr<AVFrame, FrameFree> shown(av_frame_alloc());
    bool have = false;
    bool done = false;
    auto drain = [&]() {
        while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            const int64_t ts = frame->best_effort_timestamp;
            if (have && ts != AV_NOPTS_VALUE && ts > target) {
                done = true;
                av_frame_unref(frame.get());
                return;
            }
            av_frame_unref(shown.get());
            av_frame_move_ref(shown.get(), frame.get());
            have = true;
            if (ts != AV_NOPTS_VALUE && ts == target) {
                done = true;
                return;
            }
        }
    };
    while (!done && av_read_frame(in.get(), packet.get()) >= 0) {
        if (packet->stream_index == video && avcodec_send_packet(decoder.get(), packet.get()) >= 0)
            drain();
        av_packet_unref(packet.get());
    }
    if (!done) {
        avcodec_send_packet(decoder.get(), nullptr);
        drain();
    }
    if (!have)
        return {};
    const int64_t ts = shown->best_effort_timestamp;
    return toRgb(shown.get(), ts == AV_NOPTS_VALUE ? timeMs : av_rescale_q(ts, stream->time_base, AVRational { 1, 1000 }), maxWidth);
}
