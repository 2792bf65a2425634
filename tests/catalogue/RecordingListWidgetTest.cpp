// The recording list as the user drives it: header clicks, double-clicks, clicks beside the rows, the keys it
// leaves to its window, locating the playing recording, and parking icons read as rows are painted.
#include "app/NotifyEvent.h"
#include "catalogue/CXListCtrl.h"
#include "catalogue/CXListHeader.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "sensor/DatBytes.h"
#include "skin/SkinModule.h"
#include "skin/SkinTestSupport.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

RecordingEntry entry(const char* kind, const char* base)
{
    RecordingEntry e;
    e.kindLabel = QString::fromLatin1(kind);
    e.baseName = QString::fromLatin1(base);
    e.dateText = FormatEntryDate(e.baseName);
    e.iconIndex = 2;
    return e;
}

std::vector<RecordingEntry> threeRows()
{
    return { entry("Normal", "20120101_120000"), entry("Event", "20120101_110000"),
        entry("Parking", "20120101_130000") };
}

// A window that keeps the notifications and the keys its list leaves to it.
class Window : public NotifyRecorder
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.append(event->key()); }
};

// A window showing a list of 300 by 300 pixels.
struct ShownList
{
    Window window;
    CXListCtrl list { &window, &window, 1 };

    ShownList()
    {
        window.resize(400, 400);
        list.resize(300, 300);
        window.show();
    }
};

QPoint sectionCentre(CXListCtrl& list, int section)
{
    QHeaderView* header = list.listHeader();
    return QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
}

QPoint rowCentre(CXListCtrl& list, int row)
{
    return list.visualRect(list.model()->index(row, 1)).center();
}

} // namespace

class RecordingListWidgetTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
    }

    void fillSortsByBaseNameAndHeaderShowsPictures()
    {
        Window window;
        CXListCtrl list(&window, &window, 1);
        list.fill(threeRows());
        QCOMPARE(list.rowCount(), 3);
        QCOMPARE(list.entryAt(0).kindLabel, QStringLiteral("Event"));
        QCOMPARE(list.columnWidth(0), 53);
        QCOMPARE(list.listHeader()->pictureId(0), 3410);
        QCOMPARE(list.listHeader()->pictureId(1), 3413);
        QCOMPARE(list.listHeader()->pictureId(2), 3412);
        QCoreApplication::sendPostedEvents(&window);
        QVERIFY(window.notes.isEmpty()); // a fill sorts without announcement
        CXListCtrl korean(&window, &window, 82);
        QCOMPARE(korean.columnWidth(1), 120);
    }

    // The list model answers index() and flags() itself, for speed: the answers must be a table model's.
    void modelAnswersAsATableModelOfItsShape()
    {
        Window window;
        CXListCtrl list(&window, &window, 1);
        list.fill(threeRows());
        const QAbstractItemModel* model = list.model();
        QStandardItemModel table(model->rowCount(), model->columnCount());
        for (int row = -1; row <= model->rowCount(); ++row) {
            for (int column = -1; column <= model->columnCount(); ++column) {
                const QModelIndex ours = model->index(row, column);
                const QModelIndex theirs = table.index(row, column);
                QCOMPARE(ours.isValid(), theirs.isValid());
                QCOMPARE(model->flags(ours) & ~Qt::ItemNeverHasChildren,
                    table.flags(theirs) & (Qt::ItemIsSelectable | Qt::ItemIsEnabled));
                QCOMPARE(bool(model->flags(ours) & Qt::ItemNeverHasChildren), theirs.isValid());
                if (ours.isValid())
                    QCOMPARE(model->parent(ours), QModelIndex());
            }
        }
        QVERIFY(!model->index(0, 0, model->index(0, 0)).isValid()); // no children
        QCOMPARE(model->flags(table.index(0, 0)), Qt::NoItemFlags); // another model's index
    }

    void categoryHeaderClickPostsTenAndTheWindowCycles()
    {
        ShownList shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        Window& window = shown.window;
        CXListCtrl& list = shown.list;
        list.fill(threeRows());
        ListCategory category = ListCategory::All;
        QList<int> pictures;
        for (int i = 0; i < 4; ++i) {
            QTest::mouseClick(list.listHeader()->viewport(), Qt::LeftButton, {}, sectionCentre(list, 0));
            QCoreApplication::sendPostedEvents(&window);
            QCOMPARE(window.notes.size(), i + 1);
            QCOMPARE(window.notes.last().code, int(NotifyEvent::ListHeaderClick));
            QCOMPARE(window.notes.last().param, intptr_t(CXListCtrl::kControlId));
            // What the window does with code 10.
            category = recordinglist::nextCategory(category);
            list.setCategoryPicture(category);
            pictures.append(list.listHeader()->pictureId(0));
        }
        QCOMPARE(pictures, (QList<int> { 3416, 3415, 3414, 3410 }));
        QCOMPARE(list.entryAt(0).kindLabel, QStringLiteral("Event")); // no sort happened
    }

    void dateHeaderClicksInvertTheOrderAndAnnounce()
    {
        ShownList shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        Window& window = shown.window;
        CXListCtrl& list = shown.list;
        list.fill(threeRows());
        list.selectOnly(1);
        QTest::mouseClick(list.listHeader()->viewport(), Qt::LeftButton, {}, sectionCentre(list, 2));
        QCoreApplication::sendPostedEvents(&window);
        QCOMPARE(list.entryAt(0).baseName, QStringLiteral("20120101_130000"));
        QVERIFY(!list.ascending());
        QVERIFY(list.selectedRows().empty()); // the sort clears the selection; code 11 selects again
        QCOMPARE(window.notes.size(), 1);
        QCOMPARE(window.notes.last().code, int(NotifyEvent::ListResorted));

        // Code 11: the playing recording (the normal one) is found at its new row.
        int position = 1;
        QCOMPARE(list.locateCurrentRecording(QStringLiteral("rec_20120101_120000.avi"), position),
            QStringLiteral("20120101_120000(2/3)"));
        QCOMPARE(position, 1);
        QTest::mouseClick(list.listHeader()->viewport(), Qt::LeftButton, {}, sectionCentre(list, 2));
        QCoreApplication::sendPostedEvents(&window);
        QCOMPARE(list.entryAt(0).baseName, QStringLiteral("20120101_110000"));
        QCOMPARE(window.notes.size(), 2);
        position = 1;
        QCOMPARE(list.locateCurrentRecording(QStringLiteral("evt_20120101_110000.avi"), position),
            QStringLiteral("20120101_110000(1/3)"));
        QCOMPARE(position, 0);
        QCOMPARE(list.selectedRows(), std::vector<int> { 0 });
    }

    void doubleClickPostsNineAndEmptySpaceKeepsTheSelection()
    {
        ShownList shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        Window& window = shown.window;
        CXListCtrl& list = shown.list;
        list.fill(threeRows());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, 2));
        QCoreApplication::sendPostedEvents(&window);
        QCOMPARE(window.notes.last().code, int(NotifyEvent::ListDoubleClick));
        QCOMPARE(window.notes.last().param, intptr_t(2));
        QCOMPARE(list.rememberedRow(), 2);

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, 1));
        QCOMPARE(list.selectedRows(), std::vector<int> { 1 });
        // Below the last row: the remembered row is selected again, never nothing.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(100, 280));
        QCOMPARE(list.selectedRows(), std::vector<int> { 1 });
        window.notes.clear();
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(100, 280));
        QCoreApplication::sendPostedEvents(&window);
        QVERIFY(window.notes.isEmpty());
        QCOMPARE(list.selectedRows(), std::vector<int> { 1 });
    }

    void arrowKeysAndEnterAreTheWindows()
    {
        ShownList shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        Window& window = shown.window;
        CXListCtrl& list = shown.list;
        list.fill(threeRows());
        list.selectOnly(1);
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(window.keys, (QList<int> { Qt::Key_Down, Qt::Key_Return }));
        QCOMPARE(list.selectedRows(), std::vector<int> { 1 }); // the list itself did not move

        list.selectNext();
        list.selectNext();
        QCOMPARE(list.selectedRows(), std::vector<int> { 2 });
        list.selectPrevious();
        QCOMPARE(list.rowToOpen(), std::optional<int>(1));
        QCOMPARE(list.selectedBaseNames(), QStringList { QStringLiteral("20120101_120000") });
    }

    // Home and End are the list's own keys: the first and the last recording, whichever row is selected.
    // Every row is as high as the skin's row picture, which the delegate stretches over it.
    void homeAndEndReachTheEndsAndRowsKeepTheSkinsHeight()
    {
        ShownList shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        Window& window = shown.window;
        CXListCtrl& list = shown.list;
        std::vector<RecordingEntry> many;
        for (int i = 0; i < 40; ++i)
            many.push_back(entry("Normal", qPrintable(QStringLiteral("20120101_%1").arg(i, 6, 10, QLatin1Char('0')))));
        list.fill(many);
        list.selectOnly(7);
        QTest::keyClick(&list, Qt::Key_End);
        QCOMPARE(list.selectedRows(), std::vector<int> { 39 });
        QVERIFY(list.viewport()->rect().contains(list.visualRect(list.model()->index(39, 1))));
        QTest::keyClick(&list, Qt::Key_Home);
        QCOMPARE(list.selectedRows(), std::vector<int> { 0 });
        QCOMPARE(list.verticalScrollBar()->value(), 0);
        QVERIFY(window.keys.isEmpty());

        const int skinRow = SkinModule::size(3402).height();
        QVERIFY(skinRow > 0);
        for (int row : { 0, 1, 39 })
            QCOMPARE(list.visualRect(list.model()->index(row, 0)).height(), skinRow);
        QCOMPARE(list.visualRect(list.model()->index(1, 2)).top(), list.visualRect(list.model()->index(0, 2)).bottom() + 1);
    }

    void lastColumnMakesRoomForTheScrollBar()
    {
        ShownList shown;
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        CXListCtrl& list = shown.list;
        list.fill(threeRows());
        QCoreApplication::processEvents();
        QCOMPARE(list.columnWidth(2), 137);
        std::vector<RecordingEntry> many;
        for (int i = 0; i < 100; ++i)
            many.push_back(entry("Normal", qPrintable(QStringLiteral("20120101_%1").arg(i, 6, 10, QLatin1Char('0')))));
        list.fill(many);
        QTRY_VERIFY(list.verticalScrollBar()->isVisible());
        QTRY_COMPARE(list.columnWidth(2), 137 - list.verticalScrollBar()->width());
        list.fill(threeRows());
        QTRY_COMPARE(list.columnWidth(2), 137);
    }

    void parkingIconsAreReadWhenTheirRowsArePainted()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        using namespace datbytes;
        QVERIFY(writeFile(root + QStringLiteral("pmr_20120101_123456.avi"), "video"));
        QVERIFY(writeFile(root + QStringLiteral("pmr_20120101_123456.dat"), dataFile(sensorRecord(1), {}, 1)));
        QVERIFY(writeFile(root + QStringLiteral("pmr_20120101_133456.avi"), "video"));
        QVERIFY(writeFile(root + QStringLiteral("pmr_20120101_133456.dat"), dataFile(sensorRecord(1), {}, 2)));
        RecordingCatalogue catalogue;
        QVERIFY(catalogue.ScanCatalogueFolder(root, 0));
        catalogue.setFolder(root);

        Window window;
        window.resize(400, 400);
        CXListCtrl list(&window, &window, 1);
        list.setCatalogue(&catalogue);
        list.resize(300, 300);
        list.fill(catalogue.BuildCategoryEntries(ListCategory::Parking));
        QCOMPARE(list.rowCount(), 2);
        QVERIFY(list.entryAt(0).iconPending);
        shot(&list);
        QVERIFY(!list.entryAt(0).iconPending);
        QCOMPARE(list.entryAt(0).iconIndex, std::optional<int>(5));
        QCOMPARE(list.entryAt(1).iconIndex, std::optional<int>(4));
    }

    // A build for the list leaves the span markers' end times unread: the list reads one when its row is
    // shown or asked for, and all of them before it sorts by date.
    void spanMarkerDatesAreReadWhenTheListNeedsThem()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        QVERIFY(datbytes::writeFile(root + QStringLiteral("rec_20120101_100000.avi"), "video"));
        QVERIFY(datbytes::writeFile(root + QStringLiteral("rec_20120101_110000p.vlm"), "20120101_113000"));
        QVERIFY(datbytes::writeFile(root + QStringLiteral("rec_20120101_090000p.vlm"), "20120101_095900"));
        QVERIFY(datbytes::writeFile(root + QStringLiteral("evt_20120101_080000.avi"), "video"));
        RecordingCatalogue catalogue;
        QVERIFY(catalogue.ScanCatalogueFolder(root, 0));
        catalogue.setFolder(root);

        Window window;
        CXListCtrl list(&window, &window, 1);
        list.setCatalogue(&catalogue);
        list.fill(catalogue.BuildCategoryEntries(ListCategory::All, RecordingCatalogue::MarkerDates::WhenShown));
        QCOMPARE(list.rowCount(), 4);
        // As the model hands the date column out, and as the window's walk reads a row.
        QCOMPARE(list.model()->index(1, 2).data().toString(), QStringLiteral("09:00:00 ~ 09:59:00"));
        QCOMPARE(list.entryAt(3).baseName, QStringLiteral("20120101_110000p"));
        QCOMPARE(EntryDateText(list.entryAt(3)), QStringLiteral("11:00:00 ~ 11:30:00"));
        QVERIFY(!list.entryAt(3).datePending);

        // Sorting by date, descending: the recordings' "2012-..." first, then the markers' "11:..." and "09:..."
        // (unread, the markers would tie and keep their base-name order, 09 before 11).
        list.fill(catalogue.BuildCategoryEntries(ListCategory::All, RecordingCatalogue::MarkerDates::WhenShown));
        list.setAscending(false);
        list.sortRows(recordinglist::kDateColumn, false);
        QStringList dates;
        for (int row = 0; row < list.rowCount(); ++row)
            dates << EntryDateText(list.entryAt(row));
        QCOMPARE(dates,
            QStringList(
                { "2012-01-01 10:00:00", "2012-01-01 08:00:00", "11:00:00 ~ 11:30:00", "09:00:00 ~ 09:59:00" }));
    }
};

QTEST_MAIN(RecordingListWidgetTest)
#include "RecordingListWidgetTest.moc"
