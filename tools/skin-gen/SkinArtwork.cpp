#include "SkinArtwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace skinart {

namespace {

// ---------------------------------------------------------------------------------------------------------
// The images, their uses, sizes and shapes. Sizes are chosen so that the layouts built from them work:
//  - caption 30 high (3004), borders 3 px (3007/3008 widths, 3009 height): the 402 x 198 drive dialog
//    keeps a 396 x 165 client, room for its button column (x 332 + 64, y 5 + 4 * 32 + 29); caption
//    buttons start at y 10 and are 14 high, the 22 px icon sits at (10, 4);
//  - main-window buttons are 50 x 35 (3100 states) with 30 x 26 overlays, so the one-pixel press offset
//    stays inside; Vol On/Off states are 24 x 22, Map On/Off 18 x 18, Drop Map 68 x 26, the unit radios
//    15 x 15 halves, List On/Off 10 px wide to fit the 10 px beside the video;
//  - GPS indicator 38 high (3316): the video ends 38 + graph + 30 above the client bottom, so the time
//    digits (16 high, drawn from CH - 66 to CH - 50) sit in the gap between graph and button row; the
//    speed panel is as high and stands on the video's top edge at y 2;
//  - three-axis cells 10 px wide: the last z digit at video right - 142 ends before the Vol button that
//    begins at video right - 127;
//  - message buttons 84 x 34, dialog buttons 64 x 29, slider and progress images at their control sizes.
// ---------------------------------------------------------------------------------------------------------
const QList<ImageInfo> kCatalogue = {
    { 3000, Shape::Strip, { 78, 14 }, false, "caption close" },
    { 3001, Shape::Strip, { 78, 14 }, false, "caption maximise" },
    { 3002, Shape::Strip, { 78, 14 }, false, "caption minimise" },
    { 3003, Shape::Strip, { 78, 14 }, false, "caption restore" },
    { 3004, Shape::Piece, { 8, 30 }, false, "caption middle (caption height)" },
    { 3005, Shape::Piece, { 10, 30 }, false, "caption top-left corner" },
    { 3006, Shape::Piece, { 10, 30 }, false, "caption top-right corner" },
    { 3007, Shape::Piece, { 3, 16 }, false, "left edge" },
    { 3008, Shape::Piece, { 3, 16 }, false, "right edge" },
    { 3009, Shape::Piece, { 16, 3 }, false, "bottom edge (its height)" },
    { 3010, Shape::Piece, { 3, 3 }, false, "bottom-left corner" },
    { 3011, Shape::Piece, { 3, 3 }, false, "bottom-right corner" },
    { 3012, Shape::Piece, { 60, 30 }, false, "caption status backdrop" },
    { 3013, Shape::Overlay, { 22, 22 }, false, "caption icon" },
    { 3014, Shape::Strip, { 360, 30 }, false, "settings tab: inactive, hover, current" },
    { 3015, Shape::Piece, { 32, 32 }, false, "settings tab page panel" },
    { 3016, Shape::Piece, { 64, 2 }, false, "settings group separator" },
    { 3017, Shape::Piece, { 4, 14 }, false, "settings section title mark" },
    { 3018, Shape::Overlay, { 12, 12 }, false, "ratio legend: normal" },
    { 3019, Shape::Overlay, { 12, 12 }, false, "ratio legend: event" },
    { 3020, Shape::Overlay, { 12, 12 }, false, "ratio legend: parking" },
    { 3021, Shape::Overlay, { 16, 16 }, false, "tab icon: driving" },
    { 3022, Shape::Overlay, { 16, 16 }, false, "tab icon: parking" },
    { 3023, Shape::Overlay, { 16, 16 }, false, "tab icon: Wi-Fi" },
    { 3024, Shape::Overlay, { 16, 16 }, false, "tab icon: general" },
    { 3025, Shape::Overlay, { 16, 16 }, false, "tab icon: advanced" },
    { 3026, Shape::Overlay, { 16, 16 }, false, "firmware version mark" },
    { 3027, Shape::Overlay, { 16, 16 }, false, "hint mark" },
    { 3100, Shape::Strip, { 150, 35 }, false, "common button background" },
    { 3101, Shape::Overlay, { 30, 26 }, false, "forward 10 s" },
    { 3102, Shape::Overlay, { 30, 26 }, false, "back 10 s" },
    { 3103, Shape::Overlay, { 30, 26 }, false, "play" },
    { 3104, Shape::Overlay, { 30, 26 }, false, "pause" },
    { 3105, Shape::Overlay, { 30, 26 }, false, "previous recording" },
    { 3106, Shape::Overlay, { 30, 26 }, false, "next recording" },
    { 3107, Shape::Overlay, { 30, 26 }, false, "brightness" },
    { 3108, Shape::Overlay, { 30, 26 }, false, "night vision on (shown while off)" },
    { 3109, Shape::Overlay, { 30, 26 }, false, "night vision off (shown while on)" },
    { 3110, Shape::Overlay, { 30, 26 }, false, "rotate" },
    { 3111, Shape::Overlay, { 30, 26 }, false, "capture" },
    { 3112, Shape::Strip, { 72, 22 }, false, "Vol Off: sound on, click mutes" },
    { 3113, Shape::Strip, { 72, 22 }, false, "Vol On: muted, click restores" },
    { 3114, Shape::Strip, { 30, 60 }, false, "List On tab" },
    { 3115, Shape::Strip, { 30, 60 }, false, "List Off tab" },
    { 3116, Shape::Strip, { 54, 18 }, false, "Map On (map hidden)" },
    { 3117, Shape::Strip, { 54, 18 }, false, "Map Off (map shown)" },
    { 3118, Shape::Overlay, { 30, 26 }, false, "copy" },
    { 3119, Shape::Overlay, { 30, 26 }, false, "copy event files" },
    { 3120, Shape::Overlay, { 30, 26 }, false, "open folder" },
    { 3121, Shape::Overlay, { 30, 26 }, false, "settings" },
    { 3122, Shape::Overlay, { 30, 26 }, false, "open SD card" },
    { 3123, Shape::Overlay, { 30, 26 }, false, "delete" },
    { 3124, Shape::Strip, { 192, 29 }, true, "dialog OK / choose" },
    { 3125, Shape::Strip, { 192, 29 }, true, "dialog Cancel" },
    { 3126, Shape::Strip, { 252, 34 }, true, "message Cancel" },
    { 3127, Shape::Strip, { 252, 34 }, true, "message Normal format" },
    { 3128, Shape::Strip, { 252, 34 }, true, "message Ignore" },
    { 3129, Shape::Strip, { 252, 34 }, true, "message Recovery" },
    { 3130, Shape::Strip, { 252, 34 }, true, "message No" },
    { 3131, Shape::Strip, { 252, 34 }, true, "message OK" },
    { 3132, Shape::Strip, { 252, 34 }, true, "message Retry" },
    { 3133, Shape::Strip, { 252, 34 }, true, "message Abort" },
    { 3134, Shape::Strip, { 252, 34 }, true, "message Yes" },
    { 3135, Shape::Strip, { 192, 29 }, true, "drive dialog Refresh" },
    { 3136, Shape::Strip, { 192, 29 }, true, "drive dialog Format" },
    { 3137, Shape::Overlay, { 15, 15 }, false, "check box checked (two-image mode)" },
    { 3138, Shape::Overlay, { 15, 15 }, false, "check box unchecked (two-image mode)" },
    { 3139, Shape::Radio, { 30, 15 }, false, "radio and check button" },
    { 3140, Shape::Overlay, { 44, 26 }, false, "speed 0.4x" },
    { 3141, Shape::Overlay, { 44, 26 }, false, "speed 0.6x" },
    { 3142, Shape::Overlay, { 44, 26 }, false, "speed 0.8x" },
    { 3143, Shape::Overlay, { 44, 26 }, false, "speed 1.0x" },
    { 3144, Shape::Overlay, { 44, 26 }, false, "speed 2.0x" },
    { 3145, Shape::Strip, { 204, 26 }, true, "map provider Daum" },
    { 3146, Shape::Strip, { 204, 26 }, true, "map provider Google" },
    { 3147, Shape::Strip, { 204, 26 }, true, "map provider Naver / Drop Map" },
    { 3148, Shape::Strip, { 132, 26 }, false, "image menu item background" },
    { 3149, Shape::Strip, { 150, 30 }, false, "rotation: mirror left-right" },
    { 3150, Shape::Strip, { 150, 30 }, false, "rotation: flip upside down" },
    { 3151, Shape::Strip, { 150, 30 }, false, "rotation: original" },
    { 3152, Shape::Overlay, { 30, 26 }, false, "magnifier on (shown while off)" },
    { 3153, Shape::Overlay, { 30, 26 }, false, "magnifier off (shown while on)" },
    { 3154, Shape::Strip, { 192, 29 }, true, "drive dialog Check" },
    { 3155, Shape::Strip, { 252, 34 }, true, "message Error check" },
    { 3156, Shape::Strip, { 252, 34 }, true, "message Read-speed test" },
    { 3200, Shape::Piece, { 103, 30 }, false, "volume track" },
    { 3201, Shape::Piece, { 103, 30 }, false, "volume fill" },
    { 3202, Shape::Piece, { 200, 30 }, false, "brightness/contrast track" },
    { 3203, Shape::Overlay, { 14, 22 }, false, "slider thumb" },
    { 3204, Shape::Piece, { 357, 10 }, false, "copy progress track" },
    { 3205, Shape::Piece, { 357, 10 }, false, "copy progress fill" },
    { 3206, Shape::Piece, { 260, 25 }, false, "ratio slider track" },
    { 3207, Shape::Piece, { 260, 25 }, false, "four-step slider track" },
    { 3208, Shape::Piece, { 260, 25 }, false, "settings slider fill" },
    { 3209, Shape::Overlay, { 16, 24 }, false, "settings slider thumb" },
    { 3300, Shape::Piece, { 100, 90 }, false, "copy dialog source (card)" },
    { 3301, Shape::Piece, { 100, 91 }, false, "copy dialog target (folder)" },
    { 3302, Shape::Animation, { 157, 90 * 13 }, false, "copy animation, 13 frames" },
    { 3303, Shape::Glyph, { 11, 16 }, false, "time digit 0" },
    { 3304, Shape::Glyph, { 11, 16 }, false, "time digit 1" },
    { 3305, Shape::Glyph, { 11, 16 }, false, "time digit 2" },
    { 3306, Shape::Glyph, { 11, 16 }, false, "time digit 3" },
    { 3307, Shape::Glyph, { 11, 16 }, false, "time digit 4" },
    { 3308, Shape::Glyph, { 11, 16 }, false, "time digit 5" },
    { 3309, Shape::Glyph, { 11, 16 }, false, "time digit 6" },
    { 3310, Shape::Glyph, { 11, 16 }, false, "time digit 7" },
    { 3311, Shape::Glyph, { 11, 16 }, false, "time digit 8" },
    { 3312, Shape::Glyph, { 11, 16 }, false, "time digit 9" },
    { 3313, Shape::Glyph, { 5, 16 }, false, "time colon" },
    { 3314, Shape::Glyph, { 10, 16 }, false, "time separator" },
    { 3315, Shape::Piece, { 44, 38 }, false, "GPS no fix" },
    { 3316, Shape::Piece, { 44, 38 }, false, "GPS fix" },
    { 3317, Shape::Piece, { 130, 38 }, false, "speed panel km/h" },
    { 3318, Shape::Piece, { 130, 38 }, false, "speed panel mi/h" },
    { 3319, Shape::Piece, { 65, 115 }, false, "message decoration: information" },
    { 3320, Shape::Piece, { 65, 115 }, false, "message decoration: retry" },
    { 3321, Shape::Piece, { 65, 115 }, false, "message decoration: error" },
    { 3322, Shape::Glyph, { 10, 16 }, false, "x label" },
    { 3323, Shape::Glyph, { 6, 16 }, false, "x label colon" },
    { 3324, Shape::Glyph, { 10, 16 }, false, "x plus" },
    { 3325, Shape::Glyph, { 10, 16 }, false, "x minus" },
    { 3326, Shape::Glyph, { 10, 16 }, false, "x digit 0" },
    { 3327, Shape::Glyph, { 10, 16 }, false, "x digit 1" },
    { 3328, Shape::Glyph, { 10, 16 }, false, "x digit 2" },
    { 3329, Shape::Glyph, { 10, 16 }, false, "x digit 3" },
    { 3330, Shape::Glyph, { 10, 16 }, false, "x digit 4" },
    { 3331, Shape::Glyph, { 10, 16 }, false, "x digit 5" },
    { 3332, Shape::Glyph, { 10, 16 }, false, "x digit 6" },
    { 3333, Shape::Glyph, { 10, 16 }, false, "x digit 7" },
    { 3334, Shape::Glyph, { 10, 16 }, false, "x digit 8" },
    { 3335, Shape::Glyph, { 10, 16 }, false, "x digit 9" },
    { 3336, Shape::Glyph, { 10, 16 }, false, "y label" },
    { 3337, Shape::Glyph, { 6, 16 }, false, "y label colon" },
    { 3338, Shape::Glyph, { 10, 16 }, false, "y minus" },
    { 3339, Shape::Glyph, { 10, 16 }, false, "y plus" },
    { 3340, Shape::Glyph, { 10, 16 }, false, "y digit 0" },
    { 3341, Shape::Glyph, { 10, 16 }, false, "y digit 1" },
    { 3342, Shape::Glyph, { 10, 16 }, false, "y digit 2" },
    { 3343, Shape::Glyph, { 10, 16 }, false, "y digit 3" },
    { 3344, Shape::Glyph, { 10, 16 }, false, "y digit 4" },
    { 3345, Shape::Glyph, { 10, 16 }, false, "y digit 5" },
    { 3346, Shape::Glyph, { 10, 16 }, false, "y digit 6" },
    { 3347, Shape::Glyph, { 10, 16 }, false, "y digit 7" },
    { 3348, Shape::Glyph, { 10, 16 }, false, "y digit 8" },
    { 3349, Shape::Glyph, { 10, 16 }, false, "y digit 9" },
    { 3350, Shape::Glyph, { 10, 16 }, false, "z label" },
    { 3351, Shape::Glyph, { 6, 16 }, false, "z label colon" },
    { 3352, Shape::Glyph, { 10, 16 }, false, "z plus" },
    { 3353, Shape::Glyph, { 10, 16 }, false, "z minus" },
    { 3354, Shape::Glyph, { 10, 16 }, false, "z digit 0" },
    { 3355, Shape::Glyph, { 10, 16 }, false, "z digit 1" },
    { 3356, Shape::Glyph, { 10, 16 }, false, "z digit 2" },
    { 3357, Shape::Glyph, { 10, 16 }, false, "z digit 3" },
    { 3358, Shape::Glyph, { 10, 16 }, false, "z digit 4" },
    { 3359, Shape::Glyph, { 10, 16 }, false, "z digit 5" },
    { 3360, Shape::Glyph, { 10, 16 }, false, "z digit 6" },
    { 3361, Shape::Glyph, { 10, 16 }, false, "z digit 7" },
    { 3362, Shape::Glyph, { 10, 16 }, false, "z digit 8" },
    { 3363, Shape::Glyph, { 10, 16 }, false, "z digit 9" },
    { 3364, Shape::Glyph, { 10, 16 }, false, "blank sign" },
    { 3365, Shape::Glyph, { 16, 16 }, false, "time readout mark" },
    { 3366, Shape::Glyph, { 16, 16 }, false, "acceleration readout mark" },
    { 3400, Shape::Piece, { 8, 24 }, false, "list header background" },
    { 3401, Shape::Piece, { 2, 24 }, false, "list header divider" },
    { 3402, Shape::Piece, { 8, 26 }, false, "list row" },
    { 3403, Shape::Piece, { 8, 26 }, false, "list row, alternate" },
    { 3404, Shape::Piece, { 8, 26 }, false, "list row, selected" },
    { 3405, Shape::Overlay, { 8, 8 }, false, "list playing mark" },
    { 3406, Shape::Piece, { 10, 32 }, false, "list scroll track" },
    { 3407, Shape::Overlay, { 10, 32 }, false, "list scroll thumb" },
    { 3408, Shape::Overlay, { 9, 6 }, false, "list sort arrow" },
    { 3409, Shape::Piece, { 72, 24 }, true, "header: used" },
    { 3410, Shape::Piece, { 53, 24 }, true, "header: all categories" },
    { 3411, Shape::Piece, { 72, 24 }, true, "header: capacity" },
    { 3412, Shape::Piece, { 137, 24 }, true, "header: date" },
    { 3413, Shape::Piece, { 104, 24 }, true, "header: name" },
    { 3414, Shape::Piece, { 53, 24 }, true, "header: normal" },
    { 3415, Shape::Piece, { 53, 24 }, true, "header: parking" },
    { 3416, Shape::Piece, { 53, 24 }, true, "header: event" },
    { 3417, Shape::Piece, { 72, 24 }, true, "header: free" },
    { 3500, Shape::Icon, { 20, 20 }, false, "row icon: normal" },
    { 3501, Shape::Icon, { 20, 20 }, false, "row icon: event" },
    { 3502, Shape::Icon, { 20, 20 }, false, "row icon: parking" },
    { 3503, Shape::Icon, { 20, 20 }, false, "row icon: event, suffixed name" },
    { 3504, Shape::Icon, { 20, 20 }, false, "row icon: normal, suffixed name" },
    { 3505, Shape::Icon, { 20, 20 }, false, "row icon: parking, suffixed name" },
    { 3506, Shape::Icon, { 20, 20 }, false, "row icon: parking, impact" },
    { 3507, Shape::Icon, { 20, 20 }, false, "row icon: span marker" },
};

// ---------------------------------------------------------------------------------------------------------
// Palette: a dark, low-glare look for night use; one blue accent, red/amber/green only where they mean
// event, parking and GPS fix.
// ---------------------------------------------------------------------------------------------------------
const QColor kMagenta(255, 0, 255);
const QColor kWindow(27, 27, 27); // dialog client background
const QColor kMessageBg(24, 24, 24); // message box background
const QColor kCaptionTop(44, 48, 55);
const QColor kCaptionBottom(33, 36, 41);
const QColor kEdge(58, 63, 72);
const QColor kInk(232, 236, 242);
const QColor kInkDim(150, 158, 170);
const QColor kAccent(46, 160, 255);
const QColor kAccentDeep(20, 104, 190);
const QColor kRed(236, 84, 84);
const QColor kAmber(245, 172, 52);
const QColor kGreen(72, 206, 130);
const QColor kAxis[3] = { QColor(240, 92, 92), QColor(92, 214, 120), QColor(96, 156, 255) };

// The three button states: fill top, fill bottom, border.
struct StateLook
{
    QColor top, bottom, border;
};
const StateLook kButton[3] = {
    { QColor(56, 61, 70), QColor(42, 46, 53), QColor(72, 78, 90) },
    { QColor(72, 80, 93), QColor(56, 63, 74), QColor(46, 160, 255) },
    { QColor(24, 74, 130), QColor(20, 60, 106), QColor(46, 160, 255) },
};
const StateLook kPrimary[3] = {
    { QColor(36, 140, 236), QColor(24, 110, 200), QColor(58, 168, 255) },
    { QColor(70, 172, 255), QColor(44, 140, 232), QColor(150, 210, 255) },
    { QColor(18, 88, 160), QColor(14, 72, 134), QColor(46, 160, 255) },
};
// The colour an overlay icon sits on: the middle of the common button's normal state.
const QColor kOverlayBehind(49, 53, 61);

QImage canvas(QSize size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// Flattens drawn art onto the colour it will be seen on. Pixels (nearly) left empty become magenta, so the
// viewer draws them transparently; the rest are blended over `behind`, so anti-aliased edges carry no
// magenta fringe. With keyMagenta false everything is blended and the image is opaque.
QImage flatten(const QImage& art, const QColor& behind, bool keyMagenta)
{
    const QImage src = art.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (keyMagenta && a < 48) {
                line[x] = kMagenta.rgb();
                continue;
            }
            const int r = (qRed(in[x]) * a + behind.red() * (255 - a)) / 255;
            const int g = (qGreen(in[x]) * a + behind.green() * (255 - a)) / 255;
            const int b = (qBlue(in[x]) * a + behind.blue() * (255 - a)) / 255;
            // A drawn pixel must never read as the transparent colour.
            line[x] = (r == 255 && g == 0 && b == 255) ? qRgb(254, 0, 255) : qRgb(r, g, b);
        }
    }
    return out;
}

