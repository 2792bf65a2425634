#pragma once

#include "catalogue/RecordingEntry.h"

#include <QHeaderView>

// The recording list's header: skin pictures in place of texts, the first one naming the category shown.
class CXListHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit CXListHeader(QWidget* parent = nullptr);

    void setCategoryPicture(ListCategory category);
    ListCategory categoryPicture() const { return m_category; }
    // The skin image a section shows.
    int pictureId(int section) const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    ListCategory m_category = ListCategory::All;
};
