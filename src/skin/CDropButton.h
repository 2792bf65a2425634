#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

class CListWnd;
class CDropList;

// Colours of a drop-down button and of its list items.
struct DropButtonColours
{
    QColor background = QColor(221, 217, 205);
    QColor highlightBackground = QColor(233, 228, 217);
    QColor outline = QColor(0, 0, 0);
    QColor text = QColor(0, 0, 0);
    QColor highlightText = QColor(0, 70, 140);
    QColor arrow = QColor(0, 0, 0);
};

// Drop-down button: a combo-box replacement that opens a CListWnd below itself. A choice is posted to
// the parent as a DropSelectionEvent (control ID, index) and emitted as itemChosen.
class CDropButton : public QWidget
{
    Q_OBJECT
public:
    using Colours = DropButtonColours;

    // Without a font the button uses Arial 15 pixels.
    CDropButton(const QString& text, const QRect& rect, QWidget* parent, int controlId,
        const Colours& colours = Colours(), const QFont* font = nullptr);
    ~CDropButton() override;

    void addItem(const QString& text);
    int count() const;
    QString itemText(int index) const;

    int controlId() const { return m_controlId; }
    QString text() const { return m_text; }
    void setText(const QString& text);
    int currentIndex() const { return m_current; }
    // Selects an item as the owner's initial choice (no notification).
    void setCurrentIndex(int index);
    void setAutoText(bool on) { m_autoText = on; }
    void setMaxListHeight(int height) { m_maxListHeight = height; }
    int maxListHeight() const { return m_maxListHeight; }

    bool isHighlighted() const { return m_highlighted; }
    bool isListOpen() const;
    CListWnd* listWindow() const { return m_listWnd; }
    CDropList* list() const;

    void openList();
    void closeList();

Q_SIGNALS:
    void itemChosen(int controlId, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void onSelectionReported(const QPoint& globalCursor);

    int m_controlId;
    QString m_text;
    Colours m_colours;
    QFont m_font;
    bool m_hasOwnFont = false;
    bool m_highlighted = false;
    bool m_autoText = true;
    int m_maxListHeight = 100;
    int m_current = -1;
    CListWnd* m_listWnd = nullptr;
};