QImage keyed(const QImage& art, const QColor& behind)
{
    return flatten(art, behind, true);
}

QImage opaque(const QImage& art, const QColor& behind)
{
    return flatten(art, behind, false);
}

QPen roundPen(const QColor& c, qreal width)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// ---------------------------------------------------------------------------------------------------------
// Fonts: Liberation Sans for Latin text, Noto Sans CJK for Korean and Japanese.
// ---------------------------------------------------------------------------------------------------------
QFont latinFont(int px, QFont::Weight weight)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(px);
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont moduleFont(Module module, int px, QFont::Weight weight)
{
    if (module == Module::English)
        return latinFont(px, weight);
    QFont f(module == Module::Korean ? QStringLiteral("Noto Sans CJK KR") : QStringLiteral("Noto Sans CJK JP"));
    f.setPixelSize(px);
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// The largest font up to `px` in which `text` fits `width`.
QFont fitted(QFont font, const QString& text, qreal width)
{
    while (font.pixelSize() > 8 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

bool hasCjk(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() >= 0x2E80; });
}

// The baseline that centres `text` vertically around `centreY`: Latin by its cap height, so texts with and
// without descenders sit alike; Korean and Japanese by their ink, which stands taller than Latin capitals.
qreal centredBaseline(const QPainterPath& path, const QFont& font, const QString& text, qreal centreY)
{
    if (hasCjk(text))
        return centreY - path.boundingRect().center().y();
    return centreY + QFontMetricsF(font).capHeight() / 2.0;
}

// Draws `text` as a path centred in `box` by its ink, which centres glyphs more exactly than text layout.
void drawCentredText(QPainter& p, const QRectF& box, const QString& text, const QFont& font, const QColor& c)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const qreal dx = box.center().x() - path.boundingRect().center().x();
    p.fillPath(path.translated(dx, centredBaseline(path, font, text, box.center().y())), c);
}

