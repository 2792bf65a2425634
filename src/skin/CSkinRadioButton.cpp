#include "skin/CSkinRadioButton.h"

#include "app/NotifyEvent.h"
#include "skin/SkinModule.h"

#include <QMouseEvent>
#include <QPainter>

CSkinRadioButton::CSkinRadioButton(QWidget* parent, int controlId)
    : CSkinControl(parent, controlId)
{
}

void CSkinRadioButton::setImage(int imageId)
{
    m_mode = 1;
    m_image = SkinModule::image(imageId);
    update();
}

void CSkinRadioButton::setPixmap(const QPixmap& twoHalves)
{
    m_mode = 1;
    m_image = twoHalves;
    update();
}

void CSkinRadioButton::setImages(int checkedImageId, int uncheckedImageId)
{
    m_mode = 2;
    m_checkedImage = SkinModule::image(checkedImageId);
    m_uncheckedImage = SkinModule::image(uncheckedImageId);
    update();
}

void CSkinRadioButton::setChecked(bool checked)
{
    if (m_checked == checked)
        return;
    m_checked = checked;
    update();
}

void CSkinRadioButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_mode == 1) {
        if (m_image.isNull())
            return;
        const int half = m_image.width() / 2;
        p.drawPixmap(rect(), m_image, QRect(m_checked ? 0 : half, 0, half, m_image.height()));
    } else {
        const QPixmap& img = m_checked ? m_checkedImage : m_uncheckedImage;
        if (!img.isNull())
            p.drawPixmap(rect(), img);
    }
}

void CSkinRadioButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_checked = true;
    notify(NotifyEvent::SkinRadioButton, controlId());
    repaint();
}
