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
    {"Frame and settings dialogs  3000-3027", 3000, 3027},
    {"Buttons, overlays and menus  3100-3156", 3100, 3156},
    {"Sliders and progress  3200-3209", 3200, 3209},
    {"Panels, readouts and glyphs  3300-3366", 3300, 3366},
    {"Recording list  3400-3417", 3400, 3417},
    {"Row icons  3500-3507", 3500, 3507},
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
    p.drawImage(QPoint((state.width() - overlay.width()) / 2, (state.height() - overlay.height()) / 2 + 1),
                keyOut(overlay));
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
    int y = kMargin + 40;
    for (const Section& section : kSections) {
        titles.append({QString::fromLatin1(section.title), y});
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
            placed.append({t, QPoint(x, y)});
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
        p.drawText(QPoint(tile.left() + 8, textTop + 29),
                   smallMetrics.elidedText(t.use, Qt::ElideRight, tile.width() - 14));
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
    for (const QString& module : {QStringLiteral("Resource"), QStringLiteral("ResourceJ"), QStringLiteral("ResourceE")}) {
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