// ---------------------------------------------------------------------------------------------------------
// Pictograms, designed on a 24 x 24 grid and scaled into any box.
// ---------------------------------------------------------------------------------------------------------
enum class Picto {
    Play,
    Pause,
    Prev,
    Next,
    Back10,
    Forward10,
    Sun,
    MoonOff,
    MoonOn,
    Rotate,
    Camera,
    ZoomIn,
    ZoomOut,
    SdCard,
    Folder,
    Trash,
    Copy,
    EventCopy,
    Gear,
    SpeakerOn,
    SpeakerMuted,
    PinOff,
    PinOn,
    MirrorH,
    FlipV,
    Reset,
    Car,
    Parking,
    Wifi,
    Sliders,
    Chip,
    Info,
    Clock,
    GSensor,
    Bolt,
    Video,
    Bookmark,
    GpsFix,
    GpsNone,
};

template <class F> void onGrid(QPainter& p, const QRectF& box, F&& paint)
{
    p.save();
    const qreal s = std::min(box.width(), box.height()) / 24.0;
    p.translate(box.center().x() - 12 * s, box.center().y() - 12 * s);
    p.scale(s, s);
    paint();
    p.restore();
}

QPainterPath circle(qreal cx, qreal cy, qreal r)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A circular arrow around (12, 12.5), open at the top-left, its head at the top pointing left.
void circularArrow(QPainter& p, const QColor& c, qreal radius)
{
    const QRectF r(12 - radius, 12.5 - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(r, -205);
    arc.arcTo(r, -205, 285);
    p.setPen(roundPen(c, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const qreal top = 12.5 - radius;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(polygon({ { 8.6, top }, { 13.2, top - 3.4 }, { 13.2, top + 3.4 } }));
}

void copyShape(QPainter& p, const QColor& c)
{
    const QRectF back(3.5, 3.5, 11, 13);
    const QRectF front(9.5, 7.5, 11, 13);
    QPainterPath clip;
    clip.addRect(-2, -2, 28, 28);
    QPainterPath hole;
    hole.addRoundedRect(front.adjusted(-1.6, -1.6, 1.6, 1.6), 3, 3);
    p.save();
    p.setClipPath(clip.subtracted(hole));
    p.setPen(roundPen(c, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(back, 2, 2);
    p.restore();
    p.setPen(roundPen(c, 1.8));
    p.setBrush(withAlpha(c, 60));
    p.drawRoundedRect(front, 2, 2);
}

void paintPicto(QPainter& p, Picto picto, const QColor& c, const QRectF& box)
{
    onGrid(p, box, [&] {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        switch (picto) {
        case Picto::Play:
            p.setPen(roundPen(c, 1.6));
            p.drawPath(polygon({ { 8, 5 }, { 19.5, 12 }, { 8, 19 } }));
            break;
        case Picto::Pause:
            p.drawRoundedRect(QRectF(6.5, 5, 4, 14), 1.2, 1.2);
            p.drawRoundedRect(QRectF(13.5, 5, 4, 14), 1.2, 1.2);
            break;
        case Picto::Prev:
            p.drawRoundedRect(QRectF(4.5, 6, 2.8, 12), 1, 1);
            p.setPen(roundPen(c, 1.4));
            p.drawPath(polygon({ { 19.5, 6 }, { 9.2, 12 }, { 19.5, 18 } }));
            break;
        case Picto::Next:
            p.drawRoundedRect(QRectF(16.7, 6, 2.8, 12), 1, 1);
            p.setPen(roundPen(c, 1.4));
            p.drawPath(polygon({ { 4.5, 6 }, { 14.8, 12 }, { 4.5, 18 } }));
            break;
        case Picto::Back10:
        case Picto::Forward10: {
            p.save();
            if (picto == Picto::Forward10) {
                p.translate(24, 0);
                p.scale(-1, 1);
            }
            circularArrow(p, c, 8.8);
            p.restore();
            drawCentredText(p, QRectF(6, 7.5, 12, 10), QStringLiteral("10"), latinFont(8, QFont::Bold), c);
            break;
        }
        case Picto::Sun:
            p.drawEllipse(QPointF(12, 12), 4.2, 4.2);
            p.setPen(roundPen(c, 2.0));
            for (int i = 0; i < 8; ++i) {
                const qreal a = i * M_PI / 4;
                p.drawLine(QPointF(12 + 7.2 * std::cos(a), 12 + 7.2 * std::sin(a)),
                    QPointF(12 + 9.8 * std::cos(a), 12 + 9.8 * std::sin(a)));
            }
            break;
        case Picto::MoonOff:
        case Picto::MoonOn: {
            const QPainterPath moon = circle(11.5, 12.5, 8.5).subtracted(circle(16.5, 8.5, 7.0));
            if (picto == Picto::MoonOff) {
                p.setBrush(Qt::NoBrush);
                p.setPen(roundPen(c, 1.8));
                p.drawPath(moon);
            } else {
                p.drawPath(moon);
                const auto star = [&](qreal x, qreal y, qreal r) {
                    p.drawPath(polygon({ { x, y - r }, { x + r * 0.28, y - r * 0.28 }, { x + r, y },
                        { x + r * 0.28, y + r * 0.28 }, { x, y + r }, { x - r * 0.28, y + r * 0.28 }, { x - r, y },
                        { x - r * 0.28, y - r * 0.28 } }));
                };
                star(18.5, 12.5, 3.4);
                star(14.5, 4.5, 2.2);
            }
            break;
        }
        case Picto::Rotate: {
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.8));
            p.drawRoundedRect(QRectF(3.5, 10.5, 10, 10), 2, 2);
            QPainterPath curve;
            curve.moveTo(6.5, 7);
            curve.quadTo(17.5, 2.5, 18.5, 12);
            p.drawPath(curve);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawPath(polygon({ { 15.2, 11 }, { 21.6, 11 }, { 18.5, 15.6 } }));
            break;
        }
        case Picto::Camera: {
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.8));
            QPainterPath body;
            body.moveTo(2.5, 9);
            body.quadTo(2.5, 7, 4.5, 7);
            body.lineTo(7.5, 7);
            body.lineTo(9.2, 4.5);
            body.lineTo(14.8, 4.5);
            body.lineTo(16.5, 7);
            body.lineTo(19.5, 7);
            body.quadTo(21.5, 7, 21.5, 9);
            body.lineTo(21.5, 18.5);
            body.quadTo(21.5, 20.5, 19.5, 20.5);
            body.lineTo(4.5, 20.5);
            body.quadTo(2.5, 20.5, 2.5, 18.5);
            body.closeSubpath();
            p.drawPath(body);
            p.drawEllipse(QPointF(12, 13.5), 4.0, 4.0);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawEllipse(QPointF(18.3, 10), 1.0, 1.0);
            break;
        }
        case Picto::ZoomIn:
        case Picto::ZoomOut:
            p.setBrush(picto == Picto::ZoomOut ? withAlpha(c, 70) : QBrush(Qt::NoBrush));
            p.setPen(roundPen(c, 2.0));
            p.drawEllipse(QPointF(10.5, 10.5), 6.8, 6.8);
            p.setPen(roundPen(c, 3.2));
            p.drawLine(QPointF(15.6, 15.6), QPointF(20.5, 20.5));
            p.setPen(roundPen(c, 1.9));
            p.drawLine(QPointF(7.3, 10.5), QPointF(13.7, 10.5));
            if (picto == Picto::ZoomIn)
                p.drawLine(QPointF(10.5, 7.3), QPointF(10.5, 13.7));
            break;
        case Picto::SdCard: {
            p.setBrush(withAlpha(c, 40));
            p.setPen(roundPen(c, 1.8));
            p.drawPath(polygon({ { 5, 4.5 }, { 7, 2.5 }, { 15.5, 2.5 }, { 19, 6 }, { 19, 21.5 }, { 5, 21.5 } }));
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            for (int i = 0; i < 3; ++i)
                p.drawRoundedRect(QRectF(8.2 + i * 2.8, 4.8, 1.6, 4.0), 0.5, 0.5);
            drawCentredText(p, QRectF(5, 11, 14, 9), QStringLiteral("SD"), latinFont(7, QFont::Black), c);
            break;
        }
        case Picto::Folder: {
            QPainterPath tab;
            tab.moveTo(2.5, 18.5);
            tab.lineTo(2.5, 6);
            tab.quadTo(2.5, 4.5, 4, 4.5);
            tab.lineTo(9, 4.5);
            tab.lineTo(11, 7);
            tab.lineTo(20, 7);
            tab.quadTo(21.5, 7, 21.5, 8.5);
            tab.lineTo(21.5, 18.5);
            tab.quadTo(21.5, 20, 20, 20);
            tab.lineTo(4, 20);
            tab.quadTo(2.5, 20, 2.5, 18.5);
            p.setBrush(withAlpha(c, 50));
            p.setPen(roundPen(c, 1.8));
            p.drawPath(tab);
            p.drawLine(QPointF(2.5, 10), QPointF(21.5, 10));
            break;
        }
        case Picto::Trash:
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.8));
            p.drawLine(QPointF(4, 6.5), QPointF(20, 6.5));
            p.drawPath(polygon({ { 9.5, 6.5 }, { 9.5, 3.8 }, { 14.5, 3.8 }, { 14.5, 6.5 } }));
            p.drawPath(polygon({ { 6, 6.5 }, { 7.3, 20.5 }, { 16.7, 20.5 }, { 18, 6.5 } }));
            p.drawLine(QPointF(10, 10.5), QPointF(10.3, 17));
            p.drawLine(QPointF(14, 10.5), QPointF(13.7, 17));
            break;
        case Picto::Copy:
            copyShape(p, c);
            break;
        case Picto::EventCopy:
            copyShape(p, c);
            p.setPen(QPen(kOverlayBehind, 1.4));
            p.setBrush(kRed);
            p.drawEllipse(QPointF(18, 17.5), 5.4, 5.4);
            p.setPen(roundPen(Qt::white, 1.9));
            p.drawLine(QPointF(18, 14.8), QPointF(18, 17.9));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(18, 20.4), 1.0, 1.0);
            break;
        case Picto::Gear: {
            QPolygonF teeth;
            for (int j = 0; j < 32; ++j) {
                const qreal a = (j * 11.25 - 5.6) * M_PI / 180;
                const qreal r = (j % 4 < 2) ? 10.2 : 7.6;
                teeth << QPointF(12 + r * std::cos(a), 12 + r * std::sin(a));
            }
            QPainterPath gear;
            gear.addPolygon(teeth);
            gear.closeSubpath();
            gear = gear.subtracted(circle(12, 12, 3.4));
            p.setPen(roundPen(c, 0.8));
            p.drawPath(gear);
            break;
        }
        case Picto::SpeakerOn:
        case Picto::SpeakerMuted: {
            p.setPen(roundPen(c, 1.2));
            p.drawPath(polygon({ { 3, 9.3 }, { 7, 9.3 }, { 12, 5 }, { 12, 19 }, { 7, 14.7 }, { 3, 14.7 } }));
            p.setBrush(Qt::NoBrush);
            if (picto == Picto::SpeakerOn) {
                p.setPen(roundPen(c, 1.9));
                p.drawArc(QRectF(12 - 4.2, 12 - 4.2, 8.4, 8.4), -50 * 16, 100 * 16);
                p.drawArc(QRectF(12 - 8.2, 12 - 8.2, 16.4, 16.4), -50 * 16, 100 * 16);
            } else {
                p.setPen(roundPen(kRed, 2.1));
                p.drawLine(QPointF(15, 9), QPointF(21, 15));
                p.drawLine(QPointF(21, 9), QPointF(15, 15));
            }
            break;
        }
        case Picto::PinOff:
        case Picto::PinOn: {
            QPainterPath pin;
            pin.moveTo(12, 22);
            pin.cubicTo(8, 17, 4.5, 13.5, 4.5, 9.5);
            pin.arcTo(QRectF(4.5, 2, 15, 15), 180, -180);
            pin.cubicTo(19.5, 13.5, 16, 17, 12, 22);
            pin.closeSubpath();
            pin = pin.subtracted(circle(12, 9.5, 2.8));
            if (picto == Picto::PinOff) {
                p.setBrush(Qt::NoBrush);
                p.setPen(roundPen(c, 2.0));
            }
            p.drawPath(pin);
            break;
        }
        case Picto::MirrorH:
        case Picto::FlipV: {
            // Two triangles facing away from a dashed axis, the original filled and its mirror image hollow.
            p.save();
            if (picto == Picto::FlipV) {
                p.translate(12, 12);
                p.rotate(90);
                p.translate(-12, -12);
            }
            p.setPen(roundPen(c, 1.2));
            p.drawPath(polygon({ { 9.8, 5.5 }, { 9.8, 18.5 }, { 3, 12 } }));
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.6));
            p.drawPath(polygon({ { 14.2, 5.5 }, { 14.2, 18.5 }, { 21, 12 } }));
            QPen dash(withAlpha(c, 170), 1.2, Qt::CustomDashLine, Qt::FlatCap);
            dash.setDashPattern({ 1.5, 1.5 });
            p.setPen(dash);
            p.drawLine(QPointF(12, 2), QPointF(12, 22));
            p.restore();
            break;
        }
        case Picto::Reset:
            circularArrow(p, c, 8.0);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawRoundedRect(QRectF(9.2, 9.7, 5.6, 5.6), 1, 1);
            break;
        case Picto::Car: {
            QPainterPath car;
            car.addRoundedRect(QRectF(2.5, 11, 19, 6.5), 2.2, 2.2);
            car.addPolygon(QPolygonF({ QPointF(6, 11.5), QPointF(8.3, 6), QPointF(15.7, 6), QPointF(18, 11.5) }));
            car.setFillRule(Qt::WindingFill);
            p.drawPath(car.simplified());
            p.setBrush(kOverlayBehind);
            p.drawPath(polygon({ { 8.3, 10.8 }, { 9.5, 7.4 }, { 14.5, 7.4 }, { 15.7, 10.8 } }));
            p.setBrush(c);
            p.setPen(QPen(kOverlayBehind, 1.2));
            p.drawEllipse(QPointF(7.3, 17.5), 2.4, 2.4);
            p.drawEllipse(QPointF(16.7, 17.5), 2.4, 2.4);
            break;
        }
        case Picto::Parking:
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.8));
            p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 3.5, 3.5);
            drawCentredText(p, QRectF(3.5, 3.5, 17, 17), QStringLiteral("P"), latinFont(13, QFont::Black), c);
            break;
        case Picto::Wifi:
            p.setBrush(Qt::NoBrush);
            for (int i = 1; i <= 3; ++i) {
                const qreal r = 4.8 * i;
                p.setPen(roundPen(c, 2.1));
                p.drawArc(QRectF(12 - r, 19.5 - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawEllipse(QPointF(12, 19.2), 1.8, 1.8);
            break;
        case Picto::Sliders:
            for (int i = 0; i < 3; ++i) {
                const qreal y = 6 + i * 6;
                const qreal knob = (i == 1) ? 15 : (i == 0 ? 8 : 11);
                p.setPen(roundPen(c, 1.8));
                p.drawLine(QPointF(3.5, y), QPointF(20.5, y));
                p.setPen(QPen(kOverlayBehind, 1.2));
                p.setBrush(c);
                p.drawEllipse(QPointF(knob, y), 2.6, 2.6);
            }
            break;
        case Picto::Chip:
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.8));
            p.drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
            p.setPen(roundPen(c, 1.3));
            for (int i = 0; i < 2; ++i) {
                const qreal t = 10 + i * 4;
                p.drawLine(QPointF(t, 3), QPointF(t, 6));
                p.drawLine(QPointF(t, 18), QPointF(t, 21));
                p.drawLine(QPointF(3, t), QPointF(6, t));
                p.drawLine(QPointF(18, t), QPointF(21, t));
            }
            break;
        case Picto::Info:
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.8));
            p.drawEllipse(QPointF(12, 12), 9, 9);
            p.setPen(roundPen(c, 2.2));
            p.drawLine(QPointF(12, 11), QPointF(12, 16.5));
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawEllipse(QPointF(12, 7.6), 1.3, 1.3);
            break;
        case Picto::Clock:
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 1.8));
            p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
            p.drawLine(QPointF(12, 12), QPointF(12, 6.8));
            p.drawLine(QPointF(12, 12), QPointF(15.8, 14));
            break;
        case Picto::GSensor:
            p.setPen(roundPen(c, 1.8));
            p.drawLine(QPointF(8, 16), QPointF(8, 4.5));
            p.drawLine(QPointF(8, 16), QPointF(20, 16));
            p.drawLine(QPointF(8, 16), QPointF(3.5, 20.5));
            p.setPen(Qt::NoPen);
            p.drawPath(polygon({ { 8, 2.5 }, { 10.3, 6.2 }, { 5.7, 6.2 } }));
            p.drawPath(polygon({ { 22, 16 }, { 18.3, 13.7 }, { 18.3, 18.3 } }));
            p.drawEllipse(QPointF(8, 16), 2.0, 2.0);
            break;
        case Picto::Bolt:
            p.drawPath(polygon(
                { { 13.5, 2 }, { 5, 13.5 }, { 11, 13.5 }, { 9.5, 22 }, { 19, 9.8 }, { 12.8, 9.8 }, { 15, 2 } }));
            break;
        case Picto::Video:
            p.drawRoundedRect(QRectF(2.5, 6.5, 13, 11), 2.2, 2.2);
            p.setPen(roundPen(c, 1.2));
            p.drawPath(polygon({ { 16.5, 10.5 }, { 21.5, 7.5 }, { 21.5, 16.5 }, { 16.5, 13.5 } }));
            break;
        case Picto::Bookmark:
            p.setPen(roundPen(c, 1.2));
            p.drawPath(polygon({ { 6.5, 3 }, { 17.5, 3 }, { 17.5, 21 }, { 12, 16.2 }, { 6.5, 21 } }));
            break;
        case Picto::GpsFix:
        case Picto::GpsNone:
            p.setBrush(Qt::NoBrush);
            p.setPen(roundPen(c, 2.0));
            p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
            p.drawLine(QPointF(12, 1.8), QPointF(12, 5.5));
            p.drawLine(QPointF(12, 18.5), QPointF(12, 22.2));
            p.drawLine(QPointF(1.8, 12), QPointF(5.5, 12));
            p.drawLine(QPointF(18.5, 12), QPointF(22.2, 12));
            if (picto == Picto::GpsFix) {
                p.setPen(Qt::NoPen);
                p.setBrush(c);
                p.drawEllipse(QPointF(12, 12), 2.8, 2.8);
            } else {
                p.setPen(roundPen(kRed, 2.2));
                p.drawLine(QPointF(4, 20), QPointF(20, 4));
            }
            break;
        }
    });
}

