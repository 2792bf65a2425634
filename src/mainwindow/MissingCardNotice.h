#pragma once

// Whether opening a recording should tell the user that its card or folder has gone. A card pulled while
// playing leaves the list in place; the next open finds the folder missing and the user hears of it once.
// Further opens while the folder stays missing say nothing more (every Page Down would otherwise raise
// another box); an open that finds its folder again re-arms the notice for the next time it goes.
class MissingCardNotice
{
public:
    // The string shown: "The SD card or folder is no longer available."
    static constexpr int kStringId = 1320;

    // Called for every open with whether the recording's folder exists; true when the user is to be told.
    bool opened(bool folderAvailable)
    {
        if (folderAvailable) {
            m_told = false;
            return false;
        }
        if (m_told)
            return false;
        m_told = true;
        return true;
    }

private:
    bool m_told = false;
};
