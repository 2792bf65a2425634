#include "SkinArtwork.h"

#include <QPainter>

namespace skinart {

namespace {

void appendRange(QList<int>& ids, int first, int last)
{
    for (int id = first; id <= last; ++id)
        ids.append(id);
}

const QColor kMagenta(255, 0, 255);

// A strip of three equal states: normal, hover, pressed.
QImage buttonStrip(int w, int h)
{
    QImage img(w * 3, h, QImage::Format_RGB32);
    img.fill(kMagenta);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fills[3] = {QColor(0x2a, 0x30, 0x38), QColor(0x3a, 0x44, 0x52), QColor(0x1c, 0x6e, 0xc8)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QColor(0x55, 0x60, 0x6e));
        p.setBrush(fills[i]);
        p.drawRoundedRect(QRectF(i * w + 0.5, 0.5, w - 1, h - 1), 4, 4);
    }
    return img;
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

QImage draw(int id, Module)
{
    if ((id >= 3000 && id <= 3003) || (id >= 3100 && id <= 3156 && id != 3139))
        return buttonStrip(24, 24);
    if (id == 3139) {
        QImage img(32, 16, QImage::Format_RGB32);
        img.fill(kMagenta);
        QPainter p(&img);
        p.setBrush(QColor(0x1c, 0x6e, 0xc8));
        p.drawEllipse(QRect(2, 2, 12, 12));
        p.setBrush(QColor(0x2a, 0x30, 0x38));
        p.drawEllipse(QRect(18, 2, 12, 12));
        return img;
    }
    if (id == 3302) {
        QImage img(48, 48 * 13, QImage::Format_RGB32);
        img.fill(QColor(0x20, 0x24, 0x2a));
        return img;
    }
    if (id >= 3500) {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(QColor(0x1c, 0x6e, 0xc8));
        return img;
    }
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(QColor(0x20, 0x24, 0x2a));
    return img;
}

} // namespace skinart
