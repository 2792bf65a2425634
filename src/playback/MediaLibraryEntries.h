#pragma once

#include <QFunctionPointer>
#include <QString>
#include <array>
#include <cstdint>

class QLibrary;

// Opaque handles of the media library. They are only ever held as pointers, so their definitions never
// need to be seen here.
struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_media_t;
struct libvlc_event_manager_t;
struct libvlc_event_t;

// The signatures the viewer calls, as the installed library (libvlc 3) defines them.
namespace mediafn {
using EventCallback = void (*)(const libvlc_event_t* event, void* userData);
using VideoLock = void* (*)(void* opaque, void** planes);
using VideoUnlock = void (*)(void* opaque, void* picture, void* const* planes);
using VideoDisplay = void (*)(void* opaque, void* picture);
using VideoFormat
    = unsigned (*)(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches, unsigned* lines);
using VideoCleanup = void (*)(void* opaque);

using AudioSetMute = void (*)(libvlc_media_player_t*, int);
using AudioSetVolume = int (*)(libvlc_media_player_t*, int);
using EventAttach = int (*)(libvlc_event_manager_t*, int, EventCallback, void*);
using EventDetach = void (*)(libvlc_event_manager_t*, int, EventCallback, void*);
using Free = void (*)(void*);
using MediaNewPath = libvlc_media_t* (*)(libvlc_instance_t*, const char*);
using PlayerEventManager = libvlc_event_manager_t* (*)(libvlc_media_player_t*);
using PlayerGetTime = int64_t (*)(libvlc_media_player_t*);
using PlayerIsPlaying = int (*)(libvlc_media_player_t*);
using PlayerNew = libvlc_media_player_t* (*)(libvlc_instance_t*);
using PlayerAction = void (*)(libvlc_media_player_t*);
using PlayerPlay = int (*)(libvlc_media_player_t*);
using PlayerSetXWindow = void (*)(libvlc_media_player_t*, uint32_t);
using PlayerSetMedia = void (*)(libvlc_media_player_t*, libvlc_media_t*);
using PlayerSetRate = int (*)(libvlc_media_player_t*, float);
using PlayerSetTime = void (*)(libvlc_media_player_t*, int64_t);
using MediaRelease = void (*)(libvlc_media_t*);
using New = libvlc_instance_t* (*)(int, const char* const*);
using Release = void (*)(libvlc_instance_t*);
using VideoGetDimension = int (*)(libvlc_media_player_t*);
using VideoGetScale = float (*)(libvlc_media_player_t*);
using RotateOff = void (*)(libvlc_media_player_t*);
using RotateOn = void (*)(libvlc_media_player_t*, int);
using SetAdjustFloat = void (*)(libvlc_media_player_t*, unsigned, float);
using SetAdjustInt = void (*)(libvlc_media_player_t*, unsigned, int);
using TakeSnapshot = int (*)(libvlc_media_player_t*, unsigned, const char*, unsigned, unsigned);
using Magnify = void (*)(libvlc_media_player_t*, int);
using GetCursor = int (*)(libvlc_media_player_t*, unsigned, int*, int*);
using SetVideoCallbacks = void (*)(libvlc_media_player_t*, VideoLock, VideoUnlock, VideoDisplay, void*);
using SetVideoFormatCallbacks = void (*)(libvlc_media_player_t*, VideoFormat, VideoCleanup);
using VideoGetTrack = int (*)(libvlc_media_player_t*);
using VideoSetTrack = int (*)(libvlc_media_player_t*, int);
using PlayerSetPause = void (*)(libvlc_media_player_t*, int);
} // namespace mediafn

// The slots of the entry table, in the order they are resolved. The first 32 are the viewer's classic
// table (the native-window entry is the X11 one here); the next two hand the decoded frames to the video
// surface, which draws them itself; the last two restart the video output when the magnifier changes the
// frame size it needs; set_pause pauses and resumes by state instead of toggling.
enum class MediaEntry : int {
    AudioSetMute,
    AudioSetVolume,
    EventAttach,
    EventDetach,
    Free,
    MediaNewPath,
    PlayerEventManager,
    PlayerGetLength,
    PlayerGetTime,
    PlayerIsPlaying,
    PlayerNew,
    PlayerPause,
    PlayerPlay,
    PlayerRelease,
    PlayerSetXWindow,
    PlayerSetMedia,
    PlayerSetRate,
    PlayerSetTime,
    PlayerStop,
    MediaRelease,
    New,
    Release,
    VideoGetHeight,
    VideoGetScale,
    VideoGetWidth,
    VideoRotateOff,
    VideoRotateOn,
    VideoSetAdjustFloat,
    VideoSetAdjustInt,
    VideoTakeSnapshot,
    VideoMagnify,
    VideoGetCursor,
    VideoSetCallbacks,
    VideoSetFormatCallbacks,
    VideoGetTrack,
    VideoSetTrack,
    PlayerSetPause,
    Count
};

inline constexpr int kMediaEntryCount = static_cast<int>(MediaEntry::Count);

struct MediaEntryInfo
{
    const char* name;
    bool highTierOnly; // resolved only when the viewer tier is High
    bool required; // playback is disabled when the library lacks it
};

// Name and rules of every slot, in resolution order.
const std::array<MediaEntryInfo, kMediaEntryCount>& MediaEntryTable();

// The process's one table: the loaded library's module and one slot per entry, each a callable address or
// empty. Written on the UI thread at start-up and exit only.
struct MediaLibraryEntries
{
    QLibrary* module = nullptr; // the front library (libvlc)
    QLibrary* coreModule = nullptr; // its core library, loaded first from the same folder
    int loadedTier = -1;
    std::array<QFunctionPointer, kMediaEntryCount> slots {};

    bool isLoaded() const { return module != nullptr; }
    bool has(MediaEntry e) const { return slots[static_cast<size_t>(e)] != nullptr; }

    // The slot as a typed function pointer; empty when the library lacks the entry. Callers test it.
    template <typename Fn> Fn get(MediaEntry e) const { return reinterpret_cast<Fn>(slots[static_cast<size_t>(e)]); }
};

MediaLibraryEntries& mediaLibrary();
