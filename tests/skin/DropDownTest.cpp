#include "SkinTestSupport.h"

#include "skin/CDropButton.h"
#include "skin/CDropList.h"
#include "skin/CDropListWnd.h"
#include "skin/CListWnd.h"
#include "skin/SkinModule.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void press(QWidget* w, QPoint pos)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}

void drag(QWidget* w, QPoint pos)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}

void hover(QWidget* w, QPoint pos)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}

void release(QWidget* w, QPoint pos)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

// A parent window with a drop-down button of n items.
struct DropFixture
{
    NotifyRecorder parent;
    CDropButton* button;

    explicit DropFixture(int items)
    {
        parent.resize(400, 300);
        button = new CDropButton(QStringLiteral("Off"), QRect(20, 30, 150, 22), &parent, 1200);
        for (int i = 0; i < items; ++i)
            button->addItem(QStringLiteral("Item %1").arg(i));
        parent.show();
    }
};

} // namespace

class DropDownTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
    }

    void popupSizes_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("scrollBar");
        QTest::newRow("3 items fit") << 3 << 49 << false;
        QTest::newRow("10 items exceed the maximum") << 10 << 101 << true;
        QTest::newRow("6 items of 16 stay below 100") << 6 << 97 << false;
        QTest::newRow("7 items reach the maximum") << 7 << 101 << true;
    }

    void popupSizes()
    {
        QFETCH(int, items);
        QFETCH(int, height);
        QFETCH(bool, scrollBar);
        DropFixture f(items);
        QCOMPARE(f.button->list()->itemHeight(), 16);
        press(f.button, QPoint(10, 10));
        QVERIFY(f.button->isListOpen());
        const QRect g = f.button->listWindow()->geometry();
        const QPoint buttonTopLeft = f.button->mapToGlobal(QPoint(0, 0));
        QCOMPARE(g.left(), buttonTopLeft.x());
        QCOMPARE(g.top(), buttonTopLeft.y() + 22 - 1);
        QCOMPARE(g.width(), 150);
        QCOMPARE(g.height(), height);
        QCOMPARE(f.button->list()->scrollBarVisible(), scrollBar);
    }

    void itemHeightFollowsTheFont()
    {
        CDropList list;
        QCOMPARE(list.itemHeight(), 16);
        QFont big(QStringLiteral("Arial"));
        big.setPixelSize(30);
        list.setListFont(big);
        QCOMPARE(list.itemHeight(), QFontMetrics(big).height());
    }

    void choosingAnItemNotifiesTheParent()
    {
        DropFixture f(5);
        QSignalSpy chosen(f.button, &CDropButton::itemChosen);
        press(f.button, QPoint(10, 10));
        CDropList* list = f.button->list();
        const int h = list->itemHeight();
        press(list, QPoint(20, 2 * h + 3));
        QCOMPARE(list->currentIndex(), 2);
        release(list, QPoint(20, 2 * h + 3));
        QVERIFY(!f.button->isListOpen());
        QCOMPARE(f.button->currentIndex(), 2);
        QCOMPARE(f.button->text(), QStringLiteral("Item 2"));
        QCOMPARE(chosen.size(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(f.parent.dropSelections.size(), 1);
        QCOMPARE(f.parent.dropSelections.at(0), qMakePair(1200, 2));
    }

    void releasingOutsideRestoresThePreviousChoice()
    {
        DropFixture f(5);
        f.button->setCurrentIndex(1);
        press(f.button, QPoint(10, 10));
        CDropList* list = f.button->list();
        const int h = list->itemHeight();
        press(list, QPoint(20, 3 * h + 3));
        QCOMPARE(list->currentIndex(), 3);
        // Drag away below the list: the selection follows to the last item, but the release is outside.
        drag(list, QPoint(20, 5 * h + 40));
        QCOMPARE(list->currentIndex(), 4);
        release(list, QPoint(20, 5 * h + 40));
        QVERIFY(!f.button->isListOpen());
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(f.button->currentIndex(), 1);
        QCOMPARE(f.button->text(), QStringLiteral("Item 1"));
        QCoreApplication::processEvents();
        QVERIFY(f.parent.dropSelections.isEmpty());
    }

    void wheelScrollsALongList()
    {
        DropFixture f(10);
        press(f.button, QPoint(10, 10));
        CDropList* list = f.button->list();
        QVERIFY(list->scrollBarVisible());
        QCOMPARE(list->topIndex(), 0);
        QWheelEvent down(QPointF(20, 20), list->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -240), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list, &down);
        QCOMPARE(list->topIndex(), 2);
        // The item under the cursor is now two further down.
        QCOMPARE(list->indexAt(3), 2);
        press(list, QPoint(20, 3));
        release(list, QPoint(20, 3));
        QCOMPARE(f.button->currentIndex(), 2);
    }

    void clickOutsideClosesWithoutChoice()
    {
        DropFixture f(3);
        press(f.button, QPoint(10, 10));
        CListWnd* popup = f.button->listWindow();
        QVERIFY(popup->isVisible());
        press(popup, QPoint(-50, -50));
        QVERIFY(!popup->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(f.parent.dropSelections.isEmpty());
        QCOMPARE(f.button->text(), QStringLiteral("Off"));
    }

    void itemsKeepTheirOrderAndTheTextIsElided()
    {
        DropFixture f(0);
        f.button->addItem(QStringLiteral("zeta"));
        f.button->addItem(QStringLiteral("alpha"));
        QCOMPARE(f.button->itemText(0), QStringLiteral("zeta"));
        QCOMPARE(f.button->itemText(1), QStringLiteral("alpha"));
        // The highlighted button is lighter.
        const QColor normal = QColor(shot(f.button).pixel(75, 2));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(f.button, &enter);
        QVERIFY(f.button->isHighlighted());
        const QColor lit = QColor(shot(f.button).pixel(75, 2));
        QCOMPARE(normal, QColor(221, 217, 205));
        QCOMPARE(lit, QColor(233, 228, 217));
    }

    void imageMenuHoverAndClick_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("over the background strip") << 0;
        QTest::newRow("own strips") << 1;
    }

    void imageMenuHoverAndClick()
    {
        QFETCH(int, mode);
        NotifyRecorder owner;
        const int itemImage = mode == 0 ? 3400 : 3101;
        CDropListWnd menu(&owner, 77, mode, 0, 0, mode == 0 ? 3100 : 0);
        menu.addItem(itemImage);
        menu.addItem(itemImage);
        menu.addItem(itemImage);
        const QSize item = menu.itemSize();
        if (mode == 1)
            QCOMPARE(item.width(), SkinModule::size(3101).width() / 3);
        menu.resize(item.width(), 3 * (item.height() + 1) + 1);
        menu.showAt(QPoint(100, 100));
        QVERIFY(menu.isVisible());
        hover(&menu, QPoint(5, item.height() + 1 + 3));
        QCOMPARE(menu.hoveredItem(), 2);
        hover(&menu, QPoint(5, 0));
        QCOMPARE(menu.hoveredItem(), 0);
        hover(&menu, QPoint(5, menu.height()));
        QCOMPARE(menu.hoveredItem(), 3);
        hover(&menu, QPoint(5, 2));
        QCOMPARE(menu.hoveredItem(), 1);
        if (mode == 1) {
            // The hovered item shows the second third of its strip, the others the first.
            const QImage strip = SkinModule::image(3101).toImage();
            const int w = strip.width() / 3;
            const QImage img = shot(&menu);
            QVERIFY(sameWhereOpaque(img.copy(0, 1, w, item.height()), strip.copy(w, 0, w, strip.height())));
            QVERIFY(
                sameWhereOpaque(img.copy(0, item.height() + 2, w, item.height()), strip.copy(0, 0, w, strip.height())));
        }
        press(&menu, QPoint(5, 2));
        // Moves after a press inside no longer change the hover.
        hover(&menu, QPoint(5, 2 * (item.height() + 1) + 3));
        QCOMPARE(menu.hoveredItem(), 1);
        release(&menu, QPoint(5, 2 * (item.height() + 1) + 3));
        QVERIFY(!menu.isVisible());
        QCOMPARE(menu.hoveredItem(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(owner.notes.size(), 1);
        QCOMPARE(owner.notes.at(0).code, 3);
        const auto* record = reinterpret_cast<const CDropListWnd::Record*>(owner.notes.at(0).param);
        QCOMPARE(record->item, 1);
        QCOMPARE(record->menuId, 77);
    }

    void imageMenuClickOutsideReportsDismissal()
    {
        NotifyRecorder owner;
        CDropListWnd menu(&owner, 78, 1, 40, 60);
        menu.addItem(3101);
        menu.showAt(QPoint(100, 100));
        hover(&menu, QPoint(5, 3));
        press(&menu, QPoint(-10, 200));
        QVERIFY(!menu.isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(owner.notes.size(), 1);
        QCOMPARE(owner.notes.at(0).code, 4);
        const auto* record = reinterpret_cast<const CDropListWnd::Record*>(owner.notes.at(0).param);
        QCOMPARE(record->item, 0);
        QCOMPARE(record->menuId, 78);
    }

    void imageMenuDismissalIsReportedExactlyOnce_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("escape") << QStringLiteral("escape");
        QTest::newRow("closed from outside") << QStringLiteral("hide");
        QTest::newRow("escape, then hidden") << QStringLiteral("escape+hide");
        QTest::newRow("release outside after a press inside") << QStringLiteral("drag-out");
    }

    void imageMenuDismissalIsReportedExactlyOnce()
    {
        QFETCH(QString, how);
        NotifyRecorder owner;
        CDropListWnd menu(&owner, 79, 1, 40, 60);
        menu.addItem(3101);
        menu.showAt(QPoint(100, 100));
        hover(&menu, QPoint(5, 3));
        if (how.startsWith(QLatin1String("escape")))
            QTest::keyClick(&menu, Qt::Key_Escape);
        if (how.endsWith(QLatin1String("hide")))
            menu.hide();
        if (how == QLatin1String("drag-out")) {
            press(&menu, QPoint(5, 3));
            release(&menu, QPoint(-20, 300));
        }
        QVERIFY(!menu.isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(owner.notes.size(), 1);
        QCOMPARE(owner.notes.at(0).code, 4);
        QCOMPARE(reinterpret_cast<const CDropListWnd::Record*>(owner.notes.at(0).param)->item, 0);

        // Shown again, a choice reports the item and nothing else.
        menu.showAt(QPoint(100, 100));
        hover(&menu, QPoint(5, 3));
        press(&menu, QPoint(5, 3));
        release(&menu, QPoint(5, 3));
        QCoreApplication::processEvents();
        QCOMPARE(owner.notes.size(), 2);
        QCOMPARE(owner.notes.at(1).code, 3);
    }
};

QTEST_MAIN(DropDownTest)
#include "DropDownTest.moc"