// ---------------------------------------------------------------------------------------------------------
// Buttons
// ---------------------------------------------------------------------------------------------------------
void paintButtonFace(QPainter& p, const QRectF& r, const StateLook& look, qreal radius, int state)
{
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, look.top);
    fill.setColorAt(1, look.bottom);
    p.setPen(QPen(look.border, state == 0 ? 1.0 : 1.4));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (state != 2) {
        // A faint top highlight lifts the button; pressed buttons sit flat.
        p.setPen(QPen(QColor(255, 255, 255, state == 1 ? 46 : 26), 1.0));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    }
}

// A strip of three states, each painted by `paint(painter, stateRect, state)`, flattened over `behind`.
template <class F> QImage strip(QSize stateSize, const QColor& behind, F&& paint)
{
    QImage art = canvas(QSize(stateSize.width() * 3, stateSize.height()));
    QPainter p(&art);
    prepare(p);
    for (int s = 0; s < 3; ++s) {
        p.save();
        const QRectF r(s * stateSize.width(), 0, stateSize.width(), stateSize.height());
        p.setClipRect(r);
        paint(p, r, s);
        p.restore();
    }
    p.end();
    return keyed(art, behind);
}

QImage commonButton()
{
    return strip(QSize(50, 35), kWindow,
        [](QPainter& p, const QRectF& r, int s) { paintButtonFace(p, r.adjusted(1, 1, -1, -1), kButton[s], 6, s); });
}

QImage textButton(QSize stateSize, const QString& text, Module module, bool primary)
{
    const QColor behind = stateSize.height() == 34 ? kMessageBg : kWindow;
    return strip(stateSize, behind, [&](QPainter& p, const QRectF& r, int s) {
        const StateLook& look = primary ? kPrimary[s] : kButton[s];
        paintButtonFace(p, r.adjusted(1, 1, -1, -1), look, 5, s);
        const int px = stateSize.height() >= 34 ? 14 : 13;
        const QFont font = fitted(moduleFont(module, px, QFont::DemiBold), text, r.width() - 12);
        const QColor ink = (primary || s != 0) ? QColor(Qt::white) : kInk;
        drawCentredText(p, r.translated(s == 2 ? 1 : 0, s == 2 ? 1 : 0), text, font, ink);
    });
}

// Small own-strip buttons (volume, map, menu items): the glyph alone when idle, a soft plate on hover,
// an accent plate when pressed.
QImage glyphButton(QSize stateSize, Picto picto, const QColor& idleInk, qreal glyphSize)
{
    return strip(stateSize, kWindow, [&](QPainter& p, const QRectF& r, int s) {
        if (s > 0)
            paintButtonFace(p, r.adjusted(0.5, 0.5, -0.5, -0.5), kButton[s], 4, s);
        const QColor ink = s == 0 ? idleInk : QColor(Qt::white);
        const QRectF box(r.center().x() - glyphSize / 2, r.center().y() - glyphSize / 2, glyphSize, glyphSize);
        paintPicto(p, picto, ink, box);
    });
}

QImage overlay(Picto picto, const QColor& ink)
{
    QImage art = canvas(QSize(30, 26));
    QPainter p(&art);
    prepare(p);
    paintPicto(p, picto, ink, QRectF(3, 1, 24, 24));
    p.end();
    return keyed(art, kOverlayBehind);
}

