#include "mainwindow/CKorvanePCPlayerDlg.h"

#include <QPainter>

CKorvanePCPlayerDlg::CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent)
    : CDlgFrame(0, parent)
    , m_folderArgument(folderArgument)
{
    // The title doubles as the single-instance lookup name of the window.
    setWindowTitle(QStringLiteral("Korvane PC Player"));
    setTitle(QStringLiteral("Korvane PC Player"));
    setTitleVisible(true);
    setClientSize(QSize(1180, 720));
}

void CKorvanePCPlayerDlg::paintClient(QPainter& painter)
{
    // Until the layout places the video area and its controls, the client shows the empty video area.
    const QRect client = this->client()->rect();
    painter.fillRect(client.adjusted(10, 10, -client.width() / 3, -client.height() / 4), Qt::black);
}
