#include "skin/SkinModule.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QResource>

namespace {

struct ModuleState
{
    QString path;
    bool loaded = false;
    QHash<int, QPixmap> cache;
};

ModuleState& state()
{
    static ModuleState s;
    return s;
}

QString resourcePath(int id)
{
    return QStringLiteral(":/skin/%1.png").arg(id);
}

} // namespace

bool SkinModule::load(const QString& folder, const QString& name)
{
    ModuleState& s = state();
    if (s.loaded)
        return true;
    const QString path = QDir(folder).filePath(name + QStringLiteral(".rcc"));
    if (!QFile::exists(path) || !QResource::registerResource(path))
        return false;
    s.path = path;
    s.loaded = true;
    return true;
}

void SkinModule::unload()
{
    ModuleState& s = state();
    if (!s.loaded)
        return;
    s.cache.clear();
    QResource::unregisterResource(s.path);
    s.loaded = false;
    s.path.clear();
}

bool SkinModule::isLoaded()
{
    return state().loaded;
}

QImage SkinModule::keyOutMagenta(const QImage& image)
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

QPixmap SkinModule::image(int id)
{
    ModuleState& s = state();
    if (!s.loaded)
        return QPixmap();
    auto it = s.cache.constFind(id);
    if (it != s.cache.constEnd())
        return it.value();
    QImage img(resourcePath(id));
    QPixmap pix = img.isNull() ? QPixmap() : QPixmap::fromImage(keyOutMagenta(img));
    s.cache.insert(id, pix);
    return pix;
}

QSize SkinModule::size(int id)
{
    return image(id).size();
}

bool SkinModule::has(int id)
{
    return !image(id).isNull();
}

QIcon SkinModule::icon(int id)
{
    const QPixmap pix = image(id);
    return pix.isNull() ? QIcon() : QIcon(pix);
}
