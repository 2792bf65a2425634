#include "mainwindow/MainWindowLayout.h"

#include "mainwindow/MainWindowIds.h"

#include <algorithm>

using namespace mainwindow;

namespace {

constexpr int kCountryJapan = 81;

QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

int GraphHeight(int countryCode)
{
    return countryCode == kCountryJapan ? 75 : 25;
}

int FrameRoom(int captionHeight, int bottomEdgeHeight, int graphHeight)
{
    return captionHeight + bottomEdgeHeight + graphHeight + 105;
}

int AxisRowWidth(const LayoutImageSizes& images)
{
    const int cell = images.axisLabelFirst.width();
    const int group = cell + images.axisLabelSecond.width() + 5 * cell;
    return 3 * group + 2 * 10;
}

MainWindowLayout ComputeMainWindowLayout(const LayoutInput& in)
{
    MainWindowLayout out;
    const int cw = in.clientWidth;
    const int ch = in.clientHeight;
    const int room = in.listHidden ? kHiddenListRoom : kListColumnRoom;
    const int graphHeight = GraphHeight(in.countryCode);
    const LayoutImageSizes& img = in.images;

    // A window squeezed below its minimum must not produce negative sizes: the widgets would vanish
    // rather than shrink.
    const int videoWidth = std::max(0, cw - room);
    const int videoBottom = std::max(40, ch - (img.gpsFix.height() + graphHeight + 30));
    out.video = QRect(10, 40, videoWidth, videoBottom - 40);
    const int videoRight = 10 + videoWidth; // one past the last column
    out.graph = QRect(10, videoBottom, videoWidth, graphHeight);

    out.volumeSlider = QRect(videoRight - 103, out.graph.y() + graphHeight + 15, 103, 30);
    out.volumeButton = QRect(videoRight - 103 - img.volumeButton.width(), ch - 43, img.volumeButton.width(),
        img.volumeButton.height());

    const int rowTop = ch - 45;
    const std::pair<int, int> bottomRow[] = {
        { IdPrev, 10 },
        { IdBackward, 60 },
        { IdPlay, 110 },
        { IdPause, 110 },
        { IdForward, 160 },
        { IdNext, 210 },
        { IdBright, 270 },
        { IdNightOn, 320 },
        { IdNightOff, 320 },
        { IdRotate, 370 },
        { IdCapture, 420 },
        { IdSpeed, 470 },
        { IdZoomOn, 530 },
        { IdZoomOff, 530 },
    };
    for (const auto& [id, x] : bottomRow)
        out.buttons[id] = QRect(x, rowTop, 50, 35);

    // The right-hand column keeps its places while hidden; the widgets are hidden then.
    const std::pair<int, int> rightRow[] = {
        { IdDrive, 310 },
        { IdFolder, 260 },
        { IdDelete, 210 },
        { IdCopy, 160 },
        { IdEvent, 110 },
        { IdOption, 60 },
    };
    for (const auto& [id, offset] : rightRow)
        out.buttons[id] = QRect(cw - offset, rowTop, 50, 35);

    out.list = QRect(cw - 310, 10, 300, std::max(0, in.mapShown ? ch - 395 : ch - 88));
    out.map = QRect(cw - 310, ch - 355, 300, 300);
    out.mapButton = in.mapShown ? QRect(cw - 28, ch - 379, 18, 18) : QRect(cw - 28, ch - 73, 18, 18);
    out.dropMap = QRect(cw - 310, ch - 383, 68, 26);
    out.unitKmh = QRect(cw - 310, ch - 379, 15, 15);
    out.unitMph = QRect(cw - 230, ch - 379, 15, 15);
    out.unitKmhLabel = fromEdges(cw - 290, ch - 379, cw - 260, ch - 364);
    out.unitMphLabel = out.unitKmhLabel.translated(80, 0);

    out.listButton = QRect(videoRight, out.video.y() + (out.video.height() - img.listButton.height()) / 2,
        img.listButton.width(), img.listButton.height());

    // Time readouts: current mm:ss, separator, length mm:ss.
    const int digitW = img.digit.width();
    const int digitH = img.digit.height();
    const int timeTop = ch - digitH - 50;
    int x = 10;
    const int widths[11] = { digitW, digitW, img.colon.width(), digitW, digitW, img.separator.width(), digitW,
        digitW, img.colon.width(), digitW, digitW };
    for (int i = 0; i < 11; ++i) {
        out.timeCells[size_t(i)] = QRect(x, timeTop, widths[i], digitH);
        x += widths[i];
    }
    out.timeRow = QRect(10, timeTop, x - 10, digitH);

    // Speed readout: the panel sits on the video area's top edge, right-aligned with it.
    const QSize panel = img.speedPanel;
    out.speedPanel = fromEdges(videoRight - panel.width(), 40 - panel.height(), videoRight, 40);
    out.gpsIndicator = fromEdges(out.speedPanel.left() - img.gpsFix.width(), out.speedPanel.top(),
        out.speedPanel.left(), 40);
    out.speedText = fromEdges(out.speedPanel.left(), out.speedPanel.top() + 3, videoRight - 45, 40);

    // Three-axis readout: its last digit cell begins 142 pixels left of the video's right edge.
    const int cell = img.axisLabelFirst.width();
    const int rowWidth = AxisRowWidth(img);
    const int rowRight = videoRight - 142 + cell;
    const int axisTop = videoBottom + 97;
    const int axisHeight = img.axisLabelFirst.height();
    out.axisRow = QRect(rowRight - rowWidth, axisTop, rowWidth, axisHeight);
    int ax = out.axisRow.x();
    size_t c = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const int cellWidths[7] = { cell, img.axisLabelSecond.width(), cell, cell, cell, cell, cell };
        for (int w : cellWidths) {
            out.axisCells[c++] = QRect(ax, axisTop, w, axisHeight);
            ax += w;
        }
        ax += 10;
    }
    return out;
}

