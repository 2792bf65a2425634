#include "SkinTestSupport.h"

#include "skin/CCircleChart.h"
#include "skin/CProgress.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CSliderOption.h"
#include "skin/SkinModule.h"

#include <QEnterEvent>
#include <QtTest>

namespace {

const QColor kNormal(10, 20, 30);
const QColor kHover(40, 50, 60);
const QColor kPressed(70, 80, 90);

void enter(QWidget* w)
{
    QEnterEvent e(QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)), w->mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(w, &e);
}

void leave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

// Delivered straight to the widget, away from the offscreen platform's idea of the cursor.
void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

QColor at(const QImage& img, int x, int y)
{
    return QColor(img.pixel(x, y));
}

} // namespace

class SkinControlsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
    }

    void buttonShowsTheThirdOfItsState()
    {
        NotifyRecorder parent;
        CSkinButton button(&parent, 1013);
        button.setStrip(colourStrip({ kNormal, kHover, kPressed }, 30, 20));
        button.setGeometry(0, 0, 60, 20); // stretched to twice the state width
        parent.show();
        QCOMPARE(at(shot(&button), 30, 10), kNormal);
        enter(&button);
        QCOMPARE(button.state(), int(CSkinButton::Hover));
        QCOMPARE(at(shot(&button), 5, 5), kHover);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.state(), int(CSkinButton::Pressed));
        QCOMPARE(at(shot(&button), 55, 15), kPressed);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.state(), int(CSkinButton::Hover));
        leave(&button);
        QCOMPARE(button.state(), int(CSkinButton::Normal));
        QCoreApplication::processEvents();
        QCOMPARE(parent.notes.size(), 1);
        QCOMPARE(parent.notes.at(0).code, 1);
        QCOMPARE(parent.notes.at(0).param, intptr_t(1013));
    }

    void buttonReleasedOutsideSendsNothing()
    {
        NotifyRecorder parent;
        CSkinButton button(&parent, 1000);
        button.setStrip(colourStrip({ kNormal, kHover, kPressed }, 30, 20));
        button.setGeometry(0, 0, 30, 20);
        parent.resize(200, 100);
        parent.show();
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(button.state(), int(CSkinButton::Pressed));
        sendMouse(&button, QEvent::MouseMove, QPoint(100, 50), Qt::LeftButton);
        sendMouse(&button, QEvent::MouseButtonRelease, QPoint(100, 50), Qt::NoButton);
        QCOMPARE(button.state(), int(CSkinButton::Normal));
        QCoreApplication::processEvents();
        QVERIFY(parent.notes.isEmpty());
        // Released on the edge just outside.
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 5));
        QCoreApplication::processEvents();
        QVERIFY(parent.notes.isEmpty());
    }

    void overlaySitsCentredAndSinksWhenPressed()
    {
        NotifyRecorder parent;
        CSkinButton button(&parent, 1001);
        const QColor mark(250, 10, 10);
        button.setStrip(colourStrip({ kNormal, kHover, kPressed }, 40, 30), solid(mark, 10, 10));
        button.setGeometry(0, 0, 40, 30);
        parent.show();
        // Centred: x 15..24, one pixel lower: y 11..20.
        QImage img = shot(&button);
        QCOMPARE(at(img, 15, 11), mark);
        QCOMPARE(at(img, 15, 10), kNormal);
        QCOMPARE(at(img, 24, 20), mark);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
        img = shot(&button);
        QCOMPARE(at(img, 15, 11), kPressed);
        QCOMPARE(at(img, 16, 11), mark);
        QCOMPARE(at(img, 25, 20), mark);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(2, 2));

        // The module's own overlay mode draws on the common strip 3100.
        CSkinButton skinned(&parent, 1002);
        skinned.setImageWithOverlay(3103);
        QVERIFY(skinned.hasOverlay());
        QCOMPARE(skinned.imageId(), 3100);
        QCOMPARE(skinned.stripSize(), SkinModule::size(3100));
        skinned.changeOverlay(3104);
        QCOMPARE(skinned.overlayId(), 3104);
        skinned.setImage(3126);
        QVERIFY(!skinned.hasOverlay());
    }

    void radioNeverUnchecksItself()
    {
        NotifyRecorder parent;
        CSkinRadioButton radio(&parent, 1022);
        const QColor checked(0, 200, 0), unchecked(90, 90, 90);
        radio.setPixmap(colourStrip({ checked, unchecked }, 8, 8));
        radio.setGeometry(0, 0, 15, 15);
        parent.show();
        QCOMPARE(at(shot(&radio), 7, 7), unchecked);
        QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(7, 7));
        QVERIFY(radio.isChecked());
        QCOMPARE(at(shot(&radio), 7, 7), checked);
        QTest::mouseClick(&radio, Qt::LeftButton, {}, QPoint(7, 7));
        QVERIFY(radio.isChecked());
        QCoreApplication::processEvents();
        QCOMPARE(parent.notes.size(), 2);
        QCOMPARE(parent.notes.at(1).code, 2);
        QCOMPARE(parent.notes.at(1).param, intptr_t(1022));
        radio.setChecked(false);
        QCOMPARE(at(shot(&radio), 7, 7), unchecked);
    }

    void sliderSetPositionRules()
    {
        CSkinSlider slider(nullptr, 1040);
        slider.resize(100, 10);
        slider.setRange(0, 100);
        QVERIFY(slider.setPosition(40));
        QVERIFY(!slider.setPosition(101));
        QCOMPARE(slider.value(), 40);
        QVERIFY(!slider.setPosition(-1));
        slider.setSliderEnabled(false);
        QVERIFY(!slider.setPosition(50));
        QCOMPARE(slider.value(), 40);
    }

    void sliderFillIsRatioOfTheTrack_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("fillWidth");
        QTest::newRow("quarter") << 0 << 100 << 25 << 50;
        QTest::newRow("full") << 0 << 10 << 10 << 200;
        QTest::newRow("offset range") << 10 << 30 << 20 << 100;
        QTest::newRow("empty copy job") << 0 << 0 << 0 << 0;
    }

    void sliderFillIsRatioOfTheTrack()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(int, fillWidth);
        const QColor track(30, 30, 30), fill(0, 160, 255);
        CSkinSlider slider;
        slider.setPixmaps(solid(track, 200, 8), solid(fill, 200, 8));
        slider.resize(200, 8);
        slider.setRange(minimum, maximum);
        QVERIFY(slider.setPosition(value));
        const QImage img = shot(&slider);
        int filled = 0;
        while (filled < img.width() && at(img, filled, 4) == fill)
            ++filled;
        QCOMPARE(filled, fillWidth);
        if (fillWidth < 200)
            QCOMPARE(at(img, 199, 4), track);
        // Disabled: the track only.
        slider.setSliderEnabled(false);
        QCOMPARE(at(shot(&slider), 0, 4), track);
    }

    void sliderMouseWithoutThumbPostsTheValue()
    {
        NotifyRecorder parent;
        CSkinSlider slider(&parent, 1050);
        slider.setPixmaps(solid(Qt::black, 200, 8), solid(Qt::white, 200, 8));
        slider.setGeometry(0, 0, 200, 8);
        slider.setRange(0, 100);
        parent.resize(300, 50);
        parent.show();
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(50, 4));
        QCOMPARE(slider.value(), 25);
        QVERIFY(slider.isDragging());
        QTest::mouseMove(&slider, QPoint(250, 4));
        QCOMPARE(slider.value(), 100);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(250, 4));
        QVERIFY(!slider.isDragging());
        QTest::mouseMove(&slider, QPoint(10, 4));
        QCOMPARE(slider.value(), 100); // no longer dragging
        QCoreApplication::processEvents();
        QCOMPARE(parent.notes.size(), 2);
        QCOMPARE(parent.notes.at(0).code, 5);
        QCOMPARE(parent.notes.at(0).param, intptr_t(25));
        QCOMPARE(parent.notes.at(1).param, intptr_t(100));
    }

    void sliderPostsOnlyChanges()
    {
        NotifyRecorder parent;
        CSkinSlider slider(&parent, 1052);
        slider.setPixmaps(solid(Qt::black, 200, 8), solid(Qt::white, 200, 8));
        slider.setGeometry(0, 0, 200, 8);
        slider.setRange(0, 100);
        parent.show();
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(50, 4));
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(50, 4));
        // A second press on the same place changes nothing and says nothing.
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(50, 4));
        QTest::mouseMove(&slider, QPoint(50, 5));
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(50, 4));
        QCoreApplication::processEvents();
        QCOMPARE(parent.notes.size(), 1);
        QCOMPARE(parent.notes.at(0).param, intptr_t(25));

        CSkinSlider thumbed(&parent, 1053);
        thumbed.setPixmaps(solid(Qt::black, 120, 12), QPixmap(), solid(Qt::red, 6, 12));
        thumbed.setGeometry(0, 20, 120, 12);
        thumbed.setMargin(10);
        thumbed.setRange(0, 10);
        QVERIFY(thumbed.setPosition(3));
        QTest::mousePress(&thumbed, Qt::LeftButton, {}, QPoint(36, 6));
        QTest::mouseRelease(&thumbed, Qt::LeftButton, {}, QPoint(36, 6));
        QCoreApplication::processEvents();
        QCOMPARE(parent.notes.size(), 1);
    }

    void sliderMouseWithThumbPostsTheRecord()
    {
        NotifyRecorder parent;
        CSkinSlider slider(&parent, 1051);
        slider.setPixmaps(solid(Qt::black, 120, 12), QPixmap(), solid(Qt::red, 6, 12));
        slider.setGeometry(0, 0, 120, 12);
        slider.setMargin(10);
        slider.setRange(0, 10);
        parent.show();
        QVERIFY(slider.setPosition(0));
        QCOMPARE(slider.thumbX(), 10 - 3);
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(36, 6));
        QCOMPARE(slider.value(), 3);
        QCOMPARE(slider.thumbX(), 3 * 120 / 10 - 3);
        QCOMPARE(at(shot(&slider), 33, 6), QColor(Qt::red));
        QTest::mouseMove(&slider, QPoint(118, 6));
        QCOMPARE(slider.value(), 10);
        QCOMPARE(slider.thumbX(), 120 - 3 - 10);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(118, 6));
        QCoreApplication::processEvents();
        QCOMPARE(parent.notes.size(), 2);
        QCOMPARE(parent.notes.at(0).code, 5);
        const auto* record = reinterpret_cast<const CSkinSlider::Record*>(parent.notes.at(1).param);
        QCOMPARE(record, &slider.record());
        QCOMPARE(record->value, 10);
        QCOMPARE(record->controlId, 1051);
    }

    void optionSliderSingleThumb()
    {
        NotifyRecorder parent;
        CSliderOption slider(&parent, 1060);
        slider.setPixmaps(solid(Qt::darkGray, 218, 16), solid(Qt::white, 8, 16));
        slider.setGeometry(0, 0, 218, 16);
        parent.show();
        slider.setPosition(35, 0, false);
        QCOMPARE(slider.firstStep(), 3);
        QCOMPARE(slider.firstThumbX(), 69 - 4);
        QCOMPARE(at(shot(&slider), 69, 8), QColor(Qt::white));
        // The edge zones do nothing.
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(12, 8));
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(200, 8));
        QCOMPARE(slider.firstStep(), 3);
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(131, 8));
        QCOMPARE(slider.firstStep(), 6);
        QTest::mouseMove(&slider, QPoint(150, 8));
        QCOMPARE(slider.firstStep(), 7);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(150, 8));
        QCoreApplication::processEvents();
        QCOMPARE(parent.notes.size(), 2);
        QCOMPARE(parent.notes.at(0).code, 6);
        const auto* record = reinterpret_cast<const CSliderOption::Record*>(parent.notes.at(1).param);
        QCOMPARE(record->first, 7);
        QCOMPARE(record->singleThumb, 1);
        QCOMPARE(record->controlId, 1060);
    }

    void optionSliderTwoThumbsNeverCrossOrMeet()
    {
        NotifyRecorder parent;
        CSliderOption slider(&parent, 1061);
        slider.setPixmaps(solid(Qt::darkGray, 218, 16), solid(Qt::white, 8, 16));
        slider.setGeometry(0, 0, 218, 16);
        parent.resize(400, 40);
        parent.show();
        slider.setPosition(30, 30, true); // steps 3 and 6
        QCOMPARE(slider.secondStep(), 6);
        // Pressing between the thumbs grabs nothing.
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(99, 8));
        QCOMPARE(slider.grabbed(), int(CSliderOption::GrabNone));
        QTest::mouseMove(&slider, QPoint(110, 8));
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(110, 8));
        QCOMPARE(slider.firstStep(), 3);
        // Drag the first thumb onto and past the second.
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(72, 8));
        QCOMPARE(slider.grabbed(), int(CSliderOption::GrabFirst));
        QTest::mouseMove(&slider, QPoint(90, 8));
        QCOMPARE(slider.firstStep(), 4);
        QTest::mouseMove(&slider, QPoint(129, 8));
        QCOMPARE(slider.firstStep(), 5);
        QTest::mouseMove(&slider, QPoint(180, 8));
        QCOMPARE(slider.firstStep(), 5);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(180, 8));
        // And the second back onto the first.
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(129, 8));
        QCOMPARE(slider.grabbed(), int(CSliderOption::GrabSecond));
        QTest::mouseMove(&slider, QPoint(40, 8));
        QCOMPARE(slider.secondStep(), 6);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(40, 8));
        QCoreApplication::processEvents();
        QVERIFY(!parent.notes.isEmpty());
        const auto* record = reinterpret_cast<const CSliderOption::Record*>(parent.notes.last().param);
        QCOMPARE(record->first, 5);
        QCOMPARE(record->second, 6);
        QCOMPARE(record->singleThumb, 0);
    }

    void progressIsRedWithWhiteTextThenWhiteWithRed()
    {
        CProgress progress;
        progress.resize(200, 20);
        progress.setLabel(QStringLiteral("50 % ████"));
        progress.setValue(50);
        QCOMPARE(progress.fillWidth(), 100);
        const QImage img = shot(&progress);
        QCOMPARE(at(img, 1, 1), QColor(255, 0, 0));
        QCOMPARE(at(img, 99, 0), QColor(255, 0, 0));
        QCOMPARE(at(img, 100, 0), QColor(255, 255, 255));
        QCOMPARE(at(img, 198, 19), QColor(255, 255, 255));
        // The label crosses the border: white letters on the red part, red ones on the white part.
        bool whiteOnRed = false, redOnWhite = false;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 200; ++x) {
                const QColor c = at(img, x, y);
                if (x < 100 && c.green() > 200)
                    whiteOnRed = true;
                if (x >= 100 && c.green() < 60)
                    redOnWhite = true;
            }
        }
        QVERIFY(whiteOnRed);
        QVERIFY(redOnWhite);
    }

    void pieSlicesClockwiseFromTwelve()
    {
        CCircleChart chart;
        chart.resize(100, 100);
        chart.setBackgroundColour(QColor(24, 24, 24));
        QCOMPARE(chart.sliceEnds(), (QList<int> { 180, 360 }));
        QImage img = shot(&chart);
        QCOMPARE(at(img, 75, 50), QColor(255, 0, 0)); // right half: first slice
        QCOMPARE(at(img, 25, 50), QColor(0, 255, 0));
        QCOMPARE(at(img, 1, 1), QColor(24, 24, 24));

        chart.setValues({ 1, 3 });
        img = shot(&chart);
        QCOMPARE(at(img, 70, 30), QColor(255, 0, 0)); // 12 to 3 o'clock
        QCOMPARE(at(img, 70, 70), QColor(0, 255, 0));
        QCOMPARE(at(img, 30, 30), QColor(0, 255, 0));

        chart.setSliceCount(3);
        img = shot(&chart);
        QCOMPARE(at(img, 75, 40), QColor(255, 0, 0));
        QCOMPARE(at(img, 50, 80), QColor(0, 255, 0)); // 120..240 degrees
        QCOMPARE(at(img, 25, 40), QColor(255, 255, 0));

        chart.setValues({ 0, 0 });
        img = shot(&chart);
        QCOMPARE(at(img, 50, 50), QColor(24, 24, 24));
    }
};

QTEST_MAIN(SkinControlsTest)
#include "SkinControlsTest.moc"
