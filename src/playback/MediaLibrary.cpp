#include "playback/MediaLibrary.h"

#include "app/InstallLayout.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/PlayerContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStringList>
#include <QThread>
#include <cerrno>
#include <memory>
#include <thread>

Q_LOGGING_CATEGORY(lcMediaLibrary, "korvane.playback.library", QtWarningMsg)

namespace {

QString g_baseFolder;
QString g_diagnostic;
// What keeps playback from working, kept as a reason and its details so that the text is made in the
// user's language when it is asked for.
enum class Problem { None, LoadFailed, MissingEntries, InstanceFailed, PlayerFailed, EventsFailed };
Problem g_loadProblem = Problem::None;
QString g_problemFile;
QString g_problemEntries;
Problem g_createProblem = Problem::None;

// The string table's text of a reason; the English text while no table is installed (tests, tools).
QString reasonText(int id, const char* english)
{
    const QByteArray key = "str_" + QByteArray::number(id);
    const QString text = qtTrId(key.constData());
    return text == QLatin1String(key) ? QString::fromUtf8(english) : text;
}

QString problemText(Problem problem)
{
    switch (problem) {
    case Problem::None:
        return QString();
    case Problem::LoadFailed:
        return reasonText(kStrReasonNotLoadable, "%1 could not be loaded").arg(g_problemFile);
    case Problem::MissingEntries:
        return reasonText(kStrReasonMissingEntries, "%1 lacks %2").arg(g_problemFile, g_problemEntries);
    case Problem::InstanceFailed:
        return reasonText(kStrReasonInstanceFailed,
            "libvlc_new failed (the library's plug-ins were not found or an option was refused)");
    case Problem::PlayerFailed:
        return reasonText(kStrReasonPlayerFailed, "libvlc_media_player_new failed");
    case Problem::EventsFailed:
        return reasonText(kStrReasonEventsFailed, "libvlc_media_player_event_manager failed");
    }
    return QString();
}
bool g_noticeTaken = false;

void setDiagnostic(const QString& text)
{
    g_diagnostic = text;
    qCDebug(lcMediaLibrary).noquote() << text;
}

QString currentTierFolder()
{
    return LibraryFolder(viewerEnvironment().viewerTier);
}

QStringList missingRequiredEntries()
{
    QStringList missing;
    const MediaLibraryEntries& lib = mediaLibrary();
    const auto& table = MediaEntryTable();
    for (int i = 0; i < kMediaEntryCount; ++i) {
        if (table[size_t(i)].required && !lib.slots[size_t(i)])
            missing << QString::fromLatin1(table[size_t(i)].name);
    }
    return missing;
}

// Copies through a temporary file in the target's folder that then replaces the target, so the target is
// either the old build or a complete copy of the new one.
void replaceWithCopy(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            out.cancelWriting();
            return;
        }
        if (n == 0)
            break;
        if (out.write(buffer, n) != n) {
            out.cancelWriting();
            return;
        }
    }
    out.commit();
}

// The library files of one folder, loaded and resolved for one tier: what LoadMediaLibrary puts into the
// process's table, made where any thread can make it.
struct LoadedFiles
{
    QLibrary* front = nullptr;
    QLibrary* core = nullptr;
    int errorCode = 0;
    QString errorString;
    std::array<QFunctionPointer, kMediaEntryCount> slots {};
};

LoadedFiles loadFiles(const QString& folderPath, int tier)
{
    LoadedFiles files;
    const QDir folder(folderPath);
    const QString frontPath = folder.filePath(QLatin1String(kFrontLibraryFile));
    const QString corePath = folder.filePath(QLatin1String(kCoreLibraryFile));

    // The front library names its core by soname; a core already loaded from this folder under that soname
    // is the one it binds to. Without one in the folder the system's core is found the usual way.
    auto* core = new QLibrary(corePath);
    if (!QFileInfo::exists(corePath) || !core->load()) {
        delete core;
        core = nullptr;
    }

    auto* front = new QLibrary(frontPath);
    errno = 0;
    if (!front->load()) {
        files.errorCode = errno != 0 ? errno : ENOENT;
        files.errorString = front->errorString();
        delete front;
        if (core) {
            core->unload();
            delete core;
        }
        return files;
    }
    files.front = front;
    files.core = core;
    const auto& table = MediaEntryTable();
    for (int i = 0; i < kMediaEntryCount; ++i) {
        const MediaEntryInfo& info = table[size_t(i)];
        if (info.highTierOnly && tier != int(ViewerTier::High))
            continue;
        files.slots[size_t(i)] = front->resolve(info.name);
    }
    return files;
}

