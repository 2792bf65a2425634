#pragma once

#include "playback/MediaLibraryEntries.h"

#include <QByteArray>
#include <QList>
#include <QString>

class PlayerContext;
class SettingsStore;

// File names of the media library inside Library/RDPE and Library/RDSE. The core library carries the soname
// the front library asks for, so loading it first from the same folder makes the front library use it.
inline constexpr const char* kFrontLibraryFile = "libvlc.so";
inline constexpr const char* kCoreLibraryFile = "libvlccore.so";

// Folder the library folders live in: the executable's folder unless a test has named another one.
QString MediaLibraryBaseFolder();
void SetMediaLibraryBaseFolder(const QString& folder);

// "<base>/Library/RDPE" for High, "<base>/Library/RDSE" for Mid and Low.
QString LibraryFolder(int tier);

struct LibraryCopy
{
    QString source;
    QString target;
};

// The copies InstallLibraryVariant makes for a tier, in the order it makes them (core first); none for High.
QList<LibraryCopy> LibraryVariantCopies(int tier);

// Puts the tier's build in place in the RDSE folder. Each copy goes to a temporary file that then replaces
// the target, so a failed copy leaves the previously installed build loadable.
void InstallLibraryVariant(int tier);

// Loads the library of the current viewer tier by full path and fills the entry table. Idempotent. The
// process's current directory is never touched.
bool LoadMediaLibrary();

// Starts loading the library of `tier` and creating the instance and the player with the libvlc_new
// arguments `options` on a worker thread, so that the work overlaps the building of the window. The start-up
// sequence's LoadMediaLibrary and CreateMediaPlayer wait for it and take what it made when they ask for the
// same tier and the same arguments; anything else it made is released and they do their usual work. A
// second call, or a call with the library already loaded, does nothing.
void PreloadMediaLibrary(int tier, const QList<QByteArray>& options);

// Unloads the library and empties the table; the table stays as it was when unloading fails.
bool UnloadMediaLibrary();

// The three arguments of the High list chosen by ViewerPostproc, ViewerModNoise and ViewerHgResampling.
QList<QByteArray> BuildMediaOptions(const SettingsStore& store);

enum class MediaOptionSet { High, Standard, Legacy };

// High for the High tier; for Mid and Low the legacy list only on a system whose major version is 5 (an
// old Windows), so always the standard list here.
MediaOptionSet ChooseMediaOptionSet(int tier);

// The library's own argument for BuildMediaOptions' resampling switch ("--hq-resampling" or
// "--no-hq-resampling"): this build sets its audio resampler's quality instead.
QByteArray ResamplingOption(const QByteArray& switchArgument);

// The argument vector for libvlc_new. `buildOptions` are BuildMediaOptions' three arguments (High only).
QList<QByteArray> MediaOptionList(MediaOptionSet set, const QList<QByteArray>& buildOptions);

// Creates the library instance and the one media player into the context. Fails without calling anything
// when the library is not loaded or lacks an entry the viewer needs.
bool CreateMediaPlayer(PlayerContext& context, const SettingsStore& store);
bool CreateMediaPlayer(PlayerContext& context);

// The last loader diagnostic ("LoadLibrary ERROR Value is %d", "FreeLibrary ERROR Value is %d"); formatted,
// never shown.
QString MediaLibraryDiagnostic();

// What keeps playback from working, in words a user can pass on (the library file, the missing entry names,
// or the failed creation), in the installed string table's language; empty when playback works.
QString MediaLibraryProblem();

// MediaLibraryProblem() the first time it is non-empty, then empty: the user is told once.
QString TakeMediaLibraryNotice();

// String id of the message that tells the user playback is disabled; its %1 takes TakeMediaLibraryNotice().
inline constexpr int kStrPlaybackUnavailable = 910;
// The reasons that go into it.
inline constexpr int kStrReasonNotLoadable = 930; // "%1 could not be loaded"
inline constexpr int kStrReasonMissingEntries = 931; // "%1 lacks %2"
inline constexpr int kStrReasonNotLoaded = 932; // "%1 is not loaded"
inline constexpr int kStrReasonInstanceFailed = 933;
inline constexpr int kStrReasonPlayerFailed = 934;
inline constexpr int kStrReasonEventsFailed = 935;
