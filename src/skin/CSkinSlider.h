#pragma once

#include "skin/CSkinControl.h"

#include <QPixmap>

// Image slider: a track, a fill drawn up to the value, or a thumb. The mouse sets the value and posts
// code 5: without a thumb the new value itself, with a thumb the address of the slider's record.
class CSkinSlider : public CSkinControl
{
    Q_OBJECT
public:
    // What a slider with a thumb hands to its owner; it lives as long as the slider.
    struct Record
    {
        int value = 0;
        int controlId = 0;
    };

    explicit CSkinSlider(QWidget* parent = nullptr, int controlId = 0);

    void setTrackImage(int imageId);
    void setFillImage(int imageId);
    // 0 removes the thumb.
    void setThumbImage(int imageId);
    // Images not taken from the skin module.
    void setPixmaps(const QPixmap& track, const QPixmap& fill, const QPixmap& thumb = QPixmap());
    void setRange(int minimum, int maximum);
    void setMargin(int margin);
    void setSliderEnabled(bool enabled);

    // Rejected (nothing changes) above the maximum, below the minimum or while disabled.
    bool setPosition(int value);

    int value() const { return m_value; }
    double ratio() const { return m_ratio; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    bool isSliderEnabled() const { return m_enabled; }
    bool hasThumb() const { return !m_thumb.isNull(); }
    int thumbX() const { return m_thumbX; }
    double stepWidth() const { return m_stepWidth; }
    bool isDragging() const { return m_dragging; }
    const Record& record() const { return m_record; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateThumbX();
    void setFromMouse(int x);

    bool m_enabled = true;
    QPixmap m_track;
    QPixmap m_fill;
    QPixmap m_thumb;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
    double m_ratio = 0.0;
    int m_margin = 0;
    double m_stepWidth = 0.0;
    int m_thumbX = 0;
    bool m_dragging = false;
    Record m_record;
};
