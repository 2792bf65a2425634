#pragma once

#include "skin/CDlgFrame.h"

#include <QFont>
#include <QList>
#include <QStringList>

#include <functional>

class CSkinButton;
class CSkinRadioButton;

// The skinned message box: a fixed 400 x 200 box with a decoration, the wrapped text and up to three
// image buttons chosen by the style; answered with a result code (1 OK, 2 Cancel, 3 Abort, 4 Retry,
// 5 Ignore, 6 Yes, 7 No).
class CDlgMessage : public CDlgFrame
{
    Q_OBJECT
public:
    enum Result {
        ResultOk = 1,
        ResultCancel = 2,
        ResultAbort = 3,
        ResultRetry = 4,
        ResultIgnore = 5,
        ResultYes = 6,
        ResultNo = 7
    };
    enum Style {
        StyleOk = 0,
        StyleOkCancel = 1,
        StyleAbortRetryIgnore = 2,
        StyleYesNoCancel = 3,
        StyleYesNo = 4,
        StyleRetryCancel = 5,
        StyleFormatChooser = 1024,
        StyleBusy = 1025,
        StyleCheckChooser = 1026,
        StyleViewerChooser = 1027,
        StyleDoNotShowAgain = 1028,
    };
    enum ControlId {
        LeftButton = 1013,
        MiddleButton = 1011,
        RightButton = 1012,
        RadioHigh = 1022,
        RadioMid = 1025,
        RadioLow = 1026,
        CheckBox = 1027
    };
    static constexpr int kTemplateId = 105;

    CDlgMessage(int style, const QString& text, const QString& caption, QWidget* parent = nullptr);

    // Runs a box modally and returns its result.
    static int ask(int style, const QString& text, const QString& caption, QWidget* parent = nullptr);
    // The text is the string of the ID; no caption.
    static int ask(int style, int stringId, QWidget* parent = nullptr);

    // Tests answer the next boxes without a human: each ask takes the oldest preset answer, if any,
    // instead of showing a box, and records what it was asked.
    struct Asked
    {
        int style = 0;
        QString text;
        QString caption;
    };
    static void setNextAnswer(int result);
    static void clearNextAnswers();
    static QList<Asked> takeAsked();

    // The box that closes itself a little over two seconds after this call (the caller sets it just
    // before an OK box). Cleared by the box when it closes itself.
    static void setAutoClose(bool on);
    static bool isAutoClose();
    // Whole seconds of the process clock; tests may put their own clock in.
    static qint64 clockSeconds();
    static void setClockForTesting(std::function<qint64()> clock);

    int style() const { return m_style; }
    QString text() const { return m_text; }
    // The text lines as laid out, and the band each is drawn into (client coordinates).
    QStringList lines() const { return m_lines; }
    QRect lineRect(int index) const;
    QRect textArea() const;
    int decorationImage() const { return m_decoration; }

    // 0 left, 1 middle, 2 right; null for a slot the style leaves empty.
    CSkinButton* button(int slot) const { return m_buttons[slot]; }
    int buttonResult(int slot) const { return m_results[slot]; }
    CSkinRadioButton* radio(int controlId) const;

    // The do-not-show-again box of styles 1027 and 1028.
    bool isChecked() const;
    void setChecked(bool checked);
    void setCheckText(const QString& text);
    QString checkText() const { return m_checkText; }
    static QString defaultCheckText();

    static QFont textFont();

Q_SIGNALS:
    // A radio button of the viewer chooser was clicked (the box checks it; the owner unchecks the rest).
    void radioClicked(int controlId);
    // The do-not-show-again box was ticked or unticked.
    void checkToggled(bool checked);

public Q_SLOTS:
    void reject() override;

protected:
    void paintClient(QPainter& painter) override;
    void customEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void layoutText();
    void checkAutoClose();

    int m_style = 0;
    QString m_text;
    QString m_caption;
    QStringList m_lines;
    int m_decoration = 0;
    CSkinButton* m_buttons[3] = { nullptr, nullptr, nullptr };
    int m_results[3] = { 0, 0, 0 };
    QList<CSkinRadioButton*> m_radios;
    bool m_checked = false;
    QString m_checkText;
    QTimer m_autoCloseTimer;
};
