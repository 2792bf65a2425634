#pragma once

#include "skin/CSkinControl.h"

#include <QPixmap>

// Image push button: a strip of three equal states (normal, hover, pressed), optionally the common
// button background 3100 with a centred overlay image. A click posts code 1 with the control ID.
class CSkinButton : public CSkinControl
{
    Q_OBJECT
public:
    enum State { Normal = 0, Hover = 1, Pressed = 2 };

    static constexpr int kCommonBackground = 3100;

    explicit CSkinButton(QWidget* parent = nullptr, int controlId = 0);

    // The strip of that image, no overlay.
    void setImage(int imageId);
    // Strip 3100 as background, the image as a centred overlay.
    void setImageWithOverlay(int imageId);
    // Switches the overlay image and repaints.
    void changeOverlay(int imageId);
    // Images not taken from the skin module (generated faces, tests).
    void setStrip(const QPixmap& strip, const QPixmap& overlay = QPixmap());

    int state() const { return m_state; }
    bool hasOverlay() const { return m_overlayOn; }
    int imageId() const { return m_imageId; }
    int overlayId() const { return m_overlayId; }
    // Width of one state of the strip.
    int stateWidth() const { return m_strip.width() / 3; }
    QSize stripSize() const { return m_strip.size(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setState(int state);

    int m_state = Normal;
    int m_imageId = 0;
    QPixmap m_strip;
    int m_overlayId = 0;
    QPixmap m_overlay;
    bool m_overlayOn = false;
    bool m_pressed = false;
};
