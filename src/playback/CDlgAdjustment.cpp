#include "playback/CDlgAdjustment.h"

#include "app/NotifyEvent.h"
#include "app/StringTables.h"
#include "playback/PictureAdjustment.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinFont.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace {

constexpr int kSliderWidth = 200;
constexpr int kSliderHeight = 30;
constexpr int kContrastY = 15;
constexpr int kBrightnessY = 60;
// The thumb stops half its width inside the track's ends.
constexpr int kSliderMargin = 7;
const QColor kTextColour(200, 200, 200);

} // namespace

int CDlgAdjustment::SliderX(int countryCode)
{
    return countryCode == 82 ? 60 : 80;
}

CDlgAdjustment::CDlgAdjustment(PictureAdjustment& adjustment, int countryCode, QWidget* parent)
    : CDlgFrame(kTemplateId, parent)
    , m_adjustment(adjustment)
    , m_sliderX(SliderX(countryCode))
{
    setModal(true);
    setCaptionButtons(false);
    setTitleVisible(false);
    setFixedSize(kWidth, kHeight);
    client()->setGeometry(rect().marginsRemoved(frameMargins()));

    auto makeSlider = [&](int id, int y, int position) {
        auto* slider = new CSkinSlider(client(), id);
        slider->setTrackImage(kTrackImage);
        slider->setThumbImage(kThumbImage);
        slider->setMargin(kSliderMargin);
        slider->setGeometry(m_sliderX, y, kSliderWidth, kSliderHeight);
        slider->setRange(PictureAdjustment::kMinPosition, PictureAdjustment::kMaxPosition);
        slider->setPosition(position);
        return slider;
    };
    m_contrast = makeSlider(kContrastSliderId, kContrastY, adjustment.initialContrastPosition());
    m_brightness = makeSlider(kBrightnessSliderId, kBrightnessY, adjustment.initialBrightnessPosition());

    m_ok = new CSkinButton(client(), 1);
    m_ok->setImage(kOkImage);
    m_ok->setGeometry(74, 110, 64, 29);
    m_cancel = new CSkinButton(client(), 2);
    m_cancel->setImage(kCancelImage);
    m_cancel->setGeometry(158, 110, 64, 29);
}

int CDlgAdjustment::Run(PictureAdjustment& adjustment, int countryCode, QWidget* parent)
{
    CDlgAdjustment dlg(adjustment, countryCode, parent);
    return dlg.exec();
}

void CDlgAdjustment::paintClient(QPainter& p)
{
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(kTextColour);
    const int right = m_sliderX - 6;
    const auto caption = [&](int y, const QString& text) {
        // 15 pixels as designed; a longer caption (the Japanese "contrast") gets a smaller font rather
        // than being cut at the dialog's edge.
        QFont font = SkinFont(15);
        for (int cell = 14; cell >= 10 && QFontMetrics(font).horizontalAdvance(text) > right - 4; --cell)
            font = SkinFont(cell);
        p.setFont(font);
        p.drawText(QRect(4, y, right - 4, kSliderHeight), Qt::AlignRight | Qt::AlignVCenter, text);
    };
    caption(kContrastY, StringById(kStrContrast));
    caption(kBrightnessY, StringById(kStrBrightness));
}

void CDlgAdjustment::customEvent(QEvent* event)
{
    if (event->type() != NotifyEvent::eventType()) {
        CDlgFrame::customEvent(event);
        return;
    }
    const auto* notify = static_cast<NotifyEvent*>(event);
    if (notify->code() == NotifyEvent::SkinButton) {
        if (notify->param() == 1)
            done(1);
        else if (notify->param() == 2)
            reject();
        return;
    }
    if (notify->code() == NotifyEvent::VolumeSlider) {
        // A slider with a thumb posts its record: the value and which slider.
        const auto* record = reinterpret_cast<const CSkinSlider::Record*>(notify->param());
        if (!record)
            return;
        if (record->controlId == kBrightnessSliderId && record == &m_brightness->record())
            m_adjustment.setBrightnessPosition(record->value);
        else if (record->controlId == kContrastSliderId && record == &m_contrast->record())
            m_adjustment.setContrastPosition(record->value);
    }
}

void CDlgAdjustment::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        done(1);
        return;
    default:
        CDlgFrame::keyPressEvent(event);
    }
}

void CDlgAdjustment::reject()
{
    // Cancel, Escape and closing the window all undo the preview.
    m_adjustment.restore();
    done(2);
}
