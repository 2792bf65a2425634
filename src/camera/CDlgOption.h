#pragma once

#include "camera/SetupEditorLayout.h"
#include "camera/SetupEditorRules.h"
#include "camera/SetupRecord.h"
#include "camera/ViewerOptionsSession.h"
#include "skin/CDlgFrame.h"

#include <QDateTime>
#include <QHash>
#include <QList>

#include <memory>

class CCircleChart;
class CDropButton;
class CSkinButton;
class CSkinRadioButton;
class CSkinSlider;
class CSliderOption;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class SettingsStore;

// The camera settings editor, one for all seven models: the model's layout table (SetupEditorLayout) decides
// its pages and controls, the rules (SetupEditorRules) what a choice does, this dialog only shows them. Each
// model's class (CDlgOptionAlpha ... CDlgOptionFoxtrot) is this editor with its model and its own memory of the
// clock last confirmed in it.
//
// Run modally after SetPath; the result is 1 saved, 2 cancelled (nothing written), 7 the camera's part could not
// be saved (the caller then shows string 258).
class CDlgOption : public CDlgFrame
{
    Q_OBJECT
public:
    enum Result { Saved = 1, Cancelled = 2, SaveFailed = 7 };

    // What one editor class remembers for the rest of the run.
    struct ClockMemory
    {
        bool has = false;
        QDateTime value;
    };

    // What the editor needs of its surroundings.
    struct Environment
    {
        SettingsStore* store = nullptr; // the viewer's registry key; the user's when null
        int countryCode = 0; // 82 gives the Korean layout and questions
        QString codePage; // of the text fields; the system's when empty
    };

    CDlgOption(CameraModel model, ClockMemory& clock, const Environment& environment, QWidget* parent = nullptr);
    ~CDlgOption() override;

    void SetPath(const QString& path) { m_path = path; }
    QString path() const { return m_path; }

    // Lays out the controls, reads the viewer options and loads the record (done by exec() when not yet done).
    void initialise();
    int exec() override;

    // OK (button 1, Enter, Space) and Cancel (button 2, Escape).
    void ok();
    void cancel();

    CameraModel model() const { return m_record.model(); }
    const EditorLayout& layout() const { return m_layout; }
    const SetupRecord& record() const { return m_record; }
    const ViewerOptionsSession& viewerOptions() const { return *m_viewer; }
    int tierAtConstruction() const { return m_constructedTier; }
    bool isKoreanLayout() const { return m_layout.korean; }

    // The current page: its index in the tab strip and what it is.
    int currentTab() const { return m_currentTab; }
    EditorTab currentPage() const { return m_layout.tabs.value(m_currentTab); }
    void selectTab(int index);

    QWidget* controlWidget(int id) const { return m_controls.value(id); }
    CSkinRadioButton* radio(int id) const;
    QLabel* radioLabel(int id) const { return m_labels.value(id); }
    QDateTimeEdit* dateTimeEdit() const;
    QLineEdit* edit(int id) const;
    CDropButton* timeZoneList() const;
    CSliderOption* ratioSlider() const;
    CSkinSlider* motionSlider() const;
    CCircleChart* pie() const;
    QString legendText() const;
    QString firmwareLabelText() const;
    // The section titles visible on the current page.
    QStringList visibleSectionTitles() const;

public Q_SLOTS:
    void reject() override;

protected:
    void paintClient(QPainter& painter) override;
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QLabel* makeLabel(const QString& text, const QRect& rect, bool title);
    void radioClicked(int id);
    void refresh();
    void refreshChecks();
    void refreshVisibility();
    void refreshRatios();
    bool visibleNow(EditorTab tab, EditorVisibility visibility) const;
    void notice(int stringId);
    void commitViewerOptions();
    void finish(int result);

    Environment m_env;
    SettingsStore& m_store;
    ClockMemory& m_clock;
    SetupRecord m_record;
    SetupEditorRules m_rules;
    std::unique_ptr<ViewerOptionsSession> m_viewer;
    int m_constructedTier = 0;
    EditorLayout m_layout;
    QString m_path;
    bool m_initialised = false;
    int m_currentTab = 0;
    QDateTime m_initialClock;

    QHash<int, QWidget*> m_controls;
    QHash<int, QLabel*> m_labels; // radio id -> its label
    QList<QLabel*> m_sectionLabels; // parallel to m_layout.sections
    QList<QPair<const EditorControl*, QLabel*>> m_plainTexts; // Text controls without an id
    QLabel* m_motionLeft = nullptr;
    QLabel* m_motionRight = nullptr;
    CSkinButton* m_okButton = nullptr;
    CSkinButton* m_cancelButton = nullptr;
    int m_hoverTab = -1;
};
