// A stand-in for the media library: exports the libvlc_* names the viewer resolves, records every call
// with its arguments, and lets tests steer results (length, time, a stop that blocks, a failing libvlc_new)
// through fakevlc_* functions. Built twice: complete, and with FAKEVLC_PARTIAL lacking a few entries.
#include "playback/MediaLibraryAbi.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

struct libvlc_instance_t
{
    int dummy;
};
struct libvlc_media_player_t
{
    int dummy;
};
struct libvlc_media_t
{
    int dummy;
};
struct libvlc_event_manager_t
{
    int dummy;
};

namespace {

std::mutex g_lock;
std::vector<std::string> g_calls;
std::string g_joined;
std::string g_newArgs;
libvlc_instance_t g_instance;
libvlc_media_player_t g_player;
libvlc_media_t g_media;
libvlc_event_manager_t g_events;
int64_t g_length = 60000;
int64_t g_time = 0;
int g_playResult = 0;
bool g_failNew = false;
bool g_failPlayer = false;
bool g_failEvents = false;
bool g_snapshotWrites = true;
std::atomic<int> g_stopBlockMs { 0 };
std::atomic<int> g_stopsRunning { 0 };

struct Listener
{
    int type;
    void (*callback)(const libvlc_event_t*, void*);
    void* data;
};
std::vector<Listener> g_listeners;

// The video callbacks the binding installed, and whether the current playback has announced its format.
struct VideoOutput
{
    void* (*lock)(void*, void**) = nullptr;
    void (*unlock)(void*, void*, void* const*) = nullptr;
    void (*display)(void*, void*) = nullptr;
    void* opaque = nullptr;
    unsigned (*format)(void**, char*, unsigned*, unsigned*, unsigned*, unsigned*) = nullptr;
    void (*cleanup)(void*) = nullptr;
    bool formatted = false;
    unsigned pitch = 0;
    unsigned lines = 0;
};
VideoOutput g_video;

void record(const std::string& call)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_calls.push_back(call);
}

std::string num(long long v)
{
    return std::to_string(v);
}

} // namespace

// ---- control of the fake ----
FAKE_EXPORT void fakevlc_reset()
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_calls.clear();
    g_newArgs.clear();
    g_length = 60000;
    g_time = 0;
    g_playResult = 0;
    g_failNew = false;
    g_failPlayer = false;
    g_failEvents = false;
    g_snapshotWrites = true;
    g_stopBlockMs = 0;
    g_listeners.clear();
}
FAKE_EXPORT const char* fakevlc_calls()
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_joined.clear();
    for (const std::string& c : g_calls)
        g_joined += c + "\n";
    return g_joined.c_str();
}
FAKE_EXPORT const char* fakevlc_new_args()
{
    return g_newArgs.c_str();
}
FAKE_EXPORT void fakevlc_set_length(int64_t ms)
{
    g_length = ms;
}
FAKE_EXPORT void fakevlc_set_time(int64_t ms)
{
    g_time = ms;
}
FAKE_EXPORT void fakevlc_set_play_result(int result)
{
    g_playResult = result;
}
FAKE_EXPORT void fakevlc_set_fail_new(int fail)
{
    g_failNew = fail != 0;
}
FAKE_EXPORT void fakevlc_set_fail_player(int fail)
{
    g_failPlayer = fail != 0;
}
FAKE_EXPORT void fakevlc_set_fail_events(int fail)
{
    g_failEvents = fail != 0;
}
FAKE_EXPORT void fakevlc_set_snapshot_writes(int writes)
{
    g_snapshotWrites = writes != 0;
}
FAKE_EXPORT void fakevlc_set_stop_block_ms(int ms)
{
    g_stopBlockMs = ms;
}
FAKE_EXPORT int fakevlc_stops_running()
{
    return g_stopsRunning.load();
}
FAKE_EXPORT int fakevlc_listener_count()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return int(g_listeners.size());
}
// Delivers one frame of a single colour (0xRRGGBB) through the video callbacks, as the library's video
// thread does after play: the format first when this playback has not announced it yet. Returns 0 when no
// frame could be delivered (no callbacks, nothing playing, the format refused).
FAKE_EXPORT int fakevlc_deliver_frame(unsigned rgb, unsigned width, unsigned height)
{
    VideoOutput& v = g_video;
    if (!v.lock || !v.display || !v.format)
        return 0;
    if (!v.formatted) {
        char chroma[5] = "I420";
        unsigned w = width, h = height;
        unsigned pitches[3] = {}, lines[3] = {};
        void* opaque = v.opaque;
        if (v.format(&opaque, chroma, &w, &h, pitches, lines) == 0)
            return 0;
        v.opaque = opaque;
        v.pitch = pitches[0];
        v.lines = lines[0];
        v.formatted = true;
    }
    void* planes[3] = {};
    void* picture = v.lock(v.opaque, planes);
    auto* pixels = static_cast<uint32_t*>(planes[0]);
    const size_t count = size_t(v.pitch / 4) * v.lines;
    for (size_t i = 0; i < count; ++i)
        pixels[i] = 0xff000000u | rgb;
    if (v.unlock)
        v.unlock(v.opaque, picture, planes);
    v.display(v.opaque, picture);
    return 1;
}
// Sends an event to the attached listeners, as the library's event thread would.
FAKE_EXPORT void fakevlc_fire(int type, int64_t newTime)
{
    std::vector<Listener> listeners;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        listeners = g_listeners;
    }
    libvlc_event_t event {};
    event.type = type;
    event.p_obj = &g_player;
    event.u.media_player_time_changed.new_time = newTime;
    for (const Listener& l : listeners)
        if (l.type == type)
            l.callback(&event, l.data);
}

