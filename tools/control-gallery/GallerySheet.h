#pragma once

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QString>

// A contact sheet: a title, then sections of labelled samples flowed left to right, painted as one
// image.
class GallerySheet
{
public:
    GallerySheet(const QString& title, const QString& subtitle, int width = 1280);

    void section(const QString& title);
    // A sample with its caption below; "wide" samples start a row of their own.
    void add(const QPixmap& sample, const QString& caption, bool wide = false);

    QImage render() const;

    static QFont uiFont(int pixelSize, bool bold = false);

private:
    struct Item
    {
        QPixmap pixmap;
        QString caption;
        bool wide = false;
    };
    struct Section
    {
        QString title;
        QList<Item> items;
    };

    int layout(QList<QList<QRect>>* places) const;

    QString m_title;
    QString m_subtitle;
    int m_width;
    QList<Section> m_sections;
};
