#pragma once

#include "app/NotifyEvent.h"
#include "skin/DropSelectionEvent.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

// A parent window that keeps the notifications its controls post.
class NotifyRecorder : public QWidget
{
public:
    struct Note
    {
        int code;
        intptr_t param;
    };
    QList<Note> notes;
    QList<QPair<int, int>> dropSelections;

protected:
    void customEvent(QEvent* event) override
    {
        if (event->type() == NotifyEvent::eventType()) {
            const auto* n = static_cast<NotifyEvent*>(event);
            notes.append({ n->code(), n->param() });
        } else if (event->type() == DropSelectionEvent::eventType()) {
            const auto* d = static_cast<DropSelectionEvent*>(event);
            dropSelections.append({ d->controlId(), d->index() });
        }
    }
};

// A strip of n equal parts, each filled with its own colour.
inline QPixmap colourStrip(const QList<QColor>& colours, int partWidth, int height)
{
    QPixmap pix(partWidth * int(colours.size()), height);
    QPainter p(&pix);
    for (int i = 0; i < colours.size(); ++i)
        p.fillRect(i * partWidth, 0, partWidth, height, colours.at(i));
    return pix;
}

inline QPixmap solid(const QColor& colour, int w, int h)
{
    QPixmap pix(w, h);
    pix.fill(colour);
    return pix;
}

// The widget as it is painted.
inline QImage shot(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Whether two images agree at every pixel where the expected one is opaque.
inline bool sameWhereOpaque(const QImage& actual, const QImage& expected)
{
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    if (a.size() != e.size())
        return false;
    int opaque = 0;
    for (int y = 0; y < e.height(); ++y) {
        for (int x = 0; x < e.width(); ++x) {
            if (qAlpha(e.pixel(x, y)) != 255)
                continue;
            ++opaque;
            const QRgb pa = a.pixel(x, y);
            const QRgb pe = e.pixel(x, y);
            // Blending may move a channel by a step or two.
            if (qAbs(qRed(pa) - qRed(pe)) > 2 || qAbs(qGreen(pa) - qGreen(pe)) > 2 || qAbs(qBlue(pa) - qBlue(pe)) > 2) {
                qWarning("pixel (%d, %d): %08x, expected %08x", x, y, a.pixel(x, y), e.pixel(x, y));
                return false;
            }
        }
    }
    return opaque > 0;
}
