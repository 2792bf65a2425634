#pragma once

#include <QRect>
#include <QSize>

#include <array>
#include <map>
#include <vector>

// Where everything of the main window sits, computed from the client size alone so that every position
// can be checked without a window. The widgets only copy these rectangles.

// Room beside the video area while the list column is shown, and while it is hidden.
inline constexpr int kListColumnRoom = 330;
inline constexpr int kHiddenListRoom = 20;
// How much List On widens (and List Off narrows) a window that is not maximised.
inline constexpr int kListColumnWidth = 310;

// Height of the acceleration graph: Japan shows the three-axis readout under a taller graph.
int GraphHeight(int countryCode);

// The sizes of the skin images the layout depends on (buttons with strips give one state's size).
struct LayoutImageSizes
{
    QSize gpsFix; // 3316; its height also sets the room under the video area
    QSize digit; // 3303, every digit is placed at this size
    QSize colon; // 3313
    QSize separator; // 3314
    QSize speedPanel; // 3317 (or 3318 for the mi/h unit)
    QSize volumeButton; // one state of 3113
    QSize listButton; // one state of 3114
    QSize axisLabelFirst; // 3322
    QSize axisLabelSecond; // 3323
};

struct LayoutInput
{
    int clientWidth = 0;
    int clientHeight = 0;
    bool listHidden = false;
    bool mapShown = true;
    int countryCode = 0;
    LayoutImageSizes images;
};

struct MainWindowLayout
{
    QRect video;
    QRect graph;
    QRect volumeSlider;
    QRect volumeButton; // Vol On and Vol Off share it
    QRect listButton; // List On and List Off share it
    // Every bottom-row and right-hand button by control id (pairs share their rectangle).
    std::map<int, QRect> buttons;
    QRect list;
    QRect map;
    QRect mapButton; // Map On and Map Off
    QRect dropMap;
    QRect unitKmh;
    QRect unitMph;
    QRect unitKmhLabel;
    QRect unitMphLabel;
    // The time readout row: minutes, minutes, colon, seconds, seconds, separator, then the length likewise.
    std::array<QRect, 11> timeCells;
    QRect timeRow;
    QRect speedPanel;
    QRect gpsIndicator;
    QRect speedText;
    // Three-axis readout (Japan): per axis two label cells, the sign cell and four digit cells.
    std::array<QRect, 21> axisCells;
    QRect axisRow;
};

MainWindowLayout ComputeMainWindowLayout(const LayoutInput& input);

// Width G of the three-axis readout row, from the left edge of its first label to the right edge of its
// last digit cell.
int AxisRowWidth(const LayoutImageSizes& images);

// Recording sizes: 0 for 1920 x 1080, 1 for 1280 x 720, 2 for anything else.
int SizeClassOf(int videoWidth, int videoHeight);

struct MinimumSizeInput
{
    bool recordingOpen = false;
    bool listHidden = false;
    int sizeClass = 0;
    int videoWidth = 1920;
    int videoHeight = 1080;
    int frameRoom = 0; // F: caption + bottom edge + graph height + 105
    int countryCode = 0;
    int axisRowWidth = 0; // G, used in Japan only
};

QSize MinimumWindowSize(const MinimumSizeInput& input);

// F: the vertical room around the video area.
int FrameRoom(int captionHeight, int bottomEdgeHeight, int graphHeight);

// What a window size mode (keys 1, 2, 3) does to the window.
struct SizeModeInput
{
    int mode = 1;
    bool listEmpty = false;
    QRect window; // outer geometry
    QRect workArea;
    int videoWidth = 1920;
    int videoHeight = 1080;
    int sizeClass = 0;
    bool listWanted = true;
    bool listVisible = true;
    int frameRoom = 0;
    int modelIndex = 0;
};

struct SizeModeResult
{
    enum class ColumnStep { None, ShowList, HideList };

    bool acted = false; // false: nothing happens (empty list, unknown mode)
    bool maximised = false;
    bool listHidden = false;
    ColumnStep step = ColumnStep::None;
    // The show-list step hides both map buttons for these models (mode 1: 4 and 5, mode 2: 4).
    bool hideMapButtons = false;
    // Mode 3 shows the map view and picks the map button by mapShown for every model.
    bool mapButtonByMapShownForEveryModel = false;
    QRect window; // the new outer geometry
};

SizeModeResult ApplySizeMode(const SizeModeInput& input);

// Whether a recording whose size class is smaller than the previous one's (a larger picture) fits the window to
// it (size mode 1): only when the video area is narrower or lower than what mode 1 would give it, half the
// video for class 0 and 0.6 of it for class 1. A new class 2 never does.
bool FitsWindowAfterOpen(int newSizeClass, QSize videoArea, int videoWidth, int videoHeight);

// Four digits m/10, m%10, s/10, s%10 of a time readout. Times beyond the readout's two minute digits
// show 99:59 rather than an image that is not a digit.
std::array<int, 4> TimeDigits(long long ms);
