#include "skin/CProgress.h"

#include "skin/SkinFont.h"
#include "skin/SliderMath.h"

#include <QPainter>
#include <QPixmap>

namespace {
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
} // namespace

CProgress::CProgress(QWidget* parent)
    : QWidget(parent)
{
    m_font = SkinFont(15);
}

void CProgress::setValue(int value)
{
    m_value = qBound(m_minimum, value, m_maximum);
    m_fillWidth = slidermath::progressFillWidth(m_value, m_maximum, width());
    update();
}

void CProgress::setLabel(const QString& label)
{
    m_label = label;
    update();
}

void CProgress::resizeEvent(QResizeEvent*)
{
    m_fillWidth = slidermath::progressFillWidth(m_value, m_maximum, width());
}

void CProgress::paintEvent(QPaintEvent*)
{
    const qreal dpr = devicePixelRatioF();
    auto layer = [&](const QColor& background, const QColor& text) {
        QPixmap pix(size() * dpr);
        pix.setDevicePixelRatio(dpr);
        pix.fill(background);
        QPainter p(&pix);
        p.setFont(m_font);
        p.setPen(text);
        p.drawText(QRect(QPoint(0, 0), size()), Qt::AlignCenter | Qt::TextSingleLine, m_label);
        return pix;
    };
    QPixmap empty = layer(kWhite, kRed);
    const QPixmap filled = layer(kRed, kWhite);
    if (m_fillWidth > 0) {
        QPainter p(&empty);
        p.drawPixmap(QRect(0, 0, m_fillWidth, height()), filled, QRect(0, 0, m_fillWidth * dpr, height() * dpr));
    }
    QPainter p(this);
    p.drawPixmap(0, 0, empty);
}
