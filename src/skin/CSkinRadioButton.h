#pragma once

#include "skin/CSkinControl.h"

#include <QPixmap>

// Image radio or check button. A click checks it and posts code 2 with the control ID; it never unchecks
// itself, the owner clears the other members of a group (or toggles a check box).
class CSkinRadioButton : public CSkinControl
{
    Q_OBJECT
public:
    explicit CSkinRadioButton(QWidget* parent = nullptr, int controlId = 0);

    // Mode 1: one image, checked state in its left half, unchecked in its right half.
    void setImage(int imageId);
    // Mode 2: separate checked and unchecked images.
    void setImages(int checkedImageId, int uncheckedImageId);
    // Mode 1 with an image not taken from the skin module.
    void setPixmap(const QPixmap& twoHalves);

    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);
    int mode() const { return m_mode; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_checked = false;
    int m_mode = 1;
    QPixmap m_image;
    QPixmap m_checkedImage;
    QPixmap m_uncheckedImage;
};
