#include "app/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The build passes the install folders relative to the executables' folder; a build that installs nothing
// still compiles with the usual layout.
#ifndef KORVANE_REL_DATADIR
#define KORVANE_REL_DATADIR "../share/korvane-player"
#endif
#ifndef KORVANE_REL_LIBDIR
#define KORVANE_REL_LIBDIR "../lib/korvane-player"
#endif
#ifndef KORVANE_REL_HELPERDIR
#define KORVANE_REL_HELPERDIR "../libexec/korvane-player"
#endif

namespace installlayout {

QString RelativeToExecutables(Folder kind)
{
    switch (kind) {
    case Folder::Data:
        return QStringLiteral(KORVANE_REL_DATADIR);
    case Folder::Library:
        return QStringLiteral(KORVANE_REL_LIBDIR);
    case Folder::Helper:
        return QStringLiteral(KORVANE_REL_HELPERDIR);
    }
    return QString();
}

QString Resolve(Folder kind, const QString& executableFolder)
{
    if (executableFolder.isEmpty())
        return executableFolder;
    const QString installed = QDir::cleanPath(QDir(executableFolder).filePath(RelativeToExecutables(kind)));
    if (QFileInfo(installed).isDir())
        return installed;
    return executableFolder;
}

namespace {

QString executableFolder()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

} // namespace

QString DataFolder()
{
    return Resolve(Folder::Data, executableFolder());
}

QString LibraryFolder()
{
    return Resolve(Folder::Library, executableFolder());
}

QString HelperFolder()
{
    return Resolve(Folder::Helper, executableFolder());
}

} // namespace installlayout