// ---- the library's interface ----
FAKE_EXPORT void libvlc_audio_set_mute(libvlc_media_player_t*, int mute)
{
    record("libvlc_audio_set_mute(" + num(mute) + ")");
}
FAKE_EXPORT int libvlc_audio_set_volume(libvlc_media_player_t*, int volume)
{
    record("libvlc_audio_set_volume(" + num(volume) + ")");
    return 0;
}
FAKE_EXPORT int libvlc_event_attach(
    libvlc_event_manager_t*, int type, void (*cb)(const libvlc_event_t*, void*), void* data)
{
    record("libvlc_event_attach(" + num(type) + ")");
    std::lock_guard<std::mutex> guard(g_lock);
    g_listeners.push_back({ type, cb, data });
    return 0;
}
FAKE_EXPORT void libvlc_event_detach(
    libvlc_event_manager_t*, int type, void (*cb)(const libvlc_event_t*, void*), void* data)
{
    record("libvlc_event_detach(" + num(type) + ")");
    std::lock_guard<std::mutex> guard(g_lock);
    for (auto it = g_listeners.begin(); it != g_listeners.end(); ++it) {
        if (it->type == type && it->callback == cb && it->data == data) {
            g_listeners.erase(it);
            break;
        }
    }
}
FAKE_EXPORT void libvlc_free(void*)
{
    record("libvlc_free");
}
FAKE_EXPORT libvlc_media_t* libvlc_media_new_path(libvlc_instance_t*, const char* path)
{
    record(std::string("libvlc_media_new_path(") + path + ")");
    return &g_media;
}
FAKE_EXPORT libvlc_event_manager_t* libvlc_media_player_event_manager(libvlc_media_player_t*)
{
    record("libvlc_media_player_event_manager");
    return g_failEvents ? nullptr : &g_events;
}
FAKE_EXPORT int64_t libvlc_media_player_get_length(libvlc_media_player_t*)
{
    record("libvlc_media_player_get_length");
    return g_length;
}
FAKE_EXPORT int64_t libvlc_media_player_get_time(libvlc_media_player_t*)
{
    record("libvlc_media_player_get_time");
    return g_time;
}
FAKE_EXPORT int libvlc_media_player_is_playing(libvlc_media_player_t*)
{
    record("libvlc_media_player_is_playing");
    return 0;
}
FAKE_EXPORT libvlc_media_player_t* libvlc_media_player_new(libvlc_instance_t*)
{
    record("libvlc_media_player_new");
    return g_failPlayer ? nullptr : &g_player;
}
FAKE_EXPORT void libvlc_media_player_pause(libvlc_media_player_t*)
{
    record("libvlc_media_player_pause");
}
#ifndef FAKEVLC_PARTIAL
FAKE_EXPORT int libvlc_media_player_play(libvlc_media_player_t*)
{
    record("libvlc_media_player_play");
    g_video.formatted = false; // a new playback announces its format with its first frame
    return g_playResult;
}
#endif
FAKE_EXPORT void libvlc_media_player_release(libvlc_media_player_t*)
{
    record("libvlc_media_player_release");
}
FAKE_EXPORT void libvlc_media_player_set_xwindow(libvlc_media_player_t*, uint32_t)
{
    record("libvlc_media_player_set_xwindow");
}
FAKE_EXPORT void libvlc_media_player_set_media(libvlc_media_player_t*, libvlc_media_t*)
{
    record("libvlc_media_player_set_media");
}
FAKE_EXPORT int libvlc_media_player_set_rate(libvlc_media_player_t*, float rate)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", double(rate));
    record(std::string("libvlc_media_player_set_rate(") + text + ")");
    return 0;
}
FAKE_EXPORT void libvlc_media_player_set_time(libvlc_media_player_t*, int64_t ms)
{
    record("libvlc_media_player_set_time(" + num(ms) + ")");
}
FAKE_EXPORT void libvlc_media_player_stop(libvlc_media_player_t*)
{
    ++g_stopsRunning;
    record("libvlc_media_player_stop");
    if (g_video.formatted && g_video.cleanup)
        g_video.cleanup(g_video.opaque);
    g_video.formatted = false;
    const int ms = g_stopBlockMs.load();
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    --g_stopsRunning;
}
FAKE_EXPORT void libvlc_media_release(libvlc_media_t*)
{
    record("libvlc_media_release");
}
FAKE_EXPORT libvlc_instance_t* libvlc_new(int argc, const char* const* argv)
{
    record("libvlc_new(" + num(argc) + ")");
    {
        std::lock_guard<std::mutex> guard(g_lock);
        g_newArgs.clear();
        for (int i = 0; i < argc; ++i)
            g_newArgs += std::string(argv[i]) + "\n";
    }
    return g_failNew ? nullptr : &g_instance;
}
FAKE_EXPORT void libvlc_release(libvlc_instance_t*)
{
    record("libvlc_release");
}
FAKE_EXPORT int libvlc_video_get_height(libvlc_media_player_t*)
{
    record("libvlc_video_get_height");
    return 240;
}
FAKE_EXPORT float libvlc_video_get_scale(libvlc_media_player_t*)
{
    record("libvlc_video_get_scale");
    return 0;
}
FAKE_EXPORT int libvlc_video_get_width(libvlc_media_player_t*)
{
    record("libvlc_video_get_width");
    return 320;
}
FAKE_EXPORT void libvlc_video_Rotate_Off(libvlc_media_player_t*)
{
    record("libvlc_video_Rotate_Off");
}
FAKE_EXPORT void libvlc_video_Rotate_On(libvlc_media_player_t*, int kind)
{
    record("libvlc_video_Rotate_On(" + num(kind) + ")");
}
FAKE_EXPORT void libvlc_video_set_adjust_float(libvlc_media_player_t*, unsigned option, float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "libvlc_video_set_adjust_float(%u,%.1f)", option, double(value));
    record(text);
}
FAKE_EXPORT void libvlc_video_set_adjust_int(libvlc_media_player_t*, unsigned option, int value)
{
    record("libvlc_video_set_adjust_int(" + num(option) + "," + num(value) + ")");
}
FAKE_EXPORT int libvlc_video_take_snapshot(
    libvlc_media_player_t*, unsigned num_, const char* path, unsigned w, unsigned h)
{
    record(std::string("libvlc_video_take_snapshot(") + num(num_) + "," + path + "," + num(w) + "," + num(h) + ")");
    if (g_snapshotWrites) {
        if (FILE* f = std::fopen(path, "wb")) {
            std::fputs("png", f);
            std::fclose(f);
        }
    }
    return 0;
}
FAKE_EXPORT void libvlc_video_Magnify(libvlc_media_player_t*, int on)
{
    record("libvlc_video_Magnify(" + num(on) + ")");
}
FAKE_EXPORT int libvlc_video_get_cursor(libvlc_media_player_t*, unsigned, int*, int*)
{
    record("libvlc_video_get_cursor");
    return -1;
}
FAKE_EXPORT void libvlc_media_player_set_pause(libvlc_media_player_t*, int paused)
{
    record("libvlc_media_player_set_pause(" + num(paused) + ")");
}
FAKE_EXPORT int libvlc_video_get_track(libvlc_media_player_t*)
{
    record("libvlc_video_get_track");
    return 1;
}
FAKE_EXPORT int libvlc_video_set_track(libvlc_media_player_t*, int track)
{
    record("libvlc_video_set_track(" + num(track) + ")");
    return 0;
}
#ifndef FAKEVLC_PARTIAL
FAKE_EXPORT void libvlc_video_set_callbacks(libvlc_media_player_t*, void* (*lock)(void*, void**),
    void (*unlock)(void*, void*, void* const*), void (*display)(void*, void*), void* opaque)
{
    record("libvlc_video_set_callbacks");
    g_video.lock = lock;
    g_video.unlock = unlock;
    g_video.display = display;
    g_video.opaque = opaque;
    g_video.formatted = false;
}
#endif
FAKE_EXPORT void libvlc_video_set_format_callbacks(libvlc_media_player_t*,
    unsigned (*format)(void**, char*, unsigned*, unsigned*, unsigned*, unsigned*), void (*cleanup)(void*))
{
    record("libvlc_video_set_format_callbacks");
    g_video.format = format;
    g_video.cleanup = cleanup;
}
