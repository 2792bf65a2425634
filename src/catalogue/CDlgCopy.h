#pragma once

#include "catalogue/CopyJob.h"
#include "skin/CDlgFrame.h"

#include <QTimer>

#include <thread>

class CSkinSlider;

// The copy progress dialog: a card, an animated strip and a folder in a row, two lines of text and a
// progress bar over the videos of the job. The copying runs on a worker thread started when the dialog is
// shown; ESC asks it to stop after the file it is copying. The dialog closes itself three timer ticks after
// the worker finished, so it stays up about half a second even for an empty job.
//
// Use: fill job() (AddRowPairs, AddEventPairs or AddPair), exec(), then read job().failures().
class CDlgCopy : public CDlgFrame
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 109;
    static constexpr int kProgressId = 1019;
    static constexpr int kWidth = 415;
    static constexpr int kHeight = 220;
    static constexpr int kTickMs = 180;
    // The strip holds this many frames stacked from the top; the frame index runs 0 .. kFrames - 1.
    static constexpr int kFrames = 13;
    static constexpr int kImageLeft = 3300;
    static constexpr int kImageRight = 3301;
    static constexpr int kImageStrip = 3302;
    static constexpr int kImageTrack = 3204;
    static constexpr int kImageFill = 3205;

    explicit CDlgCopy(const QString& videoExtension, QWidget* parent = nullptr);
    ~CDlgCopy() override;

    CopyJob& job() { return m_job; }
    void AddPair(const QString& source, const QString& target) { m_job.AddPair(source, target); }

    int animationFrame() const { return m_frame; }
    // The rectangle of text line 0 (string 251) or 1 (string 252).
    QRect textRect(int line) const;
    QRect animationRect() const { return m_stripRect; }
    CSkinSlider* progressBar() const { return m_progress; }
    bool workerStarted() const { return m_worker.joinable(); }

    // One step of the 180 ms timer: the next animation frame, the progress, and the close three steps after
    // the job ended.
    void tick();

public Q_SLOTS:
    // Escape and the window manager's close never end a running job.
    void reject() override;

protected:
    void paintClient(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layout();
    void startWorker();

    CopyJob m_job;
    CSkinSlider* m_progress = nullptr;
    QTimer m_timer;
    std::thread m_worker;
    int m_frame = 0;
    int m_afterDoneTicks = 0;
    QRect m_leftRect;
    QRect m_stripRect;
    QRect m_rightRect;
};
