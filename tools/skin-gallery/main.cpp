// skin-gallery BINDIR OUTDIR: reads the skin modules BINDIR/<module>.rcc and writes OUTDIR/skin-<module>.png,
// a contact sheet showing every image of the module with its ID, size and use. Images are shown as the
// viewer draws them (magenta keyed out) over the window colour, inside a faint outline of their bounds;
// small ones are doubled so their pixels can be judged. A missing image shows as a red tile.
#include "SkinArtwork.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QResource>

#include <algorithm>
#include <cstdio>

namespace {

const QColor kSheet(22, 23, 26);
const QColor kTile(34, 36, 41);
const QColor kWindow(27, 27, 27);
const int kSheetWidth = 1500;
const int kMargin = 24;
const int kGap = 12;

struct Section
{
    const char* title;
    int first;
    int last;
};

const Section kSections[] = {
    { "Frame and settings dialogs  3000-3027", 3000, 3027 },
    { "Buttons, overlays and menus  3100-3156", 3100, 3156 },
    { "Sliders and progress  3200-3209", 3200, 3209 },
    { "Panels, readouts and glyphs  3300-3366", 3300, 3366 },
    { "Recording list  3400-3417", 3400, 3417 },
    { "Row icons  3500-3507", 3500, 3507 },
};

QFont labelFont(int px, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// Turns the transparent colour into transparency, as the viewer does when it loads a module.
QImage keyOut(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == 0x00FF00FFu)
                line[x] = 0;
        }
    }
    return out;
}

// The picture of one tile: the animation is shown frame by frame in rows, everything else as stored.
QImage tilePicture(int id, const QImage& image, int& scale)
{
    if (id == 3302 && image.height() % 13 == 0) {
        const int fh = image.height() / 13;
        const int perRow = 7;
        QImage frames(image.width() * perRow + (perRow - 1) * 4, fh * 2 + 4, QImage::Format_ARGB32);
        frames.fill(Qt::transparent);
        QPainter p(&frames);
        for (int k = 0; k < 13; ++k)
            p.drawImage(QPoint((k % perRow) * (image.width() + 4), (k / perRow) * (fh + 4)), image,
                QRect(0, k * fh, image.width(), fh));
        p.end();
        scale = 1;
        return frames;
    }
    scale = std::max(image.width(), image.height()) <= 40 ? 2 : 1;
    return image;
}

// Main-window button pictures are overlays on the common button: show them as the viewer does.
bool isButtonOverlay(int id)
{
    return (id >= 3101 && id <= 3111) || (id >= 3118 && id <= 3123) || (id >= 3140 && id <= 3144) || id == 3152
        || id == 3153;
}