QImage captionButton(int id)
{
    return strip(QSize(26, 14), kCaptionTop, [id](QPainter& p, const QRectF& r, int s) {
        const bool close = id == 3000;
        if (s > 0) {
            const QColor fill = close ? (s == 1 ? QColor(220, 64, 64) : QColor(160, 40, 40))
                                      : (s == 1 ? QColor(78, 85, 98) : kAccentDeep);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRoundedRect(r.adjusted(1, 0, -1, 0), 4, 4);
        }
        const QColor ink = s == 0 ? kInkDim : QColor(Qt::white);
        p.setPen(roundPen(ink, 1.5));
        p.setBrush(Qt::NoBrush);
        const QPointF c = r.center();
        switch (id) {
        case 3000:
            p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
            p.drawLine(c + QPointF(4, -4), c + QPointF(-4, 4));
            break;
        case 3001:
            p.drawRect(QRectF(c.x() - 4.5, c.y() - 4, 9, 8));
            break;
        case 3002:
            p.drawLine(c + QPointF(-4.5, 3.5), c + QPointF(4.5, 3.5));
            break;
        case 3003:
            p.drawRect(QRectF(c.x() - 5, c.y() - 2, 7.5, 6.5));
            p.drawPolyline(QPolygonF({ c + QPointF(-2.5, -2), c + QPointF(-2.5, -4.5), c + QPointF(5, -4.5),
                c + QPointF(5, 2), c + QPointF(2.5, 2) }));
            break;
        }
    });
}

// ---------------------------------------------------------------------------------------------------------
// Frame
// ---------------------------------------------------------------------------------------------------------
QImage framePiece(int id)
{
    const QSize size = info(id)->size;
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    const auto caption = [&] {
        QLinearGradient g(0, 0, 0, size.height());
        g.setColorAt(0, kCaptionTop);
        g.setColorAt(1, kCaptionBottom);
        p.fillRect(all, g);
        p.fillRect(QRectF(0, size.height() - 1, size.width(), 1), QColor(18, 19, 22));
        p.fillRect(QRectF(0, 0, size.width(), 1), kEdge.lighter(118));
    };
    const auto body = [&] { p.fillRect(all, kCaptionBottom); };
    switch (id) {
    case 3004:
        caption();
        break;
    case 3005:
        caption();
        p.fillRect(QRectF(0, 0, 1, size.height()), kEdge);
        break;
    case 3006:
        caption();
        p.fillRect(QRectF(size.width() - 1, 0, 1, size.height()), kEdge);
        break;
    case 3007:
        body();
        p.fillRect(QRectF(0, 0, 1, size.height()), kEdge);
        p.fillRect(QRectF(size.width() - 1, 0, 1, size.height()), QColor(20, 21, 24));
        break;
    case 3008:
        body();
        p.fillRect(QRectF(size.width() - 1, 0, 1, size.height()), kEdge);
        p.fillRect(QRectF(0, 0, 1, size.height()), QColor(20, 21, 24));
        break;
    case 3009:
        body();
        p.fillRect(QRectF(0, size.height() - 1, size.width(), 1), kEdge);
        p.fillRect(QRectF(0, 0, size.width(), 1), QColor(20, 21, 24));
        break;
    case 3010:
        body();
        p.fillRect(QRectF(0, 0, 1, size.height()), kEdge);
        p.fillRect(QRectF(0, size.height() - 1, size.width(), 1), kEdge);
        break;
    case 3011:
        body();
        p.fillRect(QRectF(size.width() - 1, 0, 1, size.height()), kEdge);
        p.fillRect(QRectF(0, size.height() - 1, size.width(), 1), kEdge);
        break;
    case 3012: {
        caption();
        p.setPen(QPen(QColor(70, 76, 88), 1));
        p.setBrush(QColor(26, 28, 32));
        const qreal mid = size.height() / 2.0;
        p.drawRoundedRect(QRectF(1.5, mid - 9.5, size.width() - 3, 19), 9.5, 9.5);
        QRadialGradient led(QPointF(11, mid), 5);
        led.setColorAt(0, kGreen.lighter(130));
        led.setColorAt(1, kGreen.darker(140));
        p.setPen(Qt::NoPen);
        p.setBrush(led);
        p.drawEllipse(QPointF(11, mid), 3.5, 3.5);
        break;
    }
    }
    p.end();
    return opaque(art, kWindow);
}

QImage captionIcon()
{
    QImage art = canvas(QSize(22, 22));
    QPainter p(&art);
    prepare(p);
    p.scale(22.0 / 28.0, 22.0 / 28.0); // designed on a 28 px grid
    QLinearGradient g(0, 2, 0, 26);
    g.setColorAt(0, QColor(60, 176, 255));
    g.setColorAt(1, kAccentDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 24, 24), 6, 6);
    // A lens: the camera's eye.
    p.setBrush(QColor(16, 22, 32));
    p.drawEllipse(QPointF(14, 14), 7.5, 7.5);
    p.setBrush(QColor(40, 120, 200));
    p.drawEllipse(QPointF(14, 14), 4.2, 4.2);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(QPointF(12.3, 12.2), 1.5, 1.5);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(21.5, 6.5), 1.8, 1.8);
    p.end();
    return keyed(art, kCaptionTop);
}

// ---------------------------------------------------------------------------------------------------------
// Settings dialogs
// ---------------------------------------------------------------------------------------------------------
QImage settingsPiece(int id)
{
    const QSize size = info(id)->size;
    if (id == 3014) {
        return strip(QSize(120, 30), kWindow, [](QPainter& p, const QRectF& r, int s) {
            const QColor fills[3] = { QColor(38, 41, 47), QColor(52, 57, 66), QColor(31, 33, 37) };
            QPainterPath tab;
            const QRectF t = r.adjusted(1, 1, -1, 0);
            tab.addRoundedRect(t.adjusted(0, 0, 0, 6), 6, 6);
            p.setClipRect(r);
            p.setPen(QPen(s == 2 ? kEdge.lighter(120) : kEdge, 1));
            p.setBrush(fills[s]);
            p.drawPath(tab);
            if (s == 2) {
                p.setPen(Qt::NoPen);
                p.setBrush(kAccent);
                p.drawRoundedRect(QRectF(t.left() + 8, t.top() + 1, t.width() - 16, 3), 1.5, 1.5);
            } else {
                p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), kEdge);
            }
            if (s == 1)
                p.fillRect(QRectF(t.left() + 8, t.top() + 1, t.width() - 16, 2), withAlpha(kAccent, 110));
        });
    }
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    switch (id) {
    case 3015:
        p.fillRect(all, QColor(31, 33, 37));
        p.setPen(QPen(kEdge, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
        break;
    case 3016: {
        QLinearGradient g(0, 0, size.width(), 0);
        g.setColorAt(0, QColor(80, 86, 98));
        g.setColorAt(1, QColor(46, 50, 58));
        p.fillRect(QRectF(0, 0, size.width(), 1), g);
        p.fillRect(QRectF(0, 1, size.width(), 1), QColor(18, 19, 22));
        break;
    }
    case 3017:
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(all, 2, 2);
        break;
    }
    p.end();
    return opaque(art, id == 3017 ? QColor(31, 33, 37) : kWindow);
}

QImage smallMark(int id)
{
    const QSize size = info(id)->size;
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    if (id >= 3018 && id <= 3020) {
        // The pie chart's slice colours: normal red, event green, parking yellow.
        const QColor colours[3] = { QColor(230, 70, 70), QColor(70, 200, 100), QColor(240, 210, 60) };
        p.setPen(QPen(colours[id - 3018].lighter(130), 1));
        p.setBrush(colours[id - 3018]);
        p.drawRoundedRect(all.adjusted(1.5, 1.5, -1.5, -1.5), 2.5, 2.5);
    } else {
        static const QHash<int, Picto> pictos = { { 3021, Picto::Car }, { 3022, Picto::Parking }, { 3023, Picto::Wifi },
            { 3024, Picto::Gear }, { 3025, Picto::Sliders }, { 3026, Picto::Chip }, { 3027, Picto::Info } };
        paintPicto(p, pictos.value(id), id == 3027 ? kAccent : kInk, all);
    }
    p.end();
    return keyed(art, QColor(31, 33, 37));
}

QImage checkBox(bool checked)
{
    QImage art = canvas(QSize(15, 15));
    QPainter p(&art);
    prepare(p);
    const QRectF box(1, 1, 13, 13);
    p.setPen(QPen(checked ? kAccent : QColor(110, 118, 132), 1.2));
    p.setBrush(checked ? kAccent : QColor(34, 37, 42));
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    if (checked) {
        p.setPen(roundPen(Qt::white, 1.8));
        p.drawPolyline(QPolygonF({ QPointF(4.2, 7.6), QPointF(6.6, 10), QPointF(11, 4.9) }));
    }
    p.end();
    return keyed(art, kWindow);
}

QImage radio()
{
    QImage art = canvas(QSize(30, 15));
    QPainter p(&art);
    prepare(p);
    for (int half = 0; half < 2; ++half) {
        const QPointF c(half * 15 + 7.5, 7.5);
        const bool checked = half == 0;
        p.setPen(QPen(checked ? kAccent : QColor(110, 118, 132), 1.4));
        p.setBrush(QColor(30, 33, 38));
        p.drawEllipse(c, 6.2, 6.2);
        if (checked) {
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawEllipse(c, 3.4, 3.4);
        }
    }
    p.end();
    return keyed(art, kWindow);
}

// ---------------------------------------------------------------------------------------------------------
// Main window: speed entries, map providers, menus, sliders
// ---------------------------------------------------------------------------------------------------------
QImage speedEntry(int id)
{
    static const char* const labels[] = { "0.4", "0.6", "0.8", "1.0", "2.0" };
    const QString text = QString::fromLatin1(labels[id - 3140]) + QChar(0x00D7);
    QImage art = canvas(QSize(44, 26));
    QPainter p(&art);
    prepare(p);
    const QColor ink = id == 3143 ? kInk : kAccent.lighter(125);
    drawCentredText(p, QRectF(0, 0, 44, 26), text, latinFont(15, QFont::Bold), ink);
    p.end();
    return keyed(art, kOverlayBehind);
}

QImage mapProvider(int id, Module module)
{
    struct Provider
    {
        const char* latin;
        const char* korean;
        QColor dot;
    };
    static const Provider providers[] = {
        { "Daum", "\xEB\x8B\xA4\xEC\x9D\x8C", QColor(70, 140, 255) },
        { "Google", "\xEA\xB5\xAC\xEA\xB8\x80", QColor(240, 90, 80) },
        { "Naver", "\xEB\x84\xA4\xEC\x9D\xB4\xEB\xB2\x84", QColor(60, 200, 100) },
    };
    const Provider& pr = providers[id - 3145];
    const QString name = QString::fromUtf8(module == Module::Korean ? pr.korean : pr.latin);
    return strip(QSize(68, 26), kWindow, [&](QPainter& p, const QRectF& r, int s) {
        paintButtonFace(p, r.adjusted(0.5, 0.5, -0.5, -0.5), kButton[s], 5, s);
        p.setPen(Qt::NoPen);
        p.setBrush(pr.dot);
        p.drawEllipse(QPointF(r.left() + 9, r.center().y()), 3, 3);
        const QFont font = fitted(moduleFont(module, 12, QFont::DemiBold), name, 40);
        drawCentredText(p, QRectF(r.left() + 13, r.top(), 42, r.height()), name, font, s == 0 ? kInk : Qt::white);
        p.setBrush(s == 0 ? kInkDim : QColor(Qt::white));
        const qreal x = r.right() - 10;
        const qreal y = r.center().y() - 1.5;
        p.drawPath(polygon({ { x - 3.5, y }, { x + 3.5, y }, { x, y + 4 } }));
    });
}

QImage menuBackground()
{
    return strip(QSize(44, 26), kWindow, [](QPainter& p, const QRectF& r, int s) {
        const QColor fills[3] = { QColor(38, 42, 48), QColor(28, 84, 146), QColor(20, 64, 112) };
        p.fillRect(r, fills[s]);
        if (s > 0)
            p.fillRect(QRectF(r.left(), r.top(), 3, r.height()), kAccent);
    });
}

QImage rotationEntry(int id)
{
    const Picto pictos[3] = { Picto::MirrorH, Picto::FlipV, Picto::Reset };
    return strip(QSize(50, 30), kWindow, [&](QPainter& p, const QRectF& r, int s) {
        const QColor fills[3] = { QColor(38, 42, 48), QColor(28, 84, 146), QColor(20, 64, 112) };
        p.fillRect(r, fills[s]);
        if (s > 0)
            p.fillRect(QRectF(r.left(), r.top(), 3, r.height()), kAccent);
        paintPicto(p, pictos[id - 3149], s == 0 ? kInk : QColor(Qt::white),
            QRectF(r.center().x() - 11, r.center().y() - 11, 22, 22));
    });
}

QImage listTab(bool showList)
{
    return strip(QSize(10, 60), kWindow, [showList](QPainter& p, const QRectF& r, int s) {
        const QColor fills[3] = { QColor(44, 48, 56), QColor(62, 70, 82), kAccentDeep };
        p.setPen(QPen(s == 0 ? kEdge : kAccent, 1));
        p.setBrush(fills[s]);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        p.setPen(roundPen(s == 0 ? kInkDim : QColor(Qt::white), 1.6));
        const qreal cx = r.center().x();
        const qreal dir = showList ? -1 : 1; // the list comes in from the right, goes out to the right
        for (int i = -1; i <= 1; i += 2) {
            const qreal cy = r.center().y() + i * 7;
            p.drawPolyline(QPolygonF(
                { QPointF(cx - dir * 1.6, cy - 3.5), QPointF(cx + dir * 1.6, cy), QPointF(cx - dir * 1.6, cy + 3.5) }));
        }
    });
}

QImage sliderPiece(int id)
{
    const QSize size = info(id)->size;
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    const qreal w = size.width();
    const qreal h = size.height();
    switch (id) {
    case 3200:
    case 3201: {
        // A volume wedge growing to the right, low in the control to line up with the button row.
        QPainterPath wedge;
        wedge.moveTo(4, 27);
        wedge.lineTo(w - 4, 27);
        wedge.lineTo(w - 4, 13);
        wedge.closeSubpath();
        if (id == 3200) {
            p.setPen(QPen(QColor(70, 76, 88), 1));
            p.setBrush(QColor(44, 48, 55));
        } else {
            QLinearGradient g(0, 0, w, 0);
            g.setColorAt(0, kAccentDeep);
            g.setColorAt(1, kAccent.lighter(115));
            p.setPen(QPen(kAccent.lighter(130), 1));
            p.setBrush(g);
        }
        p.drawPath(wedge);
        break;
    }
    case 3202: {
        QLinearGradient g(0, 0, w, 0);
        g.setColorAt(0, QColor(30, 32, 36));
        g.setColorAt(1, QColor(150, 156, 166));
        p.setPen(QPen(QColor(74, 80, 92), 1));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(6, h / 2 - 3, w - 12, 6), 3, 3);
        break;
    }
    case 3204:
    case 3205: {
        const QRectF bar(0.5, 0.5, w - 1, h - 1);
        if (id == 3204) {
            p.setPen(QPen(QColor(56, 60, 68), 1));
            p.setBrush(QColor(30, 32, 36));
        } else {
            QLinearGradient g(0, 0, 0, h);
            g.setColorAt(0, kAccent.lighter(125));
            g.setColorAt(1, kAccentDeep);
            p.setPen(Qt::NoPen);
            p.setBrush(g);
        }
        p.drawRoundedRect(bar, 4.5, 4.5);
        break;
    }
    case 3206:
    case 3207:
    case 3208: {
        // Ticks at the option slider's steps: a 9 px margin, then ten equal steps.
        const qreal margin = 9;
        const qreal step = (w - 2 * margin) / 10;
        p.setPen(QPen(QColor(70, 76, 88), 1));
        p.setBrush(id == 3208 ? QBrush(kAccent) : QBrush(QColor(44, 48, 55)));
        p.drawRoundedRect(QRectF(margin - 3, h / 2 - 2.5, w - 2 * margin + 6, 5), 2.5, 2.5);
        if (id != 3208) {
            for (int i = 0; i <= 10; ++i) {
                const bool used = id == 3206 || (i >= 1 && i <= 4);
                if (!used)
                    continue;
                const qreal x = margin + i * step;
                p.setPen(QPen(id == 3207 ? kAccent : QColor(96, 104, 118), 1.2));
                p.drawLine(QPointF(x, h / 2 + 5), QPointF(x, h / 2 + 9));
            }
        }
        break;
    }
    }
    p.end();
    return opaque(art, id >= 3206 ? QColor(31, 33, 37) : kWindow);
}

