#include "GallerySheet.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kMargin = 40;
constexpr int kHeader = 96;
constexpr int kSectionTitle = 44;
constexpr int kGap = 28;
constexpr int kCaption = 34;
constexpr int kCardPad = 18;

const QColor kSheet(0x14, 0x16, 0x1a);
const QColor kCard(0x1d, 0x20, 0x26);
const QColor kCardEdge(0x2a, 0x2e, 0x36);
const QColor kTitle(0xf2, 0xf4, 0xf7);
const QColor kSubtle(0x8a, 0x93, 0xa0);
const QColor kAccent(0x3d, 0x8b, 0xfd);

} // namespace

GallerySheet::GallerySheet(const QString& title, const QString& subtitle, int width)
    : m_title(title)
    , m_subtitle(subtitle)
    , m_width(width)
{
}

QFont GallerySheet::uiFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Noto Sans CJK KR"));
    font.setFamilies({ QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Liberation Sans") });
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void GallerySheet::section(const QString& title)
{
    m_sections.append({ title, {} });
}

void GallerySheet::add(const QPixmap& sample, const QString& caption, bool wide)
{
    if (m_sections.isEmpty())
        section(QString());
    m_sections.last().items.append({ sample, caption, wide });
}

int GallerySheet::layout(QList<QList<QRect>>* places) const
{
    int y = kHeader;
    for (const Section& s : m_sections) {
        y += kSectionTitle;
        QList<QRect> rects;
        int x = kMargin;
        int rowHeight = 0;
        for (const Item& item : s.items) {
            const QFontMetrics fm(uiFont(13));
            const int w = qMax(item.pixmap.width(), fm.horizontalAdvance(item.caption)) + 2 * kCardPad;
            const int h = item.pixmap.height() + 2 * kCardPad + kCaption;
            if (x > kMargin && (item.wide || x + w > m_width - kMargin)) {
                x = kMargin;
                y += rowHeight + kGap;
                rowHeight = 0;
            }
            rects.append(QRect(x, y, w, h));
            x += w + kGap;
            rowHeight = qMax(rowHeight, h);
            if (item.wide) {
                x = m_width;
            }
        }
        y += rowHeight + kGap;
        if (places)
            places->append(rects);
    }
    return y + kMargin / 2;
}

QImage GallerySheet::render() const
{
    QList<QList<QRect>> places;
    const int height = layout(&places);
    QImage img(m_width, height, QImage::Format_ARGB32_Premultiplied);
    img.fill(kSheet);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Header: accent bar, title, subtitle.
    p.fillRect(QRect(kMargin, 34, 6, 40), kAccent);
    p.setPen(kTitle);
    p.setFont(uiFont(26, true));
    p.drawText(QRect(kMargin + 20, 28, m_width, 34), Qt::AlignLeft | Qt::AlignVCenter, m_title);
    p.setPen(kSubtle);
    p.setFont(uiFont(14));
    p.drawText(QRect(kMargin + 20, 60, m_width, 22), Qt::AlignLeft | Qt::AlignVCenter, m_subtitle);

    int y = kHeader;
    for (int si = 0; si < m_sections.size(); ++si) {
        const Section& s = m_sections.at(si);
        const QList<QRect>& rects = places.at(si);
        int sectionTop = y;
        p.setPen(kTitle);
        p.setFont(uiFont(16, true));
        p.drawText(QRect(kMargin, sectionTop + 8, m_width, 26), Qt::AlignLeft | Qt::AlignVCenter, s.title);
        p.setPen(QPen(kCardEdge, 1));
        p.drawLine(kMargin, sectionTop + 38, m_width - kMargin, sectionTop + 38);
        int bottom = sectionTop + kSectionTitle;
        for (int i = 0; i < s.items.size(); ++i) {
            const Item& item = s.items.at(i);
            const QRect r = rects.at(i);
            QPainterPath card;
            card.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
            p.fillPath(card, kCard);
            p.setPen(QPen(kCardEdge, 1));
            p.drawPath(card);
            const int px = r.left() + (r.width() - item.pixmap.width()) / 2;
            p.drawPixmap(px, r.top() + kCardPad, item.pixmap);
            p.setPen(kSubtle);
            p.setFont(uiFont(13));
            p.drawText(QRect(r.left(), r.bottom() - kCaption - 4, r.width(), kCaption), Qt::AlignCenter, item.caption);
            bottom = qMax(bottom, r.bottom());
        }
        y = bottom + kGap + 1;
    }
    return img;
}
