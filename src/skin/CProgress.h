#pragma once

#include <QFont>
#include <QWidget>

// Text progress bar: the filled part red with the label in white, the rest white with the label in red.
class CProgress : public QWidget
{
    Q_OBJECT
public:
    explicit CProgress(QWidget* parent = nullptr);

    // Sets the value (0..maximum) and the fill width it gives, and repaints.
    void setValue(int value);
    void setLabel(const QString& label);

    int value() const { return m_value; }
    int maximum() const { return m_maximum; }
    int fillWidth() const { return m_fillWidth; }
    QString label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
    int m_fillWidth = 0;
    QString m_label;
    QFont m_font;
};