QImage thumb(int id)
{
    const QSize size = info(id)->size;
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(244, 246, 250));
    g.setColorAt(1, QColor(190, 198, 210));
    p.setPen(QPen(kAccent, 1.6));
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() / 2 - 0.5, r.width() / 2 - 0.5);
    p.setPen(QPen(QColor(120, 128, 142), 1));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(r.center().x() - 2.5, r.center().y() + i * 3),
            QPointF(r.center().x() + 2.5, r.center().y() + i * 3));
    p.end();
    return keyed(art, id == 3209 ? QColor(31, 33, 37) : kWindow);
}

// ---------------------------------------------------------------------------------------------------------
// Copy dialog (black background)
// ---------------------------------------------------------------------------------------------------------
void paintCard(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(66, 74, 88));
    g.setColorAt(1, QColor(36, 40, 48));
    const qreal cut = r.width() * 0.26;
    QPainterPath card = polygon({ r.topLeft() + QPointF(0, 4), r.topLeft() + QPointF(4, 0),
        r.topRight() - QPointF(cut, 0), r.topRight() + QPointF(0, cut), r.bottomRight(), r.bottomLeft() });
    p.setPen(QPen(QColor(120, 130, 148), 1.5));
    p.setBrush(g);
    p.drawPath(card);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 176, 70));
    const qreal cw = (r.width() - cut - 10) / 4;
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(r.left() + 6 + i * cw, r.top() + 5, cw - 3, r.height() * 0.2), 1, 1);
    drawCentredText(p, QRectF(r.left(), r.top() + r.height() * 0.4, r.width(), r.height() * 0.5), QStringLiteral("SD"),
        latinFont(int(r.height() * 0.32), QFont::Black), QColor(220, 226, 236));
}

void paintDocument(QPainter& p, const QRectF& r, const QColor& tint, qreal opacity)
{
    p.save();
    p.setOpacity(opacity);
    const qreal fold = r.width() * 0.32;
    p.setPen(QPen(tint.lighter(140), 1.2));
    p.setBrush(QColor(30, 38, 52));
    p.drawPath(polygon({ r.topLeft(), r.topRight() - QPointF(fold, 0), r.topRight() + QPointF(0, fold), r.bottomRight(),
        r.bottomLeft() }));
    p.setPen(Qt::NoPen);
    p.setBrush(tint);
    p.drawPath(
        polygon({ r.center() + QPointF(-3, -4.5), r.center() + QPointF(4.5, 0), r.center() + QPointF(-3, 4.5) }));
    p.restore();
}

QImage copySide(int id)
{
    const QSize size = info(id)->size;
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    if (id == 3300) {
        paintCard(p, QRectF(24, 12, 52, 66));
    } else {
        // The desktop backup folder.
        const QRectF r(14, 22, 72, 54);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(64, 150, 240));
        g.setColorAt(1, QColor(24, 90, 170));
        QPainterPath back;
        back.moveTo(r.left(), r.bottom() - 4);
        back.lineTo(r.left(), r.top() - 6);
        back.lineTo(r.left() + 24, r.top() - 6);
        back.lineTo(r.left() + 30, r.top());
        back.lineTo(r.right(), r.top());
        back.lineTo(r.right(), r.bottom() - 4);
        back.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 74, 140));
        p.drawPath(back);
        paintDocument(p, QRectF(r.left() + 14, r.top() - 12, 26, 32), kAccent, 1.0);
        p.setBrush(g);
        p.setPen(QPen(QColor(120, 190, 255), 1.2));
        p.drawRoundedRect(QRectF(r.left(), r.top() + 10, r.width(), r.height() - 10), 4, 4);
    }
    p.end();
    return opaque(art, Qt::black);
}

QImage copyAnimation()
{
    const int fw = 157;
    const int fh = 90;
    QImage art = canvas(QSize(fw, fh * 13));
    QPainter p(&art);
    prepare(p);
    for (int k = 0; k < 13; ++k) {
        p.save();
        p.translate(0, k * fh);
        p.setClipRect(QRect(0, 0, fw, fh));
        // The track: dots along an arc from the card to the folder, lit behind the moving file.
        const auto along = [&](qreal t) {
            const qreal x = 20 + t * (fw - 40);
            const qreal y = 50 - std::sin(t * M_PI) * 22;
            return QPointF(x, y);
        };
        const qreal t = k / 12.0;
        for (int i = 0; i <= 16; ++i) {
            const qreal u = i / 16.0;
            const bool lit = u <= t;
            p.setPen(Qt::NoPen);
            p.setBrush(lit ? withAlpha(kAccent, 200) : QColor(60, 64, 72));
            p.drawEllipse(along(u), lit ? 2.0 : 1.6, lit ? 2.0 : 1.6);
        }
        const QPointF at = along(t);
        // The file leaves a short fading trail behind it.
        for (int trail = 2; trail >= 1; --trail) {
            if (t - trail * 0.06 < 0)
                continue;
            const QPointF tp = along(t - trail * 0.06);
            paintDocument(p, QRectF(tp.x() - 11, tp.y() - 14, 22, 28), kAccent, 0.12 * (3 - trail));
        }
        paintDocument(p, QRectF(at.x() - 11, at.y() - 14, 22, 28), kAccent, 1.0);
        // A row of pills under the track counts the frames, so the motion reads even in a small dialog.
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 13; ++i) {
            p.setBrush(i <= k ? withAlpha(kAccent, 220) : QColor(44, 48, 56));
            p.drawRoundedRect(QRectF(14 + i * 10, 78, 7, 4), 2, 2);
        }
        p.restore();
    }
    p.end();
    return opaque(art, Qt::black);
}

