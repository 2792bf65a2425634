#pragma once

#include "skin/CSkinControl.h"

#include <QPixmap>

// Stepped option slider (steps 0 to 10) with one thumb or two thumbs that never cross or meet. The mouse
// posts code 6 with the address of the slider's record.
class CSliderOption : public CSkinControl
{
    Q_OBJECT
public:
    static constexpr int kThumbImage = 3203;

    // What the owner reads after a notification; it lives as long as the slider.
    struct Record
    {
        int first = 0;
        int second = 0;
        int singleThumb = 1;
        int controlId = 0;
    };

    enum Grab { GrabFirst = 0, GrabSecond = 1, GrabNone = 2 };

    explicit CSliderOption(QWidget* parent = nullptr, int controlId = 0);

    void setTrackImage(int imageId);
    // Images not taken from the skin module.
    void setPixmaps(const QPixmap& track, const QPixmap& thumb);
    // First thumb at step a / 10; with two thumbs the second at step (a + b) / 10.
    void setPosition(int firstPercent, int secondPercent, bool twoThumbs);

    int firstStep() const { return m_first; }
    int secondStep() const { return m_second; }
    bool isTwoThumb() const { return m_twoThumbs; }
    int grabbed() const { return m_grabbed; }
    int firstThumbX() const;
    int secondThumbX() const;
    double stepWidth() const;
    const Record& record() const { return m_record; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void post(bool single);

    QPixmap m_track;
    QPixmap m_thumb;
    bool m_twoThumbs = false;
    int m_first = 0;
    int m_second = 10;
    int m_grabbed = GrabNone;
    bool m_dragging = false;
    Record m_record;
};
