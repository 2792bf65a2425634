#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// The artwork of the skin modules, drawn in code so that it builds from source.
namespace skinart {

enum class Module { Korean, Japanese, English };

QString moduleName(Module module);

// How an image is laid out and drawn by the viewer.
enum class Shape {
    Strip, // three equal states side by side: normal, hover, pressed
    Radio, // two equal halves: checked left, unchecked right
    Overlay, // drawn transparently (magenta) over another image or the window
    Glyph, // digit, sign, colon or label of a readout, transparent where magenta
    Animation, // frames of equal height stacked vertically
    Piece, // frame piece, panel, track or background, drawn opaque (often stretched)
    Icon, // list row icon with its own alpha channel
};

struct ImageInfo
{
    int id;
    Shape shape;
    QSize size; // the whole image (a strip is three states wide); see imageSize() for per-module sizes
    bool carriesText; // differs between the Korean, Japanese and English modules
    const char* use;
};

// Every image of a module, in ID order.
const QList<ImageInfo>& catalogue();
const ImageInfo* info(int id);
// The size of an image in a module (a few header pictures are narrower for the Korean list columns).
QSize imageSize(int id, Module module);

// Every bitmap ID and icon ID a module holds.
QList<int> bitmapIds();
QList<int> iconIds();

// The image of an ID in a module; magenta marks the transparent parts of bitmaps, icons carry alpha.
QImage draw(int id, Module module);

} // namespace skinart
