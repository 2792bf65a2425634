#include "mainwindow/CKorvanePCPlayerDlg.h"

#include "app/StringTables.h"
#include "playback/CPlayWnd.h"
#include "playback/MediaLibrary.h"
#include "skin/CDlgMessage.h"

#include <QResizeEvent>

CKorvanePCPlayerDlg::CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent)
    : CDlgFrame(0, parent)
    , m_folderArgument(folderArgument)
{
    // The title doubles as the single-instance lookup name of the window.
    setWindowTitle(QStringLiteral("Korvane PC Player"));
    setTitle(QStringLiteral("Korvane PC Player"));
    setTitleVisible(true);
    m_playWnd = new CPlayWnd(client());
    setClientSize(QSize(1180, 720));
}

CKorvanePCPlayerDlg::~CKorvanePCPlayerDlg()
{
    // The surface receives the player's frames: release the player while the surface still exists.
    m_player.CloseMedia();
}

void CKorvanePCPlayerDlg::StartMediaPlayer()
{
    if (LoadMediaLibrary() && CreateMediaPlayer(m_player)) {
        m_player.setMainWindow(this);
        m_playWnd->attachPlayer(m_player);
    }
    const QString notice = TakeMediaLibraryNotice();
    if (!notice.isEmpty())
        CDlgMessage::ask(0, StringById(kStrPlaybackUnavailable).arg(notice), QString(), this);
}

void CKorvanePCPlayerDlg::resizeEvent(QResizeEvent* event)
{
    CDlgFrame::resizeEvent(event);
    // Until the full layout places the graph, list and buttons, the video area takes the left two thirds.
    const QRect area = client()->rect();
    m_playWnd->setGeometry(area.adjusted(10, 10, -area.width() / 3, -area.height() / 4));
}
