// The baseline of the start-up benchmark: the least a program can do to show the first frame of a
// recording with the same media library: load it, create an instance and a player, hand it video callbacks
// and play; it exits when the first picture reaches its display callback.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <vlc/vlc.h>

namespace {

std::vector<unsigned char> g_frame;

void* lockFrame(void*, void** planes)
{
    planes[0] = g_frame.data();
    return nullptr;
}

void unlockFrame(void*, void*, void* const*) { }

void displayFrame(void*, void*)
{
    // The first picture is on its way to the screen: the start-up is over.
    std::_Exit(0);
}

template <typename F>
F entry(void* lib, const char* name)
{
    void* p = dlsym(lib, name);
    if (!p) {
        std::fprintf(stderr, "baseline: %s missing\n", name);
        std::exit(1);
    }
    return reinterpret_cast<F>(p);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: bench_startup_baseline LIBVLC.so CLIP WIDTH HEIGHT\n");
        return 2;
    }
    const unsigned width = unsigned(std::atoi(argv[3]));
    const unsigned height = unsigned(std::atoi(argv[4]));
    g_frame.resize(size_t(width) * height * 4);

    void* lib = dlopen(argv[1], RTLD_NOW | RTLD_GLOBAL);
    if (!lib) {
        std::fprintf(stderr, "baseline: %s\n", dlerror());
        return 1;
    }
    auto newInstance = entry<libvlc_instance_t* (*)(int, const char* const*)>(lib, "libvlc_new");
    auto mediaNew = entry<libvlc_media_t* (*)(libvlc_instance_t*, const char*)>(lib, "libvlc_media_new_path");
    auto playerNew = entry<libvlc_media_player_t* (*)(libvlc_media_t*)>(lib, "libvlc_media_player_new_from_media");
    auto setCallbacks = entry<void (*)(libvlc_media_player_t*, libvlc_video_lock_cb, libvlc_video_unlock_cb,
        libvlc_video_display_cb, void*)>(lib, "libvlc_video_set_callbacks");
    auto setFormat = entry<void (*)(libvlc_media_player_t*, const char*, unsigned, unsigned, unsigned)>(
        lib, "libvlc_video_set_format");
    auto play = entry<int (*)(libvlc_media_player_t*)>(lib, "libvlc_media_player_play");

    const char* const args[] = { "--quiet", "--no-audio" };
    libvlc_instance_t* instance = newInstance(2, args);
    if (!instance)
        return 1;
    libvlc_media_t* media = mediaNew(instance, argv[2]);
    libvlc_media_player_t* player = playerNew(media);
    setCallbacks(player, lockFrame, unlockFrame, displayFrame, nullptr);
    setFormat(player, "RV32", width, height, width * 4);
    play(player);
    // The display callback ends the process; give up after a minute.
    for (int i = 0; i < 600; ++i) {
        struct timespec pause { 0, 100'000'000 };
        nanosleep(&pause, nullptr);
    }
    std::fprintf(stderr, "baseline: no frame within a minute\n");
    return 1;
}
