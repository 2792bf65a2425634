#include "mainwindow/MainWindowIds.h"
#include "mainwindow/MainWindowLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace mainwindow;

namespace {

// The generated skin's sizes; the arithmetic must hold for any.
LayoutImageSizes skinSizes()
{
    LayoutImageSizes s;
    s.gpsFix = QSize(44, 38);
    s.digit = QSize(11, 16);
    s.colon = QSize(5, 16);
    s.separator = QSize(10, 16);
    s.speedPanel = QSize(130, 38);
    s.volumeButton = QSize(24, 22);
    s.listButton = QSize(10, 60);
    s.axisLabelFirst = QSize(10, 16);
    s.axisLabelSecond = QSize(6, 16);
    return s;
}

LayoutInput input(int cw, int ch, bool listHidden, bool mapShown, int country = 0)
{
    LayoutInput in;
    in.clientWidth = cw;
    in.clientHeight = ch;
    in.listHidden = listHidden;
    in.mapShown = mapShown;
    in.countryCode = country;
    in.images = skinSizes();
    return in;
}

TEST(MainWindowLayout, VideoGraphAndSliderFollowTheClientSize)
{
    struct Case
    {
        bool listHidden;
        int country;
        QRect video;
        QRect graph;
    };
    // Video: left 10, top 40, width CW - S, bottom CH - (38 + graph + 30).
    const Case cases[] = {
        { false, 0, QRect(10, 40, 1600 - 330, 900 - 93 - 40), QRect(10, 807, 1270, 25) },
        { true, 0, QRect(10, 40, 1600 - 20, 900 - 93 - 40), QRect(10, 807, 1580, 25) },
        { false, 81, QRect(10, 40, 1270, 900 - 143 - 40), QRect(10, 757, 1270, 75) },
    };
    for (const Case& c : cases) {
        const MainWindowLayout l = ComputeMainWindowLayout(input(1600, 900, c.listHidden, true, c.country));
        EXPECT_EQ(l.video, c.video);
        EXPECT_EQ(l.graph, c.graph);
        EXPECT_EQ(l.volumeSlider, QRect(c.video.x() + c.video.width() - 103, c.graph.bottom() + 1 + 15, 103, 30));
        EXPECT_EQ(l.volumeButton.right() + 1, c.video.x() + c.video.width() - 103);
        EXPECT_EQ(l.volumeButton.top(), 900 - 43);
        EXPECT_EQ(l.listButton.left(), c.video.x() + c.video.width());
        EXPECT_LE(std::abs(l.listButton.center().y() - c.video.center().y()), 1); // odd heights round
    }
}

TEST(MainWindowLayout, ButtonRowsAndRightColumn)
{
    const int cw = 1400;
    const int ch = 800;
    const MainWindowLayout l = ComputeMainWindowLayout(input(cw, ch, false, true));
    const std::pair<int, int> places[] = { { IdPrev, 10 }, { IdBackward, 60 }, { IdPlay, 110 }, { IdPause, 110 },
        { IdForward, 160 }, { IdNext, 210 }, { IdBright, 270 }, { IdNightOn, 320 }, { IdNightOff, 320 },
        { IdRotate, 370 }, { IdCapture, 420 }, { IdSpeed, 470 }, { IdZoomOn, 530 }, { IdZoomOff, 530 },
        { IdDrive, cw - 310 }, { IdFolder, cw - 260 }, { IdDelete, cw - 210 }, { IdCopy, cw - 160 },
        { IdEvent, cw - 110 }, { IdOption, cw - 60 } };
    for (const auto& [id, x] : places)
        EXPECT_EQ(l.buttons.at(id), QRect(x, ch - 45, 50, 35)) << id;

    EXPECT_EQ(l.list, QRect(cw - 310, 10, 300, ch - 395));
    EXPECT_EQ(l.map, QRect(cw - 310, ch - 355, 300, 300));
    EXPECT_EQ(l.mapButton, QRect(cw - 28, ch - 379, 18, 18));
    EXPECT_EQ(l.dropMap, QRect(cw - 310, ch - 383, 68, 26));
    EXPECT_EQ(l.unitKmh, QRect(cw - 310, ch - 379, 15, 15));
    EXPECT_EQ(l.unitMph, QRect(cw - 230, ch - 379, 15, 15));
    EXPECT_EQ(l.unitKmhLabel, QRect(cw - 290, ch - 379, 30, 15));
    EXPECT_EQ(l.unitMphLabel, QRect(cw - 210, ch - 379, 30, 15));

    const MainWindowLayout noMap = ComputeMainWindowLayout(input(cw, ch, false, false));
    EXPECT_EQ(noMap.list, QRect(cw - 310, 10, 300, ch - 88));
    EXPECT_EQ(noMap.mapButton, QRect(cw - 28, ch - 73, 18, 18));
}

TEST(MainWindowLayout, ReadoutsSitOnTheVideoArea)
{
    const MainWindowLayout l = ComputeMainWindowLayout(input(1600, 900, false, true));
    const int videoRight = l.video.x() + l.video.width();
    EXPECT_EQ(l.speedPanel, QRect(videoRight - 130, 2, 130, 38));
    EXPECT_EQ(l.gpsIndicator, QRect(videoRight - 130 - 44, 2, 44, 38));
    EXPECT_EQ(l.speedText, QRect(videoRight - 130, 5, 130 - 45, 35));

    // mm : ss | mm : ss with digits at the digit size, colon and separator at their own widths.
    EXPECT_EQ(l.timeRow, QRect(10, 900 - 16 - 50, 8 * 11 + 2 * 5 + 10, 16));
    EXPECT_EQ(l.timeCells[0].x(), 10);
    EXPECT_EQ(l.timeCells[2].width(), 5);
    EXPECT_EQ(l.timeCells[5].width(), 10);
    EXPECT_EQ(l.timeCells[10].right() + 1, l.timeRow.right() + 1);
}

TEST(MainWindowLayout, AxisRowEndsAtItsPlace)
{
    const MainWindowLayout l = ComputeMainWindowLayout(input(1600, 900, false, true, 81));
    const int videoRight = l.video.x() + l.video.width();
    EXPECT_EQ(l.axisCells[20].x(), videoRight - 142);
    EXPECT_EQ(l.axisRow.top(), l.video.bottom() + 1 + 97);
    EXPECT_EQ(l.axisRow.width(), AxisRowWidth(skinSizes()));
    EXPECT_EQ(AxisRowWidth(skinSizes()), 3 * (6 * 10 + 6) + 20);
    EXPECT_EQ(l.axisCells[7].x(), l.axisCells[6].right() + 1 + 10); // 10 pixels between axis groups
}

TEST(MainWindowLayout, TinyClientNeverGivesNegativeSizes)
{
    const MainWindowLayout l = ComputeMainWindowLayout(input(100, 50, false, true));
    EXPECT_GE(l.video.width(), 0);
    EXPECT_GE(l.video.height(), 0);
    EXPECT_GE(l.list.height(), 0);
}

TEST(MinimumWindowSize, Table)
{
    const int f = FrameRoom(30, 10, 25);
    EXPECT_EQ(f, 170);
    struct Case
    {
        bool open;
        bool listHidden;
        int w;
        int h;
        int country;
        QSize expected;
    };
    const int g = 218;
    const Case cases[] = {
        { false, false, 1920, 1080, 0, QSize(1110, 600) },
        { false, true, 1920, 1080, 0, QSize(800, 600) },
        { true, false, 1920, 1080, 0, QSize(960 + 330, 540 + f) },
        { true, true, 1920, 1080, 0, QSize(960 + 20, 540 + f) },
        { true, false, 1280, 720, 0, QSize(768 + 330, 432 + f) },
        { true, false, 640, 480, 0, QSize(640 + 330, 480 + f) },
        // Japan adds the three-axis row to classes 1 and 2, not to class 0.
        { true, false, 1920, 1080, 81, QSize(960 + 330, 540 + f) },
        { true, false, 1280, 720, 81, QSize(g + 768 + 330, int(f + 432 + double(g) * 720 / 1280)) },
        { true, false, 640, 480, 81, QSize(g + 640 + 330, int(double(g) * 480 / 640 + 480 + f)) },
    };
    for (const Case& c : cases) {
        MinimumSizeInput in;
        in.recordingOpen = c.open;
        in.listHidden = c.listHidden;
        in.videoWidth = c.w;
        in.videoHeight = c.h;
        in.sizeClass = SizeClassOf(c.w, c.h);
        in.frameRoom = f;
        in.countryCode = c.country;
        in.axisRowWidth = g;
        EXPECT_EQ(MinimumWindowSize(in), c.expected) << c.w << "x" << c.h << " country " << c.country;
    }
}

TEST(SizeModes, KeyOneFitsA720pRecordingWithTheList)
{
    SizeModeInput in;
    in.mode = 1;
    in.window = QRect(50, 60, 1500, 900);
    in.workArea = QRect(0, 0, 1920, 1050);
    in.videoWidth = 1280;
    in.videoHeight = 720;
    in.sizeClass = 1;
    in.listWanted = true;
    in.listVisible = true;
    in.frameRoom = 170;
    const SizeModeResult r = ApplySizeMode(in);
    ASSERT_TRUE(r.acted);
    EXPECT_FALSE(r.maximised);
    EXPECT_FALSE(r.listHidden);
    EXPECT_EQ(r.window, QRect(50, 60, 768 + 330, 432 + 170));
}

TEST(SizeModes, KeyTwoWithFullHdOnASmallMonitorMaximisesAndHidesTheList)
{
    SizeModeInput in;
    in.mode = 2;
    in.window = QRect(10, 10, 1200, 700);
    in.workArea = QRect(0, 0, 1366, 738);
    in.videoWidth = 1920;
    in.videoHeight = 1080;
    in.sizeClass = 0;
    in.listVisible = true;
    in.frameRoom = 170;
    const SizeModeResult r = ApplySizeMode(in);
    EXPECT_TRUE(r.maximised);
    EXPECT_TRUE(r.listHidden);
    EXPECT_EQ(r.step, SizeModeResult::ColumnStep::HideList);
    EXPECT_EQ(r.window, in.workArea);
}

TEST(SizeModes, Table)
{
    using Step = SizeModeResult::ColumnStep;
    struct Case
    {
        const char* name;
        int mode;
        bool listEmpty;
        int w, h;
        bool listWanted;
        bool listVisible;
        int model;
        bool acted;
        bool maximised;
        bool listHidden;
        Step step;
        QSize size; // empty: the work area
        bool hideMapButtons;
    };
    const QRect work(0, 0, 1920, 1050);
    const int f = 170;
    const Case cases[] = {
        { "empty list: nothing", 1, true, 1920, 1080, true, true, 0, false, false, false, Step::None, QSize(), false },
        { "mode 1 class 0 halves", 1, false, 1920, 1080, true, true, 0, true, false, false, Step::None,
            QSize(960 + 330, 540 + f), false },
        { "mode 1 list not wanted hides it", 1, false, 1920, 1080, false, true, 0, true, false, true, Step::HideList,
            QSize(960 + 20, 540 + f), false },
        { "mode 1 shows a hidden wanted list", 1, false, 640, 480, true, false, 4, true, false, false, Step::ShowList,
            QSize(640 + 330, 480 + f), true },
        { "mode 2 fits", 2, false, 1280, 720, true, true, 5, true, false, false, Step::None,
            QSize(1280 + 330, 720 + f), false },
        { "mode 2 equal to the work area is too large", 2, false, 1920 - 330, 1050 - f, true, true, 0, true, true,
            true, Step::HideList, QSize(), false },
        { "mode 2 hides map buttons for model 4 only", 2, false, 640, 480, true, false, 4, true, false, false,
            Step::ShowList, QSize(640 + 330, 480 + f), true },
        { "mode 3 shows the list over the work area", 3, false, 1920, 1080, false, false, 0, true, true, false,
            Step::ShowList, QSize(), false },
        { "unknown mode", 4, false, 1920, 1080, true, true, 0, false, false, false, Step::None, QSize(), false },
    };
    for (const Case& c : cases) {
        SizeModeInput in;
        in.mode = c.mode;
        in.listEmpty = c.listEmpty;
        in.window = QRect(40, 30, 1000, 700);
        in.workArea = work;
        in.videoWidth = c.w;
        in.videoHeight = c.h;
        in.sizeClass = SizeClassOf(c.w, c.h);
        in.listWanted = c.listWanted;
        in.listVisible = c.listVisible;
        in.frameRoom = f;
        in.modelIndex = c.model;
        const SizeModeResult r = ApplySizeMode(in);
        EXPECT_EQ(r.acted, c.acted) << c.name;
        if (!c.acted)
            continue;
        EXPECT_EQ(r.maximised, c.maximised) << c.name;
        EXPECT_EQ(r.listHidden, c.listHidden) << c.name;
        EXPECT_EQ(r.step, c.step) << c.name;
        EXPECT_EQ(r.hideMapButtons, c.hideMapButtons) << c.name;
        if (c.size.isEmpty())
            EXPECT_EQ(r.window, work) << c.name;
        else
            EXPECT_EQ(r.window, QRect(QPoint(40, 30), c.size)) << c.name;
    }
}

TEST(TimeDigits, Table)
{
    struct Case
    {
        long long ms;
        std::array<int, 4> digits;
    };
    const Case cases[] = {
        { 0, { 0, 0, 0, 0 } },
        { 999, { 0, 0, 0, 0 } },
        { 59'999, { 0, 0, 5, 9 } },
        { 600'000, { 1, 0, 0, 0 } }, // exactly ten minutes
        { 61'500, { 0, 1, 0, 1 } },
        { 5'999'999, { 9, 9, 5, 9 } },
        { 6'000'000, { 9, 9, 5, 9 } }, // beyond two minute digits
        { -5, { 0, 0, 0, 0 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimeDigits(c.ms), c.digits) << c.ms;
}

} // namespace

TEST(MainWindowLayout, LargerPictureFitsTheWindowOnlyWhenTheVideoAreaIsTooSmall)
{
    struct Row {
        int newClass, areaW, areaH, videoW, videoH;
        bool fits;
    };
    const Row rows[] = {
        { 0, 959, 540, 1920, 1080, true }, // narrower than half of 1080p
        { 0, 960, 539, 1920, 1080, true }, // lower than half
        { 0, 960, 540, 1920, 1080, false }, // exactly half: big enough
        { 0, 1000, 600, 1920, 1080, false },
        { 1, 767, 432, 1280, 720, true }, // narrower than 0.6 of 720p
        { 1, 768, 431, 1280, 720, true },
        { 1, 768, 432, 1280, 720, false },
        { 2, 100, 100, 640, 480, false }, // any other size never fits the window
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FitsWindowAfterOpen(r.newClass, QSize(r.areaW, r.areaH), r.videoW, r.videoH), r.fits)
            << r.newClass << " in " << r.areaW << "x" << r.areaH;
    }
}
