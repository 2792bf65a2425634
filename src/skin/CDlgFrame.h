#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

class QMenu;

// The skinned dialog: a frameless window that paints its own caption, edges, corners, icon, title,
// status and the three caption buttons from the skin module. Content goes on client(), whose
// coordinates are those of the design's client area; notifications posted to client() reach the dialog
// itself (customEvent).
class CDlgFrame : public QDialog
{
    Q_OBJECT
public:
    enum CaptionButton { Close = 0, Maximise = 1, Minimise = 2, NoButton = -1 };

    // Frame image IDs of the skin module.
    enum Image {
        ImageClose = 3000,
        ImageMaximise = 3001,
        ImageMinimise = 3002,
        ImageRestore = 3003,
        ImageCaption = 3004,
        ImageTopLeft = 3005,
        ImageTopRight = 3006,
        ImageLeft = 3007,
        ImageRight = 3008,
        ImageBottom = 3009,
        ImageBottomLeft = 3010,
        ImageBottomRight = 3011,
        ImageStatus = 3012,
        ImageIcon = 3013,
    };

    explicit CDlgFrame(int templateId = 0, QWidget* parent = nullptr);

    int templateId() const { return m_templateId; }
    QWidget* client() const { return m_client; }

    // Resizes the window so that the client area gets this size.
    void setClientSize(const QSize& size);
    QMargins frameMargins() const;
    int captionHeight() const { return m_margins.top(); }

    // The title becomes the viewer-tier prefix, three spaces and the text.
    void setTitle(const QString& text);
    QString title() const { return m_title; }
    void setTitleVisible(bool visible);
    void setTitleColour(const QColor& colour);
    void setTitleFont(const QFont& font);

    void setCaptionButtons(bool on);
    bool captionButtons() const { return m_captionButtons; }
    void setCaptionStatus(bool on, const QString& text = QString());

    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return m_background; }

    // A tooltip for a child control; with an empty text the string of the ID up to its first line break.
    void addToolTip(QWidget* control, const QString& text, int stringId = 0);

    // 0 normal, 1 hover, 2 pressed.
    int captionButtonState(CaptionButton button) const { return m_buttonState[button]; }
    bool isMaximisedFlag() const { return m_maximised; }
    // Whether the last caption drag moved the window by hand (the window system could not move it).
    bool lastMoveWasManual() const { return m_lastMoveManual; }
    // A caption button's rectangle in window coordinates.
    QRect captionButtonRect(CaptionButton button) const;

    // The window menu for the current state (Restore, Move, Size, Minimise, Maximise, Close). The caller
    // owns it.
    QMenu* createWindowMenu();
    void showWindowMenu(const QPoint& globalPos);

protected:
    // Called when the user starts and ends moving or sizing the window.
    virtual void onMoveSizeStart() { }
    virtual void onMoveSizeEnd() { }
    // Paints the client area after its background; subclasses draw their own content here.
    virtual void paintClient(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class ClientArea;
    friend class ClientArea;

    void loadImages();
    CaptionButton buttonAt(const QPoint& pos) const;
    bool inCaption(const QPoint& pos) const;
    void updateHover(const QPoint& pos);
    void toggleMaximised();
    void beginMove(const QPoint& globalPos);
    void endMoveSize();
    Qt::Edges edgesAt(const QPoint& pos) const;

    int m_templateId = 0;
    QWidget* m_client = nullptr;
    QMargins m_margins;

    QPixmap m_topLeft, m_caption, m_topRight, m_left, m_right, m_bottomLeft, m_bottom, m_bottomRight;
    QPixmap m_icon, m_status;
    QPixmap m_close, m_maximise, m_restore, m_minimise;

    bool m_captionButtons = true;
    int m_buttonState[3] = { 0, 0, 0 };
    CaptionButton m_pressedButton = NoButton;
    bool m_maximised = false;
    int m_buttonRightMargin = 10;
    int m_buttonTopMargin = 10;

    QString m_title;
    bool m_titleVisible = false;
    QColor m_titleColour = QColor(255, 255, 255);
    QFont m_titleFont;
    bool m_statusOn = false;
    QString m_statusText;
    QColor m_background = QColor(27, 27, 27);

    // Moving by hand where the window system cannot move the window itself (offscreen, some X11 setups).
    bool m_manualMove = false;
    bool m_lastMoveManual = false;
    QPoint m_moveOffset;
    bool m_moveSizeActive = false;
    QTimer m_moveSizeEndTimer;
};
