#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The skin images of the country's module, addressed by resource ID. The module is a binary Qt resource
// file beside the executable (Resource.rcc, ResourceJ.rcc, ResourceE.rcc) holding ":/skin/<id>.png".
// Magenta (255, 0, 255) in an image is its transparent colour and is turned into transparency on load.
class SkinModule
{
public:
    // Registers "<folder>/<name>.rcc" once. Returns false, loading nothing and showing nothing, when the
    // module is missing.
    static bool load(const QString& folder, const QString& name);
    static void unload();
    static bool isLoaded();

    // The image of an ID, or a null pixmap when the module or the image is missing.
    static QPixmap image(int id);
    static QSize size(int id);
    static bool has(int id);
    // Images that are icons (the list row icons) keep their own alpha.
    static QIcon icon(int id);

    // Makes every magenta pixel transparent.
    static QImage keyOutMagenta(const QImage& image);
};