QImage onCommonButton(const QImage& overlay, const QImage& strip)
{
    if (strip.isNull())
        return overlay;
    const QSize state(strip.width() / 3, strip.height());
    QImage out(state, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage(QPoint(0, 0), keyOut(strip), QRect(QPoint(0, 0), state));
    p.drawImage(
        QPoint((state.width() - overlay.width()) / 2, (state.height() - overlay.height()) / 2 + 1), keyOut(overlay));
    p.end();
    return out;
}

QImage skinImage(const QString& root, int id)
{
    return keyOut(QImage(QStringLiteral("%1/skin/%2.png").arg(root).arg(id)));
}

QImage stateOf(const QString& root, int id, int state)
{
    const QImage strip = skinImage(root, id);
    const int w = strip.width() / 3;
    return strip.copy(state * w, 0, w, strip.height());
}

// A skinned window around a client of `client` size, as the dialog frame paints it.
QImage framedWindow(
    const QString& root, QSize client, const QColor& background, const QString& title, bool captionButtons)
{
    const auto img = [&](int id) { return skinImage(root, id); };
    const QImage caption = img(3004);
    const QImage left = img(3007);
    const QImage right = img(3008);
    const QImage bottom = img(3009);
    const int top = caption.height();
    QImage out(
        client.width() + left.width() + right.width(), top + client.height() + bottom.height(), QImage::Format_ARGB32);
    out.fill(background);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int ww = out.width();
    const int wh = out.height();
    const QImage tl = img(3005);
    const QImage tr = img(3006);
    p.drawImage(QPoint(0, 0), tl);
    p.drawImage(QRect(tl.width(), 0, ww - tl.width() - tr.width(), top), caption);
    p.drawImage(QPoint(ww - tr.width(), 0), tr);
    p.drawImage(QRect(0, top, left.width(), wh - top - bottom.height()), left);
    p.drawImage(QRect(ww - right.width(), top, right.width(), wh - top - bottom.height()), right);
    const QImage bl = img(3010);
    const QImage br = img(3011);
    p.drawImage(QPoint(0, wh - bl.height()), bl);
    p.drawImage(QRect(bl.width(), wh - bottom.height(), ww - bl.width() - br.width(), bottom.height()), bottom);
    p.drawImage(QPoint(ww - br.width(), wh - br.height()), br);
    p.drawImage(QPoint(10, 4), img(3013));
    p.setFont(labelFont(14, false));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, ww, top), Qt::AlignCenter, title);
    if (captionButtons) {
        int bx = ww - 10;
        const int states[] = { 1, 0, 0 };
        const int ids[] = { 3000, 3001, 3002 };
        for (int i = 0; i < 3; ++i) {
            const QImage b = stateOf(root, ids[i], states[i]);
            bx -= b.width();
            p.drawImage(QPoint(bx, 10), b);
        }
    }
    p.end();
    return out;
}

