#pragma once

#include "playback/PlayerContext.h"
#include "skin/CDlgFrame.h"

class CPlayWnd;

// The viewer's main window. It owns the one media player and its video surface.
class CKorvanePCPlayerDlg : public CDlgFrame
{
    Q_OBJECT
public:
    explicit CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent = nullptr);
    ~CKorvanePCPlayerDlg() override;

    // Loads the media library and creates the player; when playback cannot work the user is told once
    // what is missing and the rest of the window stays usable.
    void StartMediaPlayer();

    PlayerContext& player() { return m_player; }
    CPlayWnd* playWnd() const { return m_playWnd; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_folderArgument;
    PlayerContext m_player;
    CPlayWnd* m_playWnd = nullptr;
};
