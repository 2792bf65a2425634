#include "catalogue/CXListHeader.h"

#include "catalogue/RecordingListRules.h"
#include "skin/SkinModule.h"

#include <QPainter>

namespace {
constexpr int kBackgroundImage = 3400;
constexpr int kDividerImage = 3401;
} // namespace

CXListHeader::CXListHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionsMovable(false);
    setStretchLastSection(false);
    setSectionResizeMode(QHeaderView::Fixed);
}

void CXListHeader::setCategoryPicture(ListCategory category)
{
    m_category = category;
    viewport()->update();
}

int CXListHeader::pictureId(int section) const
{
    return recordinglist::headerPictureId(section, m_category);
}

QSize CXListHeader::sizeHint() const
{
    QSize hint = QHeaderView::sizeHint();
    const int height = SkinModule::size(kBackgroundImage).height();
    hint.setHeight(height > 0 ? height : 24);
    return hint;
}

void CXListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const QPixmap background = SkinModule::image(kBackgroundImage);
    if (background.isNull())
        painter->fillRect(rect, QColor(40, 44, 52));
    else
        painter->drawPixmap(rect, background);
    const QPixmap picture = SkinModule::image(pictureId(logicalIndex));
    if (!picture.isNull()) {
        // A picture wider than its column (Korea's narrow first column) is cut at the divider.
        painter->save();
        painter->setClipRect(rect.adjusted(0, 0, -1, 0));
        painter->drawPixmap(rect.left() + 1, rect.top() + (rect.height() - picture.height()) / 2, picture);
        painter->restore();
    }
    const QPixmap divider = SkinModule::image(kDividerImage);
    if (!divider.isNull())
        painter->drawPixmap(
            QRect(rect.right() - divider.width() + 1, rect.top(), divider.width(), rect.height()), divider);
}
