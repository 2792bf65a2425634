#pragma once

#include "skin/CDlgFrame.h"

class CSkinButton;
class CSkinSlider;
class PictureAdjustment;

// The brightness and contrast dialog (template 106, 300 × 190): two skin sliders 0 … 6 that change the
// picture while they move, OK (1) and Cancel (2). Cancel, Escape and closing the window put back the
// quantised starting values. Run it with exec(); PlayerController::AdjustPicture() does, through its host.
class CDlgAdjustment : public CDlgFrame
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 106;
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 190;
    static constexpr int kContrastSliderId = 1013;
    static constexpr int kBrightnessSliderId = 1012;
    static constexpr int kOkImage = 3124;
    static constexpr int kCancelImage = 3125;
    static constexpr int kTrackImage = 3202;
    static constexpr int kThumbImage = 3203;
    static constexpr int kStrBrightness = 231;
    static constexpr int kStrContrast = 232;

    // `countryCode` places the sliders (x 60 for Korea, 80 elsewhere, room for the captions).
    CDlgAdjustment(PictureAdjustment& adjustment, int countryCode, QWidget* parent = nullptr);

    CSkinSlider* contrastSlider() const { return m_contrast; }
    CSkinSlider* brightnessSlider() const { return m_brightness; }
    CSkinButton* okButton() const { return m_ok; }
    CSkinButton* cancelButton() const { return m_cancel; }

    // Runs the dialog modally and returns its result (1 OK, 2 Cancel): what a PlayerControllerHost's
    // runAdjustmentDialog does.
    static int Run(PictureAdjustment& adjustment, int countryCode, QWidget* parent);

    // Slider x for a country.
    static int SliderX(int countryCode);

    void reject() override;

protected:
    void paintClient(QPainter& painter) override;
    void customEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PictureAdjustment& m_adjustment;
    int m_sliderX;
    CSkinSlider* m_contrast = nullptr;
    CSkinSlider* m_brightness = nullptr;
    CSkinButton* m_ok = nullptr;
    CSkinButton* m_cancel = nullptr;
};