int SizeClassOf(int videoWidth, int videoHeight)
{
    if (videoWidth == 1920 && videoHeight == 1080)
        return 0;
    if (videoWidth == 1280 && videoHeight == 720)
        return 1;
    return 2;
}

QSize MinimumWindowSize(const MinimumSizeInput& in)
{
    const int room = in.listHidden ? kHiddenListRoom : kListColumnRoom;
    if (!in.recordingOpen)
        return QSize(in.listHidden ? 800 : 1110, 600);
    const int w = in.videoWidth;
    const int h = in.videoHeight;
    const bool japan = in.countryCode == kCountryJapan;
    const int g = in.axisRowWidth;
    switch (in.sizeClass) {
    case 0:
        return QSize(w / 2 + room, h / 2 + in.frameRoom);
    case 1: {
        const int v = int(0.6 * w);
        const int u = int(0.6 * h);
        if (japan && w > 0)
            return QSize(g + v + room, int(in.frameRoom + u + double(g) * h / w));
        return QSize(v + room, u + in.frameRoom);
    }
    default:
        if (japan && w > 0)
            return QSize(g + w + room, int(double(g) * h / w + h + in.frameRoom));
        return QSize(w + room, h + in.frameRoom);
    }
}

SizeModeResult ApplySizeMode(const SizeModeInput& in)
{
    SizeModeResult out;
    if (in.listEmpty || in.mode < 1 || in.mode > 3)
        return out;
    out.acted = true;
    using Step = SizeModeResult::ColumnStep;

    switch (in.mode) {
    case 1: {
        out.maximised = false;
        out.listHidden = !in.listWanted;
        if (in.listWanted)
            out.step = in.listVisible ? Step::None : Step::ShowList;
        else
            out.step = in.listVisible ? Step::HideList : Step::None;
        out.hideMapButtons = in.modelIndex == 4 || in.modelIndex == 5;
        int v = in.videoWidth;
        int u = in.videoHeight;
        if (in.sizeClass == 0) {
            v = in.videoWidth / 2;
            u = in.videoHeight / 2;
        } else if (in.sizeClass == 1) {
            v = int(0.6 * in.videoWidth);
            u = int(0.6 * in.videoHeight);
        }
        const int room = out.listHidden ? kHiddenListRoom : kListColumnRoom;
        out.window = QRect(in.window.topLeft(), QSize(v + room, u + in.frameRoom));
        break;
    }
    case 2: {
        const QSize candidate(in.videoWidth + (in.listWanted ? kListColumnRoom : kHiddenListRoom),
            in.videoHeight + in.frameRoom);
        out.hideMapButtons = in.modelIndex == 4;
        if (in.workArea.width() > candidate.width() && in.workArea.height() > candidate.height()) {
            out.maximised = false;
            out.listHidden = !in.listWanted;
            if (in.listWanted)
                out.step = in.listVisible ? Step::None : Step::ShowList;
            else
                out.step = in.listVisible ? Step::HideList : Step::None;
            out.window = QRect(in.window.topLeft(), candidate);
        } else {
            out.maximised = true;
            out.listHidden = true;
            out.step = in.listVisible ? Step::HideList : Step::None;
            out.window = in.workArea;
        }
        break;
    }
    case 3:
        out.maximised = true;
        out.listHidden = false;
        out.step = in.listVisible ? Step::None : Step::ShowList;
        out.mapButtonByMapShownForEveryModel = true;
        out.window = in.workArea;
        break;
    }
    return out;
}

std::array<int, 4> TimeDigits(long long ms)
{
    if (ms < 0)
        ms = 0;
    long long minutes = ms / 60000;
    long long seconds = (ms / 1000) % 60;
    if (minutes > 99) {
        minutes = 99;
        seconds = 59;
    }
    return { int(minutes / 10), int(minutes % 10), int(seconds / 10), int(seconds % 10) };
}

bool FitsWindowAfterOpen(int newSizeClass, QSize videoArea, int videoWidth, int videoHeight)
{
    if (newSizeClass < 0 || newSizeClass >= 2)
        return false;
    const int wantedWidth = newSizeClass == 0 ? videoWidth / 2 : int(0.6 * videoWidth);
    const int wantedHeight = newSizeClass == 0 ? videoHeight / 2 : int(0.6 * videoHeight);
    return videoArea.width() < wantedWidth || videoArea.height() < wantedHeight;
}
