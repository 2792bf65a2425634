#pragma once

#include <QString>

// Where the programs find their own files. An installed tree keeps the executables in <prefix>/bin, the skin
// modules in <prefix>/share/korvane-player, the media library folders in <prefix>/lib/korvane-player and the
// formatter helper in <prefix>/libexec/korvane-player; the build tree keeps all of them beside the executables.
// Each folder is found from the running executable's folder, so an installed copy works from any prefix and
// a build tree works with nothing installed.
namespace installlayout {

enum class Folder { Data, Library, Helper };

// The folder of `kind` for an executable in `executableFolder`: the installed folder when it exists, else
// `executableFolder` itself.
QString Resolve(Folder kind, const QString& executableFolder);

// The installed folder of `kind` relative to the executables' folder (e.g. "../share/korvane-player").
QString RelativeToExecutables(Folder kind);

// Resolve() for the running executable.
QString DataFolder();
QString LibraryFolder();
QString HelperFolder();

} // namespace installlayout