// ---------------------------------------------------------------------------------------------------------
// Readouts: time digits, three-axis glyphs, GPS, speed panels
// ---------------------------------------------------------------------------------------------------------
// A glyph of `text` centred horizontally, standing on a common baseline so that a row of cells lines up.
QImage glyph(QSize size, const QString& text, const QColor& ink, int px)
{
    QImage art = canvas(size);
    if (!text.isEmpty()) {
        QPainter p(&art);
        prepare(p);
        const QFont font = latinFont(px, QFont::Bold);
        QPainterPath path;
        path.addText(0, 0, font, text);
        const QFontMetricsF fm(font);
        // Digits are cap-height tall: centre the cap height in the cell.
        const qreal baseline = (size.height() + fm.capHeight()) / 2.0;
        const qreal dx = size.width() / 2.0 - path.boundingRect().center().x();
        p.fillPath(path.translated(dx, std::round(baseline)), ink);
    }
    return keyed(art, kWindow);
}

QImage timeGlyph(int id)
{
    const QColor ink(234, 238, 244);
    if (id <= 3312)
        return glyph(QSize(11, 16), QString::number(id - 3303), ink, 17);
    if (id == 3313)
        return glyph(QSize(5, 16), QStringLiteral(":"), ink, 17);
    return glyph(QSize(10, 16), QStringLiteral("/"), kInkDim, 16);
}

QImage axisGlyph(int id)
{
    struct Axis
    {
        int label, plus, minus, digit0;
        const char* name;
    };
    static const Axis axes[3]
        = { { 3322, 3324, 3325, 3326, "X" }, { 3336, 3339, 3338, 3340, "Y" }, { 3350, 3352, 3353, 3354, "Z" } };
    const QSize cell(10, 16);
    for (int a = 0; a < 3; ++a) {
        const Axis& ax = axes[a];
        const QColor ink = kAxis[a];
        if (id == ax.label)
            return glyph(cell, QString::fromLatin1(ax.name), ink, 15);
        if (id == ax.label + 1)
            return glyph(QSize(6, 16), QStringLiteral(":"), kInkDim, 15);
        if (id == ax.plus)
            return glyph(cell, QStringLiteral("+"), ink, 16);
        if (id == ax.minus)
            return glyph(cell, QString(QChar(0x2212)), ink, 16);
        if (id >= ax.digit0 && id <= ax.digit0 + 9)
            return glyph(cell, QString::number(id - ax.digit0), ink, 16);
    }
    // 3364: the blank sign shared by the three axes.
    return glyph(cell, QString(), kInk, 16);
}

QImage readoutMark(int id)
{
    QImage art = canvas(QSize(16, 16));
    QPainter p(&art);
    prepare(p);
    paintPicto(p, id == 3365 ? Picto::Clock : Picto::GSensor, kInkDim, QRectF(0, 0, 16, 16));
    p.end();
    return keyed(art, kWindow);
}

void paintPanel(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(40, 44, 51));
    g.setColorAt(1, QColor(26, 28, 33));
    p.setPen(QPen(QColor(64, 70, 82), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
}

QImage gpsIndicator(bool fix)
{
    QImage art = canvas(QSize(44, 38));
    QPainter p(&art);
    prepare(p);
    paintPanel(p, QRectF(0, 0, 42, 38));
    const QColor ink = fix ? kGreen : QColor(110, 116, 128);
    paintPicto(p, fix ? Picto::GpsFix : Picto::GpsNone, ink, QRectF(11, 3, 20, 20));
    drawCentredText(p, QRectF(0, 24, 42, 12), QStringLiteral("GPS"), latinFont(9, QFont::Bold), ink);
    p.end();
    return opaque(art, kWindow);
}

QImage speedPanel(bool miles)
{
    QImage art = canvas(QSize(130, 38));
    QPainter p(&art);
    prepare(p);
    paintPanel(p, QRectF(0, 0, 130, 38));
    // The speed number is drawn by the viewer right-aligned 45 px before the right edge; the unit sits
    // in those last 45 px, on the number's baseline.
    const QFont unit = latinFont(12, QFont::Bold);
    QPainterPath path;
    path.addText(0, 0, unit, miles ? QStringLiteral("mi/h") : QStringLiteral("km/h"));
    p.fillPath(path.translated(130 - 42, 28), kAccent.lighter(120));
    p.end();
    return opaque(art, kWindow);
}

// ---------------------------------------------------------------------------------------------------------
// Message box decorations: a tall plate with the message's sign.
// ---------------------------------------------------------------------------------------------------------
QImage messageDecoration(int id)
{
    QImage art = canvas(QSize(65, 115));
    QPainter p(&art);
    prepare(p);
    const QColor tone = id == 3319 ? kAccent : (id == 3320 ? kAmber : kRed);
    QLinearGradient g(0, 0, 0, 115);
    g.setColorAt(0, QColor(36, 39, 45));
    g.setColorAt(1, QColor(28, 30, 34));
    p.setPen(QPen(QColor(52, 56, 64), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 64, 114), 8, 8);
    QRadialGradient glow(QPointF(32.5, 40), 30);
    glow.setColorAt(0, withAlpha(tone, 60));
    glow.setColorAt(1, withAlpha(tone, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(32.5, 40), 30, 30);
    const QPointF c(32.5, 40);
    p.setBrush(tone);
    if (id == 3319) {
        p.drawEllipse(c, 17, 17);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(c.x(), c.y() - 8), 2.6, 2.6);
        p.setPen(roundPen(Qt::white, 4.2));
        p.drawLine(QPointF(c.x(), c.y() - 1), QPointF(c.x(), c.y() + 9));
    } else if (id == 3320) {
        QPainterPath tri = polygon({ { c.x(), c.y() - 18 }, { c.x() + 19, c.y() + 14 }, { c.x() - 19, c.y() + 14 } });
        p.setPen(roundPen(tone, 4));
        p.drawPath(tri);
        p.setPen(roundPen(QColor(30, 24, 10), 4));
        p.drawLine(QPointF(c.x(), c.y() - 6), QPointF(c.x(), c.y() + 3));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 24, 10));
        p.drawEllipse(QPointF(c.x(), c.y() + 9), 2.3, 2.3);
    } else {
        QPolygonF oct;
        for (int i = 0; i < 8; ++i) {
            const qreal a = (22.5 + i * 45) * M_PI / 180;
            oct << QPointF(c.x() + 18 * std::cos(a), c.y() + 18 * std::sin(a));
        }
        p.setPen(roundPen(tone, 2));
        p.drawPolygon(oct);
        p.setPen(roundPen(Qt::white, 4));
        p.drawLine(c + QPointF(-6.5, -6.5), c + QPointF(6.5, 6.5));
        p.drawLine(c + QPointF(6.5, -6.5), c + QPointF(-6.5, 6.5));
    }
    p.end();
    return opaque(art, kMessageBg);
}

// ---------------------------------------------------------------------------------------------------------
// Recording list: parts, header pictures, row icons
// ---------------------------------------------------------------------------------------------------------
void paintHeaderBackground(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(46, 50, 57));
    g.setColorAt(1, QColor(36, 39, 45));
    p.fillRect(r, g);
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), QColor(18, 19, 22));
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), QColor(62, 67, 77));
}

QImage listPart(int id)
{
    const QSize size = info(id)->size;
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    bool transparent = false;
    switch (id) {
    case 3400:
        paintHeaderBackground(p, all);
        break;
    case 3401:
        paintHeaderBackground(p, all);
        p.fillRect(QRectF(0, 5, 1, size.height() - 10), QColor(20, 21, 24));
        p.fillRect(QRectF(1, 5, 1, size.height() - 10), QColor(70, 76, 86));
        break;
    case 3402:
        p.fillRect(all, QColor(30, 32, 36));
        break;
    case 3403:
        p.fillRect(all, QColor(34, 37, 42));
        break;
    case 3404:
        p.fillRect(all, QColor(24, 70, 122));
        p.fillRect(QRectF(0, 0, size.width(), 1), QColor(46, 120, 200));
        p.fillRect(QRectF(0, size.height() - 1, size.width(), 1), QColor(46, 120, 200));
        break;
    case 3405:
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPath(polygon({ { 1.5, 1 }, { 7, 4 }, { 1.5, 7 } }));
        transparent = true;
        break;
    case 3406:
        p.fillRect(all, QColor(30, 32, 36));
        p.fillRect(QRectF(0, 0, 1, size.height()), QColor(22, 23, 26));
        break;
    case 3407:
        p.setPen(QPen(QColor(96, 104, 118), 1));
        p.setBrush(QColor(72, 78, 90));
        p.drawRoundedRect(all.adjusted(1.5, 1.5, -1.5, -1.5), 3.5, 3.5);
        transparent = true;
        break;
    case 3408:
        p.setPen(Qt::NoPen);
        p.setBrush(kInkDim);
        p.drawPath(polygon({ { 0.5, 5.5 }, { 4.5, 0.5 }, { 8.5, 5.5 } }));
        transparent = true;
        break;
    }
    p.end();
    return transparent ? keyed(art, QColor(32, 34, 38)) : opaque(art, kWindow);
}

// The words an image carries, per module (UTF-8).
struct ModuleTexts
{
    int id;
    const char* en;
    const char* ko;
    const char* ja;
};

template <size_t N> QString textOf(const ModuleTexts (&texts)[N], int id, Module module)
{
    for (const ModuleTexts& t : texts) {
        if (t.id == id)
            return QString::fromUtf8(module == Module::English ? t.en : (module == Module::Korean ? t.ko : t.ja));
    }
    return QString();
}

QString headerText(int id, Module module)
{
    static const ModuleTexts texts[] = {
        { 3409, "Used", "\xEC\x82\xAC\xEC\x9A\xA9", "\xE4\xBD\xBF\xE7\x94\xA8" },
        { 3410, "All", "\xEC\xA0\x84\xEC\xB2\xB4", "\xE5\x85\xA8\xE3\x81\xA6" },
        { 3411, "Capacity", "\xEC\x9A\xA9\xEB\x9F\x89", "\xE5\xAE\xB9\xE9\x87\x8F" },
        { 3412, "Date", "\xEB\x82\xA0\xEC\xA7\x9C", "\xE6\x97\xA5\xE4\xBB\x98" },
        { 3413, "Name", "\xEC\x9D\xB4\xEB\xA6\x84", "\xE5\x90\x8D\xE5\x89\x8D" },
        { 3414, "Normal", "\xEC\x83\x81\xEC\x8B\x9C", "\xE5\xB8\xB8\xE6\x99\x82" },
        { 3415, "Parking", "\xEC\xA3\xBC\xEC\xB0\xA8", "\xE9\xA7\x90\xE8\xBB\x8A" },
        { 3416, "Event", "\xEC\x9D\xB4\xEB\xB2\xA4\xED\x8A\xB8", "\xE3\x82\xA4\xE3\x83\x99\xE3\x83\xB3\xE3\x83\x88" },
        { 3417, "Free", "\xEC\x97\xAC\xEC\x9C\xA0", "\xE7\xA9\xBA\xE3\x81\x8D" },
    };
    return textOf(texts, id, module);
}