template <typename Fn>
Fn slotAs(const std::array<QFunctionPointer, kMediaEntryCount>& slots, MediaEntry e)
{
    return reinterpret_cast<Fn>(slots[size_t(e)]);
}

// The library of a tier loaded, and its instance and player created, on a worker thread while the window is
// being built. Handed over to the process's table and the player context when the start-up sequence asks for
// the same tier and the same options; released otherwise.
struct Preload
{
    int tier = -1;
    QString folder;
    QList<QByteArray> options;
    // The thread that asked, which uses and deletes the library objects afterwards.
    QThread* owner = nullptr;
    std::thread worker;
    LoadedFiles files;
    libvlc_instance_t* instance = nullptr;
    libvlc_media_player_t* player = nullptr;
    libvlc_event_manager_t* eventManager = nullptr;

    ~Preload()
    {
        if (worker.joinable())
            worker.join();
    }

    void run()
    {
        files = loadFiles(folder, tier);
        // The library objects are handed to the thread that asked; only their creator may move them.
        for (QLibrary* module : { files.front, files.core }) {
            if (module)
                module->moveToThread(owner);
        }
        if (!files.front)
            return;
        const auto create = slotAs<mediafn::New>(files.slots, MediaEntry::New);
        const auto playerNew = slotAs<mediafn::PlayerNew>(files.slots, MediaEntry::PlayerNew);
        const auto events = slotAs<mediafn::PlayerEventManager>(files.slots, MediaEntry::PlayerEventManager);
        if (!create || !playerNew || !events)
            return;
        std::vector<const char*> argv;
        for (const QByteArray& option : options)
            argv.push_back(option.constData());
        instance = create(int(argv.size()), argv.data());
        if (!instance)
            return;
        player = playerNew(instance);
        if (player)
            eventManager = events(player);
        if (!eventManager)
            releaseHandles();
    }

    void releaseHandles()
    {
        if (player) {
            if (auto release = slotAs<mediafn::PlayerAction>(files.slots, MediaEntry::PlayerRelease))
                release(player);
        }
        if (instance) {
            if (auto release = slotAs<mediafn::Release>(files.slots, MediaEntry::Release))
                release(instance);
        }
        player = nullptr;
        instance = nullptr;
        eventManager = nullptr;
    }
};

std::unique_ptr<Preload> g_preload;

// Waits for the worker and gives up what it made: the instance, and the library files unless they have
// become the process's table.
void discardPreload()
{
    if (!g_preload)
        return;
    if (g_preload->worker.joinable())
        g_preload->worker.join();
    g_preload->releaseHandles();
    const bool adopted = g_preload->files.front && mediaLibrary().module == g_preload->files.front;
    if (!adopted) {
        for (QLibrary* module : { g_preload->files.front, g_preload->files.core }) {
            if (module) {
                module->unload();
                delete module;
            }
        }
    }
    g_preload.reset();
}

} // namespace

void PreloadMediaLibrary(int tier, const QList<QByteArray>& options)
{
    if (g_preload || mediaLibrary().module)
        return;
    g_preload = std::make_unique<Preload>();
    g_preload->tier = tier;
    g_preload->folder = LibraryFolder(tier);
    g_preload->options = options;
    g_preload->owner = QThread::currentThread();
    Preload* preload = g_preload.get();
    g_preload->worker = std::thread([preload] { preload->run(); });
}

const std::array<MediaEntryInfo, kMediaEntryCount>& MediaEntryTable()
{
    static const std::array<MediaEntryInfo, kMediaEntryCount> table { {
        { "libvlc_audio_set_mute", false, true },
        { "libvlc_audio_set_volume", false, true },
        { "libvlc_event_attach", false, true },
        { "libvlc_event_detach", false, true },
        { "libvlc_free", true, false },
        { "libvlc_media_new_path", false, true },
        { "libvlc_media_player_event_manager", false, true },
        { "libvlc_media_player_get_length", false, true },
        { "libvlc_media_player_get_time", false, true },
        { "libvlc_media_player_is_playing", false, false },
        { "libvlc_media_player_new", false, true },
        { "libvlc_media_player_pause", false, true },
        { "libvlc_media_player_play", false, true },
        { "libvlc_media_player_release", false, false },
        { "libvlc_media_player_set_xwindow", false, false },
        { "libvlc_media_player_set_media", false, true },
        { "libvlc_media_player_set_rate", false, true },
        { "libvlc_media_player_set_time", false, true },
        { "libvlc_media_player_stop", false, true },
        { "libvlc_media_release", false, true },
        { "libvlc_new", false, true },
        { "libvlc_release", false, false },
        { "libvlc_video_get_height", false, true },
        { "libvlc_video_get_scale", false, false },
        { "libvlc_video_get_width", false, true },
        { "libvlc_video_Rotate_Off", false, false },
        { "libvlc_video_Rotate_On", false, false },
        { "libvlc_video_set_adjust_float", false, true },
        { "libvlc_video_set_adjust_int", false, true },
        { "libvlc_video_take_snapshot", false, true },
        { "libvlc_video_Magnify", true, false },
        { "libvlc_video_get_cursor", false, false },
        { "libvlc_video_set_callbacks", false, true },
        { "libvlc_video_set_format_callbacks", false, true },
        { "libvlc_video_get_track", false, false },
        { "libvlc_video_set_track", false, false },
        { "libvlc_media_player_set_pause", false, false },
    } };
    return table;
}

