#pragma once

// Private to the playback sources (and the test double of the library): the few definitions of the media
// library's C interface whose layout the viewer depends on. Public headers only forward-declare the handles.

#include <cstdint>

// Event record handed to event callbacks (libvlc 3 layout: type, sender, then a union whose time-changed
// member is a signed 64-bit millisecond count).
struct libvlc_event_t
{
    int type;
    void* p_obj;
    union {
        struct
        {
            int64_t new_time;
        } media_player_time_changed;
        char reserved[64];
    } u;
};

namespace mediaabi {
inline constexpr int kEventEndReached = 265; // libvlc_MediaPlayerEndReached
inline constexpr int kEventTimeChanged = 267; // libvlc_MediaPlayerTimeChanged
inline constexpr unsigned kAdjustEnable = 0;
inline constexpr unsigned kAdjustContrast = 1;
inline constexpr unsigned kAdjustBrightness = 2;
} // namespace mediaabi