QImage headerPicture(int id, Module module)
{
    const QSize size = imageSize(id, module);
    QImage art = canvas(size);
    QPainter p(&art);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    paintHeaderBackground(p, all);
    const QString text = headerText(id, module);
    qreal left = 6;
    const bool category = id == 3410 || (id >= 3414 && id <= 3416);
    if (category) {
        // The category column cycles on click: a coloured dot names the category shown.
        const QColor dot = id == 3416 ? kRed : id == 3415 ? kAmber : id == 3414 ? kAccent : kInk;
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(QPointF(5.5, size.height() / 2.0), 2.5, 2.5);
        left = 10;
    }
    const QFont font = fitted(moduleFont(module, 12, QFont::Bold), text, size.width() - left - 2);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const qreal baseline = std::round(centredBaseline(path, font, text, size.height() / 2.0));
    p.fillPath(path.translated(left - path.boundingRect().left(), baseline), QColor(200, 206, 216));
    p.end();
    return opaque(art, kWindow);
}

QImage rowIcon(int id)
{
    QImage art = canvas(QSize(20, 20));
    QPainter p(&art);
    prepare(p);
    QColor tone;
    Picto picto = Picto::Video;
    switch (id) {
    case 3500:
    case 3504:
        tone = QColor(48, 136, 232);
        picto = Picto::Video;
        break;
    case 3501:
    case 3503:
        tone = QColor(226, 68, 68);
        picto = Picto::Bolt;
        break;
    case 3502:
    case 3505:
    case 3506:
        tone = QColor(230, 150, 30);
        break;
    default:
        tone = QColor(112, 122, 138);
        picto = Picto::Bookmark;
        break;
    }
    QLinearGradient g(0, 1, 0, 19);
    g.setColorAt(0, tone.lighter(118));
    g.setColorAt(1, tone.darker(118));
    p.setPen(QPen(tone.darker(150), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, 17, 17), 4.5, 4.5);
    if (id == 3502 || id == 3505 || id == 3506)
        drawCentredText(p, QRectF(1.5, 1.5, 17, 17), QStringLiteral("P"), latinFont(14, QFont::Black), Qt::white);
    else
        paintPicto(p, picto, Qt::white, QRectF(4, 4, 12, 12));
    if (id == 3503 || id == 3504 || id == 3505) {
        // A suffixed (16-character) name: a folded corner.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(polygon({ { 12.5, 1.5 }, { 18.5, 1.5 }, { 18.5, 7.5 } }));
    }
    if (id == 3506) {
        // Parking with an impact: a small red bolt badge.
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(kRed);
        p.drawEllipse(QPointF(15, 15), 4.4, 4.4);
        paintPicto(p, Picto::Bolt, Qt::white, QRectF(11.5, 11.5, 7, 7));
    }
    p.end();
    return art.convertToFormat(QImage::Format_ARGB32);
}

QString buttonText(int id, Module module)
{
    static const ModuleTexts texts[] = {
        { 3124, "OK", "\xED\x99\x95\xEC\x9D\xB8", "OK" },
        { 3125, "Cancel", "\xEC\xB7\xA8\xEC\x86\x8C", "\xE3\x82\xAD\xE3\x83\xA3\xE3\x83\xB3\xE3\x82\xBB\xE3\x83\xAB" },
        { 3126, "Cancel", "\xEC\xB7\xA8\xEC\x86\x8C", "\xE3\x82\xAD\xE3\x83\xA3\xE3\x83\xB3\xE3\x82\xBB\xE3\x83\xAB" },
        { 3127, "Format", "\xEC\x9D\xBC\xEB\xB0\x98 \xED\x8F\xAC\xEB\xA7\xB7",
            "\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xBC\xE3\x83\x9E\xE3\x83\x83\xE3\x83\x88" },
        { 3128, "Ignore", "\xEB\xAC\xB4\xEC\x8B\x9C", "\xE7\x84\xA1\xE8\xA6\x96" },
        { 3129, "Recovery", "\xEB\xB3\xB5\xEA\xB5\xAC", "\xE5\xBE\xA9\xE6\x97\xA7" },
        { 3130, "No", "\xEC\x95\x84\xEB\x8B\x88\xEC\x9A\x94", "\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88" },
        { 3131, "OK", "\xED\x99\x95\xEC\x9D\xB8", "OK" },
        { 3132, "Retry", "\xEB\x8B\xA4\xEC\x8B\x9C \xEC\x8B\x9C\xEB\x8F\x84", "\xE5\x86\x8D\xE8\xA9\xA6\xE8\xA1\x8C" },
        { 3133, "Abort", "\xEC\xA4\x91\xEB\x8B\xA8", "\xE4\xB8\xAD\xE6\xAD\xA2" },
        { 3134, "Yes", "\xEC\x98\x88", "\xE3\x81\xAF\xE3\x81\x84" },
        { 3135, "Refresh", "\xEC\x83\x88\xEB\xA1\x9C\xEA\xB3\xA0\xEC\xB9\xA8", "\xE6\x9B\xB4\xE6\x96\xB0" },
        { 3136, "Format", "\xED\x8F\xAC\xEB\xA7\xB7", "\xE5\x88\x9D\xE6\x9C\x9F\xE5\x8C\x96" },
        { 3154, "Check", "\xEA\xB2\x80\xEC\x82\xAC", "\xE6\xA4\x9C\xE6\x9F\xBB" },
        { 3155, "Error Check", "\xEC\x98\xA4\xEB\xA5\x98 \xEA\xB2\x80\xEC\x82\xAC",
            "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\xE6\xA4\x9C\xE6\x9F\xBB" },
        { 3156, "Speed Test", "\xEC\x86\x8D\xEB\x8F\x84 \xEC\xB8\xA1\xEC\xA0\x95",
            "\xE9\x80\x9F\xE5\xBA\xA6\xE6\xB8\xAC\xE5\xAE\x9A" },
    };
    return textOf(texts, id, module);
}

void appendRange(QList<int>& ids, int first, int last)
{
    for (int id = first; id <= last; ++id)
        ids.append(id);
}

} // namespace

QString moduleName(Module module)
{
    switch (module) {
    case Module::Korean:
        return QStringLiteral("Resource");
    case Module::Japanese:
        return QStringLiteral("ResourceJ");
    case Module::English:
        return QStringLiteral("ResourceE");
    }
    return QString();
}

const QList<ImageInfo>& catalogue()
{
    return kCatalogue;
}

const ImageInfo* info(int id)
{
    static const QHash<int, int> index = [] {
        QHash<int, int> h;
        for (int i = 0; i < kCatalogue.size(); ++i)
            h.insert(kCatalogue.at(i).id, i);
        return h;
    }();
    const auto it = index.constFind(id);
    return it == index.constEnd() ? nullptr : &kCatalogue.at(it.value());
}

QSize imageSize(int id, Module module)
{
    const ImageInfo* i = info(id);
    if (!i)
        return QSize();
    // The Korean list's category column is 40 px wide, the others' 53 px.
    const bool category = id == 3410 || (id >= 3414 && id <= 3416);
    if (category && module == Module::Korean)
        return QSize(40, i->size.height());
    return i->size;
}

QList<int> bitmapIds()
{
    QList<int> ids;
    appendRange(ids, 3000, 3027);
    appendRange(ids, 3100, 3156);
    appendRange(ids, 3200, 3209);
    appendRange(ids, 3300, 3366);
    appendRange(ids, 3400, 3417);
    return ids;
}

QList<int> iconIds()
{
    QList<int> ids;
    appendRange(ids, 3500, 3507);
    return ids;
}

QImage draw(int id, Module module)
{
    static const QHash<int, Picto> overlays = {
        { 3101, Picto::Forward10 },
        { 3102, Picto::Back10 },
        { 3103, Picto::Play },
        { 3104, Picto::Pause },
        { 3105, Picto::Prev },
        { 3106, Picto::Next },
        { 3107, Picto::Sun },
        { 3108, Picto::MoonOff },
        { 3109, Picto::MoonOn },
        { 3110, Picto::Rotate },
        { 3111, Picto::Camera },
        { 3118, Picto::Copy },
        { 3119, Picto::EventCopy },
        { 3120, Picto::Folder },
        { 3121, Picto::Gear },
        { 3122, Picto::SdCard },
        { 3123, Picto::Trash },
        { 3152, Picto::ZoomIn },
        { 3153, Picto::ZoomOut },
    };
    if (overlays.contains(id)) {
        QColor ink = kInk;
        if (id == 3109)
            ink = kAmber;
        else if (id == 3153)
            ink = kAccent.lighter(115);
        else if (id == 3123)
            ink = QColor(246, 120, 120);
        return overlay(overlays.value(id), ink);
    }
    if (id >= 3000 && id <= 3003)
        return captionButton(id);
    if (id >= 3004 && id <= 3012)
        return framePiece(id);
    if (id == 3013)
        return captionIcon();
    if (id >= 3014 && id <= 3017)
        return settingsPiece(id);
    if (id >= 3018 && id <= 3027)
        return smallMark(id);
    if (id == 3100)
        return commonButton();
    if (id == 3112)
        return glyphButton(QSize(24, 22), Picto::SpeakerOn, kInk, 18);
    if (id == 3113)
        return glyphButton(QSize(24, 22), Picto::SpeakerMuted, kInk, 18);
    if (id == 3114 || id == 3115)
        return listTab(id == 3114);
    if (id == 3116)
        return glyphButton(QSize(18, 18), Picto::PinOff, kInkDim, 15);
    if (id == 3117)
        return glyphButton(QSize(18, 18), Picto::PinOn, kAccent, 15);
    if ((id >= 3124 && id <= 3136) || (id >= 3154 && id <= 3156)) {
        const bool message = (id >= 3126 && id <= 3134) || id == 3155 || id == 3156;
        const bool primary = id == 3131 || id == 3134 || id == 3124;
        return textButton(message ? QSize(84, 34) : QSize(64, 29), buttonText(id, module), module, primary);
    }
    if (id == 3137 || id == 3138)
        return checkBox(id == 3137);
    if (id == 3139)
        return radio();
    if (id >= 3140 && id <= 3144)
        return speedEntry(id);
    if (id >= 3145 && id <= 3147)
        return mapProvider(id, module);
    if (id == 3148)
        return menuBackground();
    if (id >= 3149 && id <= 3151)
        return rotationEntry(id);
    if (id == 3203 || id == 3209)
        return thumb(id);
    if (id >= 3200 && id <= 3209)
        return sliderPiece(id);
    if (id == 3300 || id == 3301)
        return copySide(id);
    if (id == 3302)
        return copyAnimation();
    if (id >= 3303 && id <= 3314)
        return timeGlyph(id);
    if (id == 3315 || id == 3316)
        return gpsIndicator(id == 3316);
    if (id == 3317 || id == 3318)
        return speedPanel(id == 3318);
    if (id >= 3319 && id <= 3321)
        return messageDecoration(id);
    if (id >= 3322 && id <= 3364)
        return axisGlyph(id);
    if (id == 3365 || id == 3366)
        return readoutMark(id);
    if (id >= 3400 && id <= 3408)
        return listPart(id);
    if (id >= 3409 && id <= 3417)
        return headerPicture(id, module);
    if (id >= 3500 && id <= 3507)
        return rowIcon(id);
    return QImage();
}

} // namespace skinart