MediaLibraryEntries& mediaLibrary()
{
    static MediaLibraryEntries entries;
    return entries;
}

QString MediaLibraryBaseFolder()
{
    if (!g_baseFolder.isEmpty())
        return g_baseFolder;
    return installlayout::LibraryFolder();
}

void SetMediaLibraryBaseFolder(const QString& folder)
{
    g_baseFolder = folder;
}

QString LibraryFolder(int tier)
{
    const QString sub = tier == int(ViewerTier::High) ? QStringLiteral("Library/RDPE") : QStringLiteral("Library/RDSE");
    return QDir(MediaLibraryBaseFolder()).filePath(sub);
}

QList<LibraryCopy> LibraryVariantCopies(int tier)
{
    QString variant;
    if (tier == int(ViewerTier::Mid))
        variant = QStringLiteral("Std");
    else if (tier == int(ViewerTier::Low))
        variant = QStringLiteral("Thread");
    else
        return {};
    const QDir folder(LibraryFolder(tier));
    return {
        { folder.filePath(QStringLiteral("libvlccore%1.so").arg(variant)),
            folder.filePath(QLatin1String(kCoreLibraryFile)) },
        { folder.filePath(QStringLiteral("libvlc%1.so").arg(variant)),
            folder.filePath(QLatin1String(kFrontLibraryFile)) },
    };
}

void InstallLibraryVariant(int tier)
{
    for (const LibraryCopy& copy : LibraryVariantCopies(tier)) {
        // An installed tree links its library files to the system's own: writing through such a link would
        // replace a file of the system (as root) with a copy of itself, so a linked target is left alone.
        if (QFileInfo(copy.target).isSymLink())
            continue;
        replaceWithCopy(copy.source, copy.target);
    }
}

bool LoadMediaLibrary()
{
    MediaLibraryEntries& lib = mediaLibrary();
    if (lib.module)
        return true;

    const int tier = viewerEnvironment().viewerTier;
    const QString folderPath = currentTierFolder();
    const QString frontPath = QDir(folderPath).filePath(QLatin1String(kFrontLibraryFile));

    // The files an early start loaded count when they are those of this tier; a failed early load is
    // repeated here, so that its reasons are reported the usual way.
    LoadedFiles files;
    if (g_preload && g_preload->tier == tier && g_preload->folder == folderPath) {
        if (g_preload->worker.joinable())
            g_preload->worker.join();
        if (g_preload->files.front)
            files = g_preload->files;
    }
    if (!files.front) {
        discardPreload();
        files = loadFiles(folderPath, tier);
    }
    if (!files.front) {
        setDiagnostic(QStringLiteral("LoadLibrary ERROR Value is %1").arg(files.errorCode));
        // The user gets the file in a few words; the loader's own reason goes to the log.
        qWarning("media library: %s", qPrintable(files.errorString));
        g_loadProblem = Problem::LoadFailed;
        g_problemFile = QDir(MediaLibraryBaseFolder()).relativeFilePath(frontPath);
        return false;
    }

    lib.module = files.front;
    lib.coreModule = files.core;
    lib.loadedTier = tier;
    lib.slots = files.slots;
    const QStringList missing = missingRequiredEntries();
    g_loadProblem = missing.isEmpty() ? Problem::None : Problem::MissingEntries;
    g_problemFile = QDir::toNativeSeparators(frontPath);
    g_problemEntries = missing.join(QLatin1String(", "));
    return true;
}

