#include "mainwindow/CKorvanePCPlayerDlg.h"

#include "app/ViewerEnvironment.h"
#include "skin/SkinModule.h"

#include <QPainter>

CKorvanePCPlayerDlg::CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent)
    : QDialog(parent)
    , m_folderArgument(folderArgument)
{
    setWindowTitle(QStringLiteral("Korvane PC Player"));
    setMinimumSize(1024, 700);
    resize(1180, 760);
}

void CKorvanePCPlayerDlg::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0x16, 0x19, 0x1e));
    // Until the layout places the video area, the window shows its caption and the skin's frame.
    const QPixmap caption = SkinModule::image(3004);
    if (!caption.isNull())
        p.drawTiledPixmap(QRect(0, 0, width(), caption.height()), caption);
    p.setPen(QColor(0xd8, 0xdc, 0xe2));
    p.drawText(QRect(16, 0, width() - 32, caption.isNull() ? 32 : caption.height()), Qt::AlignVCenter,
               viewerEnvironment().tierLabel + QStringLiteral(" Korvane PC Player"));
    p.fillRect(QRect(16, 60, width() * 2 / 3, height() * 2 / 3), Qt::black);
}
