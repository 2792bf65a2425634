#pragma once

#include "sdcard/CardTexts.h"
#include "skin/CDlgFrame.h"

#include <functional>

class CProgress;

// The progress dialog of the whole-card jobs (recovery format, read-speed test, error check, capacity test):
// a progress bar, the status with the percent and the do-not-remove warning. Its job starts on the first tick
// of its 100 ms timer, reports progress through setPercent() while pumping the event loop, and returns the
// dialog's result; the dialog then ends itself with it. It cannot be closed while the job runs.
class CDlgFormat : public CDlgFrame
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 108;
    static constexpr int kTimerId = 1;
    static constexpr QSize kWindowSize { 550, 150 };

    using Job = std::function<int(CDlgFormat& dialog)>;

    // The mode picks the status text (262 for the format, 263 for the tests) and the warning line.
    CDlgFormat(MaintenanceMode mode, int countryCode, Job job, QWidget* parent = nullptr);

    MaintenanceMode mode() const { return m_mode; }
    int percent() const { return m_percent; }
    bool isStarted() const { return m_started; }
    bool isDone() const { return m_done; }
    // Takes 0..100; the display follows on the next tick.
    void setPercent(int percent);
    // Lets the dialog repaint and its timer tick while the job works.
    static void pump();

    QString statusText() const { return m_status; }
    QString warningText() const { return m_warning; }
    CProgress* progressBar() const { return m_progress; }
    QRect statusRect() const;
    QRect warningRect() const;

public Q_SLOTS:
    void reject() override;

protected:
    void paintClient(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void tick();
    void runJob();
    void refreshStatus();

    MaintenanceMode m_mode;
    int m_country;
    Job m_job;
    QTimer m_timer;
    bool m_started = false;
    bool m_done = false;
    int m_result = 2;
    int m_percent = 0;
    int m_shownPercent = -1;
    QString m_status;
    QString m_warning;
    CProgress* m_progress = nullptr;
};