// The message box (Yes / No / Cancel), the copy dialog and the drive dialog at their fixed sizes.
QImage drawDialogs(const QString& root)
{
    const auto img = [&](int id) { return skinImage(root, id); };
    const int left = img(3007).width();
    const int top = img(3004).height();
    const int horizontal = left + img(3008).width();
    const int vertical = top + img(3009).height();
    const QList<QImage> windows = [&] {
        QList<QImage> list;
        // Message box, 400 x 200.
        {
            const QSize client(400 - horizontal, 200 - vertical);
            QImage w = framedWindow(root, client, QColor(24, 24, 24), QString(), false);
            QPainter p(&w);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.translate(left, top);
            const int W = client.width();
            const int H = client.height();
            p.drawImage(QRect(QPoint(15, 15), QPoint(W - 312, H - 30)), img(3319));
            p.setFont(labelFont(17, false));
            p.setPen(QColor(180, 180, 180));
            p.drawText(QRect(W - 297, 15 + 40, 282, 40), Qt::AlignLeft | Qt::TextWordWrap,
                QStringLiteral("Delete the selected recordings?"));
            const int ids[] = { 3134, 3130, 3126 };
            const int xs[] = { W - 297, W - 198, W - 99 };
            for (int i = 0; i < 3; ++i)
                p.drawImage(QRect(xs[i], H - 49, 84, 34), stateOf(root, ids[i], i == 0 ? 1 : 0));
            list << w;
        }
        // Copy dialog, 415 x 220, black, frame 6 of the animation.
        {
            const QSize client(415 - horizontal, 220 - vertical);
            QImage w = framedWindow(root, client, Qt::black, QString(), true);
            QPainter p(&w);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.translate(left, top);
            const QImage source = img(3300);
            const QImage strip = img(3302);
            const QImage target = img(3301);
            const int fh = strip.height() / 13;
            p.drawImage(QPoint(25, 35), source);
            p.drawImage(QPoint(25 + source.width(), 35), strip, QRect(0, 6 * fh, strip.width(), fh));
            const int tx = 25 + source.width() + strip.width();
            p.drawImage(QPoint(tx, 34), target);
            QImage bar = img(3204);
            {
                QPainter bp(&bar);
                const QImage fill = img(3205);
                bp.drawImage(QPoint(0, 0), fill, QRect(0, 0, fill.width() * 45 / 100, fill.height()));
            }
            p.drawImage(QRect(25, 35 + source.height(), tx + target.width() - 25, 10), bar);
            list << w;
        }
        // Drive dialog, 402 x 198.
        {
            const QSize client(402 - horizontal, 198 - vertical);
            QImage w = framedWindow(root, client, QColor(27, 27, 27), QString(), true);
            QPainter p(&w);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.translate(left, top);
            const QRect listRect(7, 5, 320, client.height() - 10);
            p.fillRect(listRect, QColor(30, 32, 36));
            const QImage headerBg = img(3400);
            p.drawImage(QRect(listRect.left(), listRect.top(), listRect.width(), headerBg.height()), headerBg);
            const int headers[] = { 3413, 3411, 3409, 3417 };
            const int widths[] = { 104, 72, 72, 72 };
            int hx = listRect.left();
            for (int c = 0; c < 4; ++c) {
                p.drawImage(QPoint(hx, listRect.top()), img(headers[c]));
                hx += widths[c];
                p.drawImage(QPoint(hx - 2, listRect.top()), img(3401));
            }
            const QImage row = img(3404);
            const int ry = listRect.top() + headerBg.height();
            p.drawImage(QRect(listRect.left(), ry, listRect.width(), row.height()), row);
            p.setFont(labelFont(12, false));
            p.setPen(Qt::white);
            const QString cells[] = { QStringLiteral("KORVANE (/media/sd)"), QStringLiteral("29.72GB"),
                QStringLiteral("12.03GB"), QStringLiteral("17.69GB") };
            hx = listRect.left();
            for (int c = 0; c < 4; ++c) {
                p.drawText(QRect(hx + 4, ry, widths[c] - 6, row.height()), Qt::AlignVCenter, cells[c]);
                hx += widths[c];
            }
            const int buttons[] = { 3124, 3125, 3135, 3136, 3154 };
            for (int i = 0; i < 5; ++i)
                p.drawImage(QRect(332, 5 + 32 * i, 64, 29), stateOf(root, buttons[i], i == 2 ? 1 : 0));
            list << w;
        }
        return list;
    }();
    int width = 0;
    int height = 0;
    for (const QImage& w : windows) {
        width += w.width() + 30;
        height = std::max(height, w.height());
    }
    QImage out(width, height, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    int x = 0;
    for (const QImage& w : windows) {
        p.drawImage(QPoint(x, 0), w);
        x += w.width() + 30;
    }
    p.end();
    return out;
}

// A main window put together from the module's images at the positions the viewer's layout gives them
// (client 1100 x 330, list shown, map hidden), so that sizes that must fit together can be judged.
QImage drawMockup(const QString& root, const QString& module)
{
    const auto img = [&](int id) { return skinImage(root, id); };
    const auto third = [&](int id, int state) { return stateOf(root, id, state); };
    const QImage caption = img(3004);
    const QImage left = img(3007);
    const int cw = 1100;
    const int ch = 330;
    const int top = caption.height();
    QImage out = framedWindow(root, QSize(cw, ch), kWindow, QStringLiteral("High   20260101_123456(3/120)"), true);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    // Client area, in client coordinates.
    p.translate(left.width(), top);
    const int s = 330;
    const int gps = img(3316).height();
    const int graphHeight = 25;
    const QRect video(10, 40, cw - s, ch - (gps + graphHeight + 30) - 40);
    QLinearGradient road(video.topLeft(), video.bottomLeft());
    road.setColorAt(0, QColor(18, 26, 40));
    road.setColorAt(1, QColor(8, 9, 12));
    p.fillRect(video, road);
    p.setPen(QColor(90, 96, 110));
    p.setFont(labelFont(13, false));
    p.drawText(video, Qt::AlignCenter, QStringLiteral("video"));
    const QRect graph(10, video.bottom() + 1, video.width(), graphHeight);
    p.fillRect(graph, Qt::black);
    p.setPen(QColor(152, 152, 152));
    p.drawRect(graph.adjusted(0, 0, -1, -1));
    p.drawLine(graph.left(), graph.center().y(), graph.right(), graph.center().y());
    p.fillRect(QRect(graph.left() + 300 - 5, graph.top(), 10, graph.height()), QColor(255, 157, 33));

    // Speed readout above the video's right end.
    const int vr = video.right() + 1;
    const QImage panel = img(3317);
    const QPoint panelAt(vr - panel.width(), 40 - panel.height());
    p.drawImage(panelAt, panel);
    const QImage fix = img(3316);
    p.drawImage(QPoint(panelAt.x() - fix.width(), panelAt.y()), fix);
    QFont speed(QStringLiteral("Liberation Sans"));
    speed.setPixelSize(30);
    speed.setBold(true);
    p.setFont(speed);
    p.setPen(Qt::white);
    p.drawText(QRect(panelAt.x(), panelAt.y() + 3, vr - 45 - panelAt.x(), 40 - panelAt.y() - 3),
        Qt::AlignRight | Qt::AlignTop, QStringLiteral("87"));

    // Time readout 12:34 / 45:06.
    const QImage digit0 = img(3303);
    int tx = 10;
    const int ty = ch - digit0.height() - 50;
    const auto put = [&](int id) {
        const QImage g = img(id);
        p.drawImage(QPoint(tx, ty), g);
        tx += id >= 3303 && id <= 3312 ? digit0.width() : g.width();
    };
    for (int id : { 3304, 3305, 3313, 3306, 3307, 3314, 3307, 3308, 3313, 3303, 3309 })
        put(id);

    // Bottom button row: overlays on the common button, the second one pressed, the third hovered.
    const struct
    {
        int x, overlay;
    } row[] = { { 10, 3105 }, { 60, 3102 }, { 110, 3104 }, { 160, 3101 }, { 210, 3106 }, { 270, 3107 }, { 320, 3108 },
        { 370, 3110 }, { 420, 3111 }, { 470, 3143 }, { 530, 3152 }, { cw - 310, 3122 }, { cw - 260, 3120 },
        { cw - 210, 3123 }, { cw - 160, 3118 }, { cw - 110, 3119 }, { cw - 60, 3121 } };
    int n = 0;
    for (const auto& b : row) {
        const int state = n == 1 ? 2 : (n == 2 ? 1 : 0);
        const QRect r(b.x, ch - 45, 50, 35);
        p.drawImage(r, third(3100, state));
        const QImage o = img(b.overlay);
        p.drawImage(
            QPoint(r.left() + (50 - o.width()) / 2 + (state == 2 ? 1 : 0), r.top() + (35 - o.height()) / 2 + 1), o);
        ++n;
    }
    // Volume: button and slider (70 %).
    const QImage vol = third(3112, 0);
    p.drawImage(QPoint(vr - 103 - vol.width(), ch - 43), vol);
    const QRect slider(vr - 103, graph.bottom() + 1 + 15, 103, 30);
    const QImage track = img(3200);
    QImage trackPic = track;
    {
        QPainter tp(&trackPic);
        tp.drawImage(QPoint(0, 0), img(3201), QRect(0, 0, track.width() * 7 / 10, track.height()));
    }
    p.drawImage(slider, trackPic);
    // List On/Off tab at the video's right edge.
    const QImage tab = third(3115, 0);
    p.drawImage(QPoint(vr, video.center().y() - tab.height() / 2), tab);

    // Recording list (map hidden): header pictures and a few rows.
    const bool korean = module == QLatin1String("Resource");
    const int widths[] = { korean ? 40 : 53, korean ? 120 : 110, korean ? 140 : 137 };
    const int headerIds[] = { 3410, 3413, 3412 };
    const QRect list(cw - 310, 10, 300, ch - 88);
    p.fillRect(list, QColor(30, 32, 36));
    int hx = list.left();
    const QImage headerBg = img(3400);
    p.drawImage(QRect(list.left(), list.top(), list.width(), headerBg.height()), headerBg);
    for (int c = 0; c < 3; ++c) {
        const QImage h = img(headerIds[c]);
        p.drawImage(QPoint(hx, list.top()), h);
        hx += widths[c];
        p.drawImage(QPoint(hx - 2, list.top()), img(3401));
    }
    const int icons[] = { 3501, 3500, 3500, 3502, 3506, 3504, 3503, 3505, 3507 };
    int ry = list.top() + headerBg.height();
    p.setFont(labelFont(13, false));
    for (int r = 0; r < 9 && ry + 26 <= list.bottom(); ++r) {
        const QImage rowBg = img(r == 2 ? 3404 : (r % 2 ? 3403 : 3402));
        p.drawImage(QRect(list.left(), ry, list.width(), rowBg.height()), rowBg);
        const QImage icon = img(icons[r]);
        p.drawImage(QPoint(list.left() + 3, ry + (rowBg.height() - icon.height()) / 2), icon);
        p.setPen(r == 2 ? Qt::white : QColor(210, 214, 222));
        const QString base = QStringLiteral("20260101_%1").arg(120000 + r * 300, 6, 10, QLatin1Char('0'))
            + (icons[r] >= 3503 && icons[r] <= 3505 ? QStringLiteral("X") : QString());
        p.drawText(QRect(list.left() + widths[0], ry, widths[1], rowBg.height()), Qt::AlignVCenter, base);
        p.drawText(QRect(list.left() + widths[0] + widths[1], ry, widths[2], rowBg.height()), Qt::AlignVCenter,
            QStringLiteral("2026-01-01 12:%1").arg(r * 5, 2, 10, QLatin1Char('0')));
        ry += rowBg.height();
    }
    p.drawImage(QPoint(list.right() - 9, list.top() + headerBg.height()), img(3407));
    // Map On (the map is hidden).
    p.drawImage(QPoint(cw - 28, ch - 73), third(3116, 0));
    p.end();
    return out;
}

struct Tile
{
    int id;
    QImage picture;
    int scale;
    QSize imageSize;
    QString use;
    QSize size;
};

QImage drawSheet(const QString& module, const QString& root)
{
    const QFont idFont = labelFont(13, true);
    const QFont smallFont = labelFont(11, false);
    const QFontMetrics idMetrics(idFont);
    const QFontMetrics smallMetrics(smallFont);

    // First pass: measure every section to know the sheet's height.
    struct Placed
    {
        Tile tile;
        QPoint at;
    };
    QList<Placed> placed;
    QList<QPair<QString, int>> titles;
    const QImage mockup = drawMockup(root, module);
    const QImage dialogs = drawDialogs(root);
    titles.append({ QStringLiteral("In context: windows built from these images"), kMargin + 40 });
    const int dialogsTop = kMargin + 40 + 26 + mockup.height() + 20;
    int y = dialogsTop + dialogs.height() + 30;
    for (const Section& section : kSections) {
        titles.append({ QString::fromLatin1(section.title), y });
        y += 26;
        int x = kMargin;
        int rowHeight = 0;
        for (int id = section.first; id <= section.last; ++id) {
            Tile t;
            t.id = id;
            const QImage image(QStringLiteral("%1/skin/%2.png").arg(root).arg(id));
            t.imageSize = image.size();
            const skinart::ImageInfo* info = skinart::info(id);
            t.use = info ? QString::fromLatin1(info->use) : QString();
            t.scale = 1;
            if (!image.isNull())
                t.picture = keyOut(tilePicture(id, image, t.scale));
            if (!image.isNull() && isButtonOverlay(id)) {
                t.picture = onCommonButton(image, QImage(QStringLiteral("%1/skin/3100.png").arg(root)));
                t.scale = 2;
            }
            const QSize pic = t.picture.isNull() ? QSize(60, 30) : t.picture.size() * t.scale;
            const int labelWidth = std::max(idMetrics.horizontalAdvance(QStringLiteral("0000  000x0000")),
                std::min(160, smallMetrics.horizontalAdvance(t.use)));
            t.size = QSize(std::max(pic.width(), labelWidth) + 16, pic.height() + 16 + 34);
            if (x + t.size.width() > kSheetWidth - kMargin && x > kMargin) {
                x = kMargin;
                y += rowHeight + kGap;
                rowHeight = 0;
            }
            placed.append({ t, QPoint(x, y) });
            x += t.size.width() + kGap;
            rowHeight = std::max(rowHeight, t.size.height());
        }
        y += rowHeight + kGap + 18;
    }

    QImage sheet(kSheetWidth, y + kMargin, QImage::Format_RGB32);
    sheet.fill(kSheet);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(labelFont(22, true));
    p.setPen(QColor(236, 240, 246));
    p.drawText(QPoint(kMargin, kMargin + 18), QStringLiteral("Skin module %1").arg(module));
    p.setFont(labelFont(13, false));
    p.setPen(QColor(150, 158, 170));
    p.drawText(QPoint(kMargin + 300, kMargin + 18),
        QStringLiteral("shown as drawn (magenta keyed out) on the window colour, button overlays on "
                       "button 3100; dotted: drawn bounds; x2: doubled"));
    p.drawImage(QPoint(kMargin, kMargin + 40 + 26), mockup);
    p.drawImage(QPoint(kMargin, dialogsTop), dialogs);
    for (const auto& [title, ty] : titles) {
        p.setFont(labelFont(15, true));
        p.setPen(QColor(46, 160, 255));
        p.drawText(QPoint(kMargin, ty + 16), title);
    }
    for (const Placed& pl : placed) {
        const Tile& t = pl.tile;
        const QRect tile(pl.at, t.size);
        p.setPen(Qt::NoPen);
        p.setBrush(t.picture.isNull() ? QColor(110, 30, 30) : kTile);
        p.drawRoundedRect(tile, 6, 6);
        if (!t.picture.isNull()) {
            const QSize pic = t.picture.size() * t.scale;
            const QRect target(tile.left() + 8, tile.top() + 8, pic.width(), pic.height());
            p.fillRect(target, kWindow);
            p.save();
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
            p.drawImage(target, t.picture);
            p.restore();
            QPen dotted(QColor(120, 128, 140, 150), 1, Qt::DotLine);
            p.setPen(dotted);
            p.setBrush(Qt::NoBrush);
            p.drawRect(target.adjusted(-1, -1, 0, 0));
        }
        const int textTop = tile.bottom() - 34;
        p.setFont(idFont);
        p.setPen(QColor(236, 240, 246));
        p.drawText(QPoint(tile.left() + 8, textTop + 14), QString::number(t.id));
        p.setFont(smallFont);
        p.setPen(QColor(150, 158, 170));
        const QString size = t.picture.isNull() ? QStringLiteral("missing")
                                                : QStringLiteral("%1x%2%3")
                                                      .arg(t.imageSize.width())
                                                      .arg(t.imageSize.height())
                                                      .arg(t.scale > 1 ? QStringLiteral("  x2") : QString());
        p.drawText(QPoint(tile.left() + 8 + idMetrics.horizontalAdvance(QStringLiteral("0000  ")), textTop + 14), size);
        p.drawText(
            QPoint(tile.left() + 8, textTop + 29), smallMetrics.elidedText(t.use, Qt::ElideRight, tile.width() - 14));
    }
    p.end();
    return sheet;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: skin-gallery BINDIR OUTDIR\n");
        return 2;
    }
    const QDir bin(args.at(1));
    const QDir out(args.at(2));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "skin-gallery: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    for (const QString& module :
        { QStringLiteral("Resource"), QStringLiteral("ResourceJ"), QStringLiteral("ResourceE") }) {
        const QString rcc = bin.filePath(module + QStringLiteral(".rcc"));
        const QString root = QStringLiteral("/gallery/") + module;
        if (!QResource::registerResource(rcc, root)) {
            std::fprintf(stderr, "skin-gallery: cannot read %s\n", qPrintable(rcc));
            return 1;
        }
        const QString file = out.filePath(QStringLiteral("skin-%1.png").arg(module));
        if (!drawSheet(module, QStringLiteral(":") + root).save(file)) {
            std::fprintf(stderr, "skin-gallery: cannot write %s\n", qPrintable(file));
            return 1;
        }
        QResource::unregisterResource(rcc, root);
    }
    return 0;
}
