#include "platform/DirectoryListing.h"

#include <QFile>

#include <dirent.h>

DirectoryListing::DirectoryListing(const QString& folder)
{
    m_handle = ::opendir(QFile::encodeName(folder).constData());
}

DirectoryListing::~DirectoryListing()
{
    if (m_handle)
        ::closedir(static_cast<DIR*>(m_handle));
}

std::string_view DirectoryListing::next()
{
    if (!m_handle)
        return {};
    while (const dirent* entry = ::readdir(static_cast<DIR*>(m_handle))) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            return name;
    }
    return {};
}