bool UnloadMediaLibrary()
{
    // An early start nobody took is given up first; it may have loaded files of another tier.
    discardPreload();
    MediaLibraryEntries& lib = mediaLibrary();
    if (!lib.module)
        return true;
    errno = 0;
    if (!lib.module->unload()) {
        const int code = errno != 0 ? errno : EINVAL;
        setDiagnostic(QStringLiteral("FreeLibrary ERROR Value is %1").arg(code));
        return false;
    }
    delete lib.module;
    lib.module = nullptr;
    if (lib.coreModule) {
        lib.coreModule->unload();
        delete lib.coreModule;
        lib.coreModule = nullptr;
    }
    lib.slots.fill(nullptr);
    lib.loadedTier = -1;
    g_loadProblem = Problem::None;
    g_createProblem = Problem::None;
    return true;
}

QList<QByteArray> BuildMediaOptions(const SettingsStore& store)
{
    const QString key = QString::fromLatin1(SettingsStore::kViewerKey);
    int32_t postproc = 0, noise = 0, resampling = 0;
    const bool all = store.ReadRegistryNumber(key, QStringLiteral("ViewerPostproc"), postproc)
        && store.ReadRegistryNumber(key, QStringLiteral("ViewerModNoise"), noise)
        && store.ReadRegistryNumber(key, QStringLiteral("ViewerHgResampling"), resampling);
    if (!all)
        return { "--postproc-q=0", "--no-mod-noisereduction", "--no-hq-resampling" };
    QByteArray level = "--postproc-q=0";
    if (postproc == 1 || postproc == 3 || postproc == 6)
        level = "--postproc-q=" + QByteArray::number(postproc);
    return { level, noise == 1 ? "--mod-noisereduction" : "--no-mod-noisereduction",
        resampling == 1 ? "--hq-resampling" : "--no-hq-resampling" };
}

QByteArray ResamplingOption(const QByteArray& switchArgument)
{
    // This build names its high-quality audio resampler by quality level (0 quick … 4 very high); "2" is the
    // library's own standard level.
    return switchArgument == "--hq-resampling" ? QByteArray("--soxr-resampler-quality=4")
                                               : QByteArray("--soxr-resampler-quality=2");
}

MediaOptionSet ChooseMediaOptionSet(int tier)
{
    if (tier == int(ViewerTier::High))
        return MediaOptionSet::High;
    // The legacy list was for the major version 5 of the other system's kernel; this one never reports it.
    return MediaOptionSet::Standard;
}

QList<QByteArray> MediaOptionList(MediaOptionSet set, const QList<QByteArray>& buildOptions)
{
    // Options the installed library does not know make libvlc_new fail, so the lists hold only what it
    // knows. The other system's video outputs sat right after "-I", where they were read as the interface
    // name; here the interface is named ("dummy") and the output is chosen by the video callbacks. The
    // Qt and skins interfaces, spectrum and visualisation modules, "--high-priority" and the Direct3D and
    // waveOut options are not part of this build; the "ffmpeg" options are named "avcodec" in it, and the
    // boolean "=0" forms are written "--no-…"; "--plugin-path" and "--no-hq-resampling" no longer exist.
    static const QList<QByteArray> commonTail = {
        "--no-autoscale",
        "--no-ball-edge-visible",
        "--no-canvas-padd",
        "--no-dvdnav-menu",
        "--no-gradient-cartoon",
        "--no-hdtv-fix",
        "--no-http-forward-cookies",
        "--no-input-record-native",
        "--no-interact",
        "--no-kate-formatted",
        "--no-mkv-preload-local-dir",
        "--no-mkv-use-chapter-codec",
        "--no-mkv-use-ordered-chapters",
        "--no-mod-noisereduction",
        "--no-osd",
        "--no-playlist-autostart",
        "--no-rss-images",
        "--no-sap-parse",
        "--no-sout-bridge-in-placeholder-switch-on-iframe",
        "--no-sout-avcodec-interlace-me",
        "--no-sout-mono-downmix",
        "--no-sout-ts-alignment",
        "--no-sout-ts-crypt-audio",
        "--no-sout-ts-crypt-video",
        "--no-sout-x264-cabac",
        "--no-sout-x264-mbtree",
        "--no-sout-x264-nf",
        "--no-sout-x264-psy",
        "--no-spu",
        "--no-sub-autodetect-file",
        "--no-subsdec-autodetect-utf8",
        "--no-subsdec-formatted",
        "--no-ts-es-id-pid",
        "--no-ts-split-es",
        "--no-vbi-opaque",
        "--no-video-deco",
        "--no-video-title-show",
        "--rawdv-hurry-up",
        "--rmtosd-update=300",
        "--sout-avcodec-hurry-up",
        "--sout-speex-quality=0",
        "--sout-transcode-high-priority",
        "--sout-x264-asm",
        "--sout-x264-nf",
    };
    QList<QByteArray> list;
    switch (set) {
    case MediaOptionSet::High:
        list = { "-I", "dummy", "--no-autoscale", "--no-canvas-padd", "--no-video-title-show", "--file-caching=2000" };
        // The post-processing level, the noise reduction switch and the audio resampling quality.
        list += buildOptions.mid(0, 2);
        list += ResamplingOption(buildOptions.value(2));
        return list;
    case MediaOptionSet::Standard:
        list = { "-I", "dummy", "--ignore-config", "--postproc-q=0", "--avcodec-skiploopfilter=0",
            "--file-caching=2000", "--no-video-title-show", "--no-media-library", "--no-stats", "--no-spu", "--no-osd",
            "--text-renderer=dummy", "--no-sub-autodetect-file" };
        break;
    case MediaOptionSet::Legacy:
        list = { "-I", "dummy", "--ignore-config", "--imem-id=1", "--imem-get= %ld", "--imem-release= %ld",
            "--imem-data=0", "--postproc-q=0", "--avcodec-skiploopfilter=0", "--file-caching=2000",
            "--no-video-title-show" };
        break;
    }
    list += commonTail;
    return list;
}

