#pragma once

#include <QString>

#include <memory>
#include <string_view>

// The names in one folder, one level deep, in the order the file system returns them. Nothing is looked up
// per entry (no status call, no path built): a card's root holds tens of thousands of files, and telling a
// recording from the rest needs only its name.
class DirectoryListing
{
public:
    explicit DirectoryListing(const QString& folder);
    ~DirectoryListing();
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    bool isOpen() const { return m_state != nullptr; }
    // The next name in the file system's encoding, "." and ".." left out; an empty view at the end or when
    // the folder cannot be read further. The view lasts until the next call.
    std::string_view next();

private:
    struct State;
    std::unique_ptr<State> m_state;
};
