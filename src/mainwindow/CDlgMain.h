#pragma once

#include "mainwindow/MainWindowLayout.h"
#include "skin/CDlgFrame.h"

#include <array>
#include <map>

class CPlayWnd;
class CSkinButton;
class CSkinRadioButton;
class CSkinSlider;

// The main window's layout: where every control and painted readout sits, the list and map column,
// the standard and map-less layouts, the minimum size and the three size modes. The arithmetic lives in
// MainWindowLayout; this class applies it to the widgets and paints the readouts.
class CDlgMain : public CDlgFrame
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 102;

    explicit CDlgMain(QWidget* parent = nullptr);

    // Layout state.
    bool listWanted() const { return m_listWanted; }
    bool listHidden() const { return m_listHidden; }
    bool mapShown() const { return m_mapShown; }
    bool listVisible() const;
    int modelIndex() const { return m_modelIndex; }
    int videoWidth() const { return m_videoWidth; }
    int videoHeight() const { return m_videoHeight; }
    int sizeClass() const { return m_sizeClass; }
    const MainWindowLayout& currentLayout() const { return m_layout; }

    CSkinButton* button(int id) const;
    CPlayWnd* playWnd() const { return m_playWnd; }
    CSkinSlider* volumeSlider() const { return m_volume; }
    QWidget* listWidget() const { return m_list; }
    QWidget* mapWidget() const { return m_map; }
    QWidget* graphWidget() const { return m_graph; }

    // Recomputes every position from the client size and repaints.
    void Relayout();
    void ListOn(bool fromButton = true);
    void ListOff(bool fromButton = true);
    void MapOn();
    void MapOff();
    void StandardLayout();
    void MaplessLayout();
    // Keys 1, 2, 3; nothing while the list is empty.
    void SizeMode(int mode);
    // The minimum size for the current state (no recording open / the size class of the open one).
    QSize minimumWindowSize() const;

    // The time readouts.
    void ShowCurrentTime(long long ms);
    void ShowLength(long long ms);
    long long shownTime() const { return m_currentMs; }
    long long shownLength() const { return m_lengthMs; }

    // The open recording's video size: classifies it and, when the new class is smaller and the video
    // area is too small for it, fits the window (mode 1).
    void SetVideoSize(int width, int height, bool recordingOpen);
    // No recording is open any more: the minimum size goes back to the values for that state.
    void RecordingClosed();

protected:
    void setModelIndex(int model) { m_modelIndex = model; }
    void setListEmpty(bool empty) { m_listEmpty = empty; }
    bool listEmpty() const { return m_listEmpty; }
    // Subclasses put their list, graph and map widgets in place of the column's placeholders.
    void setListWidget(QWidget* list);
    void setGraphWidget(QWidget* graph);
    void setMapWidget(QWidget* map);

    void paintClient(QPainter& painter) override;
    // After every layout, and while painting the client area: the readouts the subclass owns.
    virtual void layoutChanged() { }
    virtual void paintReadouts(QPainter& painter) { (void)painter; }
    void resizeEvent(QResizeEvent* event) override;

    // The magnifier re-syncs its gauge after a size change in the High tier.
    bool m_gaugeResync = false;

private:
    void createControls();
    CSkinButton* addButton(int id, int image, bool overlay, int tooltip);
    LayoutImageSizes imageSizes() const;
    int frameRoom() const;
    void updateMinimumSize();
    void setShown(int id, bool shown);
    void showUnitButtons(bool shown);
    void showListControls();
    void showListColumn(bool mapButtonsHidden, bool mapButtonByMapShown);
    void hideListColumn();
    void resizeWindowBy(int dx);
    void placeOverWorkArea();
    void paintTimeRow(QPainter& p);

    std::map<int, CSkinButton*> m_buttons;
    CSkinSlider* m_volume = nullptr;
    CSkinRadioButton* m_unitKmh = nullptr;
    CSkinRadioButton* m_unitMph = nullptr;
    CPlayWnd* m_playWnd = nullptr;
    QWidget* m_list = nullptr;
    QWidget* m_graph = nullptr;
    QWidget* m_map = nullptr;

    bool m_listWanted = true;
    bool m_listHidden = false;
    bool m_mapShown = true;
    bool m_listEmpty = true;
    bool m_recordingOpen = false;
    int m_videoWidth = 1920;
    int m_videoHeight = 1080;
    int m_sizeClass = 0;
    int m_previousSizeClass = 0;
    int m_modelIndex = 0;
    MainWindowLayout m_layout;

    long long m_currentMs = 0;
    long long m_lengthMs = 0;
};