bool CreateMediaPlayer(PlayerContext& context, const SettingsStore& store)
{
    context.clearHandles();
    const QList<QByteArray> buildOptions = BuildMediaOptions(store);

    const MediaLibraryEntries& lib = mediaLibrary();
    if (!lib.module || !missingRequiredEntries().isEmpty())
        return false;

    const QList<QByteArray> options = MediaOptionList(ChooseMediaOptionSet(lib.loadedTier), buildOptions);
    // The instance and player an early start made with the same options, from the library in the table, are
    // taken as they are; any other is released.
    if (g_preload) {
        if (g_preload->worker.joinable())
            g_preload->worker.join();
        if (g_preload->eventManager && g_preload->files.front == lib.module && g_preload->options == options) {
            context.m_instance = g_preload->instance;
            context.m_player = g_preload->player;
            context.m_eventManager = g_preload->eventManager;
            g_preload->instance = nullptr;
            g_preload->player = nullptr;
            g_preload->eventManager = nullptr;
            discardPreload();
            g_createProblem = Problem::None;
            return true;
        }
        discardPreload();
    }
    std::vector<const char*> argv;
    argv.reserve(size_t(options.size()));
    for (const QByteArray& option : options)
        argv.push_back(option.constData());

    context.m_instance = lib.get<mediafn::New>(MediaEntry::New)(int(argv.size()), argv.data());
    if (!context.m_instance) {
        g_createProblem = Problem::InstanceFailed;
        return false;
    }
    // What was made before a failing step is released again, so a failed creation leaves nothing behind.
    const auto releaseInstance = [&] {
        if (auto release = lib.get<mediafn::Release>(MediaEntry::Release))
            release(context.m_instance);
        context.m_instance = nullptr;
    };
    context.m_player = lib.get<mediafn::PlayerNew>(MediaEntry::PlayerNew)(context.m_instance);
    if (!context.m_player) {
        releaseInstance();
        g_createProblem = Problem::PlayerFailed;
        return false;
    }
    context.m_eventManager = lib.get<mediafn::PlayerEventManager>(MediaEntry::PlayerEventManager)(context.m_player);
    if (!context.m_eventManager) {
        if (auto release = lib.get<mediafn::PlayerAction>(MediaEntry::PlayerRelease))
            release(context.m_player);
        context.m_player = nullptr;
        releaseInstance();
        g_createProblem = Problem::EventsFailed;
        return false;
    }
    g_createProblem = Problem::None;
    return true;
}

bool CreateMediaPlayer(PlayerContext& context)
{
    return CreateMediaPlayer(context, SettingsStore::user());
}

QString MediaLibraryDiagnostic()
{
    return g_diagnostic;
}

QString MediaLibraryProblem()
{
    if (g_loadProblem != Problem::None)
        return problemText(g_loadProblem);
    if (!mediaLibrary().module)
        return reasonText(kStrReasonNotLoaded, "%1 is not loaded")
            .arg(QDir::toNativeSeparators(QDir(currentTierFolder()).filePath(QLatin1String(kFrontLibraryFile))));
    return problemText(g_createProblem);
}

QString TakeMediaLibraryNotice()
{
    if (g_noticeTaken)
        return QString();
    const QString problem = MediaLibraryProblem();
    if (!problem.isEmpty())
        g_noticeTaken = true;
    return problem;
}
