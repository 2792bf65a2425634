#include "SkinTestSupport.h"

#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "skin/CDlgFrame.h"
#include "skin/CDlgMessage.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/MessageBoxLayout.h"
#include "skin/SkinFont.h"
#include "skin/SkinModule.h"

#include <QMenu>
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

void moveTo(QWidget* w, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, buttons);
}

void release(QWidget* w, QPoint pos)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void doubleClick(QWidget* w, QPoint pos)
{
    sendMouse(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    release(w, pos);
}

// A dialog that counts the move/size hooks.
class HookedFrame : public CDlgFrame
{
public:
    int starts = 0;
    int ends = 0;

protected:
    void onMoveSizeStart() override { ++starts; }
    void onMoveSizeEnd() override { ++ends; }
};

// Whether the frame shows the given third of a strip at a caption button's place (the part of the button
// inside the caption; the client area covers the rest).
bool showsThird(CDlgFrame& frame, const QRect& button, int imageId, int third)
{
    const QImage strip = SkinModule::image(imageId).toImage();
    const int w = strip.width() / 3;
    // The inside of the button: its edges are blended with whatever lies below.
    const QRect visible = button.adjusted(3, 3, -3, -3).intersected(QRect(0, 0, frame.width(), frame.captionHeight()));
    const QImage expected = strip.copy(third * w, 0, w, strip.height()).copy(visible.translated(-button.topLeft()));
    return sameWhereOpaque(shot(&frame).copy(visible), expected);
}

// A string table with a two-line entry.
class TwoLineTable : public QTranslator
{
public:
    QString translate(const char*, const char* sourceText, const char*, int) const override
    {
        return qstrcmp(sourceText, "str_999") == 0 ? QStringLiteral("Open Folder\nChoose a folder of recordings")
                                                   : QString();
    }
    bool isEmpty() const override { return false; }
};

// A dialog that keeps the notifications of the controls on its client area.
class RecordingFrame : public CDlgFrame
{
public:
    QList<int> codes;
    QList<QPair<int, int>> drops;

protected:
    void customEvent(QEvent* event) override
    {
        if (event->type() == NotifyEvent::eventType())
            codes << static_cast<NotifyEvent*>(event)->code();
        else if (event->type() == DropSelectionEvent::eventType())
            drops << qMakePair(
                static_cast<DropSelectionEvent*>(event)->controlId(), static_cast<DropSelectionEvent*>(event)->index());
    }
};

} // namespace

class SkinDialogsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
        QVERIFY(InstallStringTable(*QCoreApplication::instance(), QStringLiteral("en")));
    }

    void cleanup()
    {
        CDlgMessage::clearNextAnswers();
        CDlgMessage::setAutoClose(false);
        CDlgMessage::setClockForTesting({});
        viewerEnvironment().tierLabel.clear();
    }

    void frameMetricsComeFromTheImages()
    {
        CDlgFrame frame;
        const QMargins m = frame.frameMargins();
        QCOMPARE(m.top(), SkinModule::size(3004).height());
        QCOMPARE(m.left(), SkinModule::size(3007).width());
        QCOMPARE(m.right(), SkinModule::size(3008).width());
        QCOMPARE(m.bottom(), SkinModule::size(3009).height());
        frame.setClientSize(QSize(300, 200));
        frame.show();
        QCOMPARE(frame.client()->geometry(), QRect(m.left(), m.top(), 300, 200));
        // Close at the right, maximise and minimise one button width further left each.
        const int w = SkinModule::size(3000).width() / 3;
        QCOMPARE(frame.captionButtonRect(CDlgFrame::Close),
            QRect(frame.width() - 10 - w, 10, w, SkinModule::size(3000).height()));
        QCOMPARE(frame.captionButtonRect(CDlgFrame::Maximise).x(), frame.width() - 10 - 2 * w);
        QCOMPARE(frame.captionButtonRect(CDlgFrame::Minimise).x(), frame.width() - 10 - 3 * w);
        // The close button shows the third of its state.
        const QRect r = frame.captionButtonRect(CDlgFrame::Close);
        QVERIFY(showsThird(frame, r, 3000, 0));
        moveTo(&frame, r.center());
        QCOMPARE(frame.captionButtonState(CDlgFrame::Close), 1);
        QVERIFY(showsThird(frame, r, 3000, 1));
        press(&frame, r.center());
        QCOMPARE(frame.captionButtonState(CDlgFrame::Close), 2);
        QVERIFY(showsThird(frame, r, 3000, 2));
        release(&frame, r.center());
        QTRY_VERIFY(!frame.isVisible());
    }

    void captionButtonReleasedOutsideDoesNothing()
    {
        CDlgFrame frame;
        frame.setClientSize(QSize(300, 200));
        frame.show();
        for (CDlgFrame::CaptionButton b : { CDlgFrame::Close, CDlgFrame::Maximise, CDlgFrame::Minimise }) {
            const QRect r = frame.captionButtonRect(b);
            moveTo(&frame, r.center());
            QCOMPARE(frame.captionButtonState(b), 1);
            press(&frame, r.center());
            QCOMPARE(frame.captionButtonState(b), 2);
            release(&frame, QPoint(frame.width() / 2, frame.height() / 2));
            QCOMPARE(frame.captionButtonState(b), 0);
            QCoreApplication::processEvents();
            QVERIFY(frame.isVisible());
            QVERIFY(!frame.isMaximisedFlag());
            QVERIFY(!frame.isMinimized());
        }
        // Hovering moves from button to button, away from them all states are 0.
        moveTo(&frame, frame.captionButtonRect(CDlgFrame::Minimise).center());
        QCOMPARE(frame.captionButtonState(CDlgFrame::Minimise), 1);
        QCOMPARE(frame.captionButtonState(CDlgFrame::Close), 0);
        moveTo(&frame, QPoint(40, 5));
        QCOMPARE(frame.captionButtonState(CDlgFrame::Minimise), 0);
    }

    void maximiseButtonAndCaptionDoubleClick()
    {
        CDlgFrame frame;
        frame.setClientSize(QSize(300, 200));
        frame.show();
        const QRect r = frame.captionButtonRect(CDlgFrame::Maximise);
        press(&frame, r.center());
        release(&frame, r.center());
        QVERIFY(frame.isMaximisedFlag());
        QVERIFY(frame.windowState() & Qt::WindowMaximized);
        // The restore strip is shown while maximised.
        QVERIFY(showsThird(
            frame, frame.captionButtonRect(CDlgFrame::Maximise), 3003, frame.captionButtonState(CDlgFrame::Maximise)));
        doubleClick(&frame, QPoint(40, 5));
        QVERIFY(!frame.isMaximisedFlag());
        doubleClick(&frame, QPoint(40, 5));
        QVERIFY(frame.isMaximisedFlag());
        frame.showNormal();
        QVERIFY(!frame.isMaximisedFlag());
        // Without caption buttons double clicks on the caption are ignored.
        frame.setCaptionButtons(false);
        doubleClick(&frame, QPoint(40, 5));
        QVERIFY(!frame.isMaximisedFlag());
    }

    void captionDragMovesButNotWhenMaximised()
    {
        HookedFrame frame;
        frame.setClientSize(QSize(300, 200));
        frame.move(100, 100);
        frame.show();
        const QPoint start = frame.pos();
        press(&frame, QPoint(50, 5));
        QCOMPARE(frame.starts, 1);
        moveTo(&frame, QPoint(90, 25), Qt::LeftButton);
        release(&frame, QPoint(90, 25));
        QTRY_COMPARE(frame.ends, 1);
        // Where we move the window by hand (the offscreen platform has no window system to ask) it has
        // followed the cursor by exactly the drag; a window-system move cannot be watched from here.
        if (frame.lastMoveWasManual())
            QCOMPARE(frame.pos(), start + QPoint(40, 20));
        else
            QVERIFY(QGuiApplication::platformName() != QLatin1String("offscreen"));

        frame.showMaximized();
        QVERIFY(frame.isMaximisedFlag());
        const QPoint maximisedPos = frame.pos();
        press(&frame, QPoint(50, 5));
        moveTo(&frame, QPoint(200, 100), Qt::LeftButton);
        release(&frame, QPoint(200, 100));
        QCOMPARE(frame.starts, 1);
        QCOMPARE(frame.pos(), maximisedPos);
    }

    void controlsOnTheClientAreaNotifyTheDialog()
    {
        RecordingFrame frame;
        frame.setClientSize(QSize(300, 200));
        auto* button = new CSkinButton(frame.client(), 1029);
        button->setImage(3126);
        button->setGeometry(10, 10, 84, 34);
        frame.show();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
        QCoreApplication::postEvent(frame.client(), new DropSelectionEvent(1200, 3));
        QTRY_COMPARE(frame.codes, QList<int> { 1 });
        QTRY_COMPARE(frame.drops.size(), 1);
        QCOMPARE(frame.drops.at(0), qMakePair(1200, 3));
    }

    void textFontsAreSizedByCellHeight()
    {
        for (int cell : { 15, 17 }) {
            const QFontMetrics fm(SkinFont(cell));
            QVERIFY(fm.height() <= cell);
            QVERIFY(fm.height() >= cell - 2);
        }
        QCOMPARE(CDlgMessage::textFont(), SkinFont(17));
    }

    void escapeAndEnterNeverCloseAFrame()
    {
        CDlgFrame frame;
        frame.show();
        QTest::keyClick(&frame, Qt::Key_Escape);
        QTest::keyClick(&frame, Qt::Key_Return);
        QTest::keyClick(&frame, Qt::Key_Enter);
        QCoreApplication::processEvents();
        QVERIFY(frame.isVisible());
    }

    void windowMenuFollowsTheWindowState()
    {
        CDlgFrame frame;
        frame.show();
        auto enabled = [&](QMenu* menu, const char* name) {
            return menu->findChild<QAction*>(QLatin1String(name))->isEnabled();
        };
        std::unique_ptr<QMenu> menu(frame.createWindowMenu());
        QVERIFY(!enabled(menu.get(), "restore"));
        QVERIFY(enabled(menu.get(), "move"));
        QVERIFY(enabled(menu.get(), "size"));
        QVERIFY(enabled(menu.get(), "minimise"));
        QVERIFY(enabled(menu.get(), "maximise"));
        QVERIFY(enabled(menu.get(), "close"));
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("&Restore"));
        menu->findChild<QAction*>(QStringLiteral("maximise"))->trigger();
        QVERIFY(frame.isMaximisedFlag());
        menu.reset(frame.createWindowMenu());
        QVERIFY(enabled(menu.get(), "restore"));
        QVERIFY(!enabled(menu.get(), "move"));
        QVERIFY(!enabled(menu.get(), "size"));
        QVERIFY(enabled(menu.get(), "minimise"));
        QVERIFY(!enabled(menu.get(), "maximise"));
        menu->findChild<QAction*>(QStringLiteral("restore"))->trigger();
        QVERIFY(!frame.isMaximisedFlag());
    }

    void titleAndTooltips()
    {
        viewerEnvironment().tierLabel = QStringLiteral("[중사양 PC용 뷰어]");
        CDlgFrame frame;
        frame.setTitle(QStringLiteral("Select the Drive"));
        QCOMPARE(frame.title(), QStringLiteral("[중사양 PC용 뷰어]   Select the Drive"));
        QWidget child(frame.client());
        frame.addToolTip(&child, QStringLiteral("Copy"));
        QCOMPARE(child.toolTip(), QStringLiteral("Copy"));
        frame.addToolTip(&child, QString(), 256);
        QCOMPARE(child.toolTip(), QStringLiteral("You must select one SD Card."));
        // A string of several lines gives its first line only.
        TwoLineTable table;
        QCoreApplication::installTranslator(&table);
        frame.addToolTip(&child, QString(), 999);
        QCoreApplication::removeTranslator(&table);
        QCOMPARE(child.toolTip(), QStringLiteral("Open Folder"));
    }

    void messageBoxButtonsPerStyle_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<int>>("images");
        QTest::addColumn<QList<int>>("results");
        auto row = [](const char* name, int style, QList<int> images, QList<int> results) {
            QTest::newRow(name) << style << images << results;
        };
        row("0 OK", 0, { 0, 0, 3131 }, { 0, 0, 1 });
        row("1 OK Cancel", 1, { 0, 3131, 3126 }, { 0, 1, 2 });
        row("2 Abort Retry Ignore", 2, { 3133, 3132, 3128 }, { 3, 4, 5 });
        row("3 Yes No Cancel", 3, { 3134, 3130, 3126 }, { 6, 7, 2 });
        row("4 Yes No", 4, { 0, 3134, 3130 }, { 0, 6, 7 });
        row("5 Retry Cancel", 5, { 0, 3132, 3126 }, { 0, 4, 2 });
        row("1024 format chooser", 1024, { 3127, 3129, 3126 }, { 1, 7, 2 });
        row("1025 busy", 1025, { 0, 0, 0 }, { 0, 0, 0 });
        row("1026 check chooser", 1026, { 3155, 3156, 3126 }, { 1, 7, 2 });
        row("1027 viewer chooser", 1027, { 0, 0, 3131 }, { 0, 0, 1 });
        row("1028 do not show again", 1028, { 0, 0, 3131 }, { 0, 0, 1 });
    }

    void messageBoxButtonsPerStyle()
    {
        QFETCH(int, style);
        QFETCH(QList<int>, images);
        QFETCH(QList<int>, results);
        for (int slot = 0; slot < 3; ++slot) {
            CDlgMessage box(style, QStringLiteral("Message"), QString());
            QCOMPARE(box.size(), QSize(400, 200));
            QVERIFY(!box.captionButtons());
            CSkinButton* button = box.button(slot);
            if (!images.at(slot)) {
                QVERIFY(!button);
                continue;
            }
            QVERIFY(button);
            QCOMPARE(button->imageId(), images.at(slot));
            const int w = box.client()->width();
            const int h = box.client()->height();
            QCOMPARE(button->geometry(), msgbox::buttonRect(msgbox::ButtonSlot(slot), w, h, style));
            box.show();
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(40, 17));
            QTRY_VERIFY(!box.isVisible());
            QCOMPARE(box.result(), results.at(slot));
        }
    }

    void messageBoxDecoration()
    {
        QCOMPARE(CDlgMessage(2, QString(), QString()).decorationImage(), 3321);
        QCOMPARE(CDlgMessage(5, QString(), QString()).decorationImage(), 3320);
        QCOMPARE(CDlgMessage(0, QString(), QString()).decorationImage(), 3319);
        QCOMPARE(CDlgMessage(1026, QString(), QString()).decorationImage(), 3319);
        QCOMPARE(CDlgMessage(1027, QString(), QString()).decorationImage(), 0);
    }

    void messageBoxKeys_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter in Yes/No answers Yes") << 4 << int(Qt::Key_Return) << 6;
        QTest::newRow("keypad Enter") << 4 << int(Qt::Key_Enter) << 6;
        QTest::newRow("Space") << 3 << int(Qt::Key_Space) << 6;
        QTest::newRow("ESC answers 2") << 4 << int(Qt::Key_Escape) << 2;
        QTest::newRow("Enter in an OK box gives 6") << 0 << int(Qt::Key_Return) << 6;
        QTest::newRow("ESC in a busy notice") << 1025 << int(Qt::Key_Escape) << 2;
    }

    void messageBoxKeys()
    {
        QFETCH(int, style);
        QFETCH(int, key);
        QFETCH(int, result);
        CDlgMessage box(style, QStringLiteral("Delete the selected recordings?"), QString());
        box.show();
        QTest::keyClick(&box, Qt::Key(key));
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), result);
    }

    void messageBoxWrapsIntoBands()
    {
        CDlgMessage one(0, QStringLiteral("Saved."), QString());
        QCOMPARE(one.lines(), QStringList { QStringLiteral("Saved.") });
        const QRect area = one.textArea();
        QCOMPARE(one.lineRect(0).top(), area.top() + 40);

        const QString longText = QStringLiteral("The SD card could not be formatted because another program is "
                                                "using it. Close the other program and try again.");
        CDlgMessage many(1, longText, QString());
        const QStringList lines = many.lines();
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines.join(QLatin1Char(' ')), longText);
        const QFontMetrics fm(CDlgMessage::textFont());
        for (const QString& line : lines)
            QVERIFY(fm.horizontalAdvance(line) <= area.width());
        if (lines.size() == 2)
            QCOMPARE(many.lineRect(0).top(), area.top() + 20);
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(many.lineRect(i), msgbox::lineBand(int(lines.size()), i, area));

        // The painted text of a one-line box starts no higher than its band.
        one.show();
        const QImage img = shot(one.client());
        int firstInk = -1;
        for (int y = area.top(); y <= area.bottom() && firstInk < 0; ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (QColor(img.pixel(x, y)).red() > 100) {
                    firstInk = y;
                    break;
                }
            }
        }
        QVERIFY(firstInk >= area.top() + 40);
        QVERIFY(firstInk < area.top() + 40 + 17);
    }

    void messageBoxBreaksAWordLongerThanTheArea()
    {
        const QString word(60, QLatin1Char('W'));
        CDlgMessage box(0, word, QString());
        const QFontMetrics fm(CDlgMessage::textFont());
        QVERIFY(box.lines().size() > 1);
        QCOMPARE(box.lines().join(QString()), word);
        for (const QString& line : box.lines())
            QVERIFY(fm.horizontalAdvance(line) <= box.textArea().width());
        QVERIFY(fm.horizontalAdvance(box.lines().first() + QLatin1Char('W')) > box.textArea().width());
    }

    void autoCloseClosesAfterTwoSecondsAndIgnoresKeys()
    {
        qint64 now = 100;
        CDlgMessage::setClockForTesting([&now] { return now; });
        CDlgMessage::setAutoClose(true);
        CDlgMessage box(0, QStringLiteral("Saved."), QString());
        QVERIFY(!box.button(2)); // the OK button is hidden
        box.show();
        QTest::keyClick(&box, Qt::Key_Escape);
        QTest::keyClick(&box, Qt::Key_Return);
        QVERIFY(box.isVisible());
        now = 102;
        QTest::qWait(300);
        QVERIFY(box.isVisible());
        now = 103;
        QTRY_VERIFY(!box.isVisible());
        QCOMPARE(box.result(), 2);
        QVERIFY(!CDlgMessage::isAutoClose());
        // Without the mode the next OK box has its button.
        CDlgMessage next(0, QStringLiteral("Saved."), QString());
        QVERIFY(next.button(2));
    }

    void doNotShowAgainBox()
    {
        CDlgMessage box(1028, QStringLiteral("Administrator rights are needed."), QString());
        CSkinRadioButton* check = box.radio(CDlgMessage::CheckBox);
        QVERIFY(check);
        QCOMPARE(check->geometry(), QRect(15, 135, 15, 15));
        QCOMPARE(box.checkText(), QStringLiteral("     다시 보지 않기"));
        // No Windows line on this system.
        QCOMPARE(box.lines().first(), QStringLiteral("Administrator rights are needed."));
        QSignalSpy toggled(&box, &CDlgMessage::checkToggled);
        box.show();
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(7, 7));
        QTRY_COMPARE(toggled.size(), 1);
        QCOMPARE(toggled.at(0).at(0).toBool(), true);
        QVERIFY(box.isChecked() && check->isChecked());
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(7, 7));
        QTRY_COMPARE(toggled.size(), 2);
        QCOMPARE(toggled.at(1).at(0).toBool(), false);
        QVERIFY(!check->isChecked());
        QVERIFY(box.isVisible());
    }

    void viewerChooserRadios()
    {
        CDlgMessage box(1027, QStringLiteral("Choose"), QString());
        QCOMPARE(box.radio(CDlgMessage::RadioHigh)->geometry(), QRect(15, 32, 15, 15));
        QCOMPARE(box.radio(CDlgMessage::RadioMid)->geometry(), QRect(15, 49, 15, 15));
        QCOMPARE(box.radio(CDlgMessage::RadioLow)->geometry(), QRect(15, 66, 15, 15));
        QCOMPARE(box.radio(CDlgMessage::CheckBox)->geometry(), QRect(15, 135, 15, 15));
        QSignalSpy clicked(&box, &CDlgMessage::radioClicked);
        box.show();
        QTest::mouseClick(box.radio(CDlgMessage::RadioHigh), Qt::LeftButton, {}, QPoint(7, 7));
        QTest::mouseClick(box.radio(CDlgMessage::RadioLow), Qt::LeftButton, {}, QPoint(7, 7));
        QTRY_COMPARE(clicked.size(), 2);
        QCOMPARE(clicked.at(1).at(0).toInt(), int(CDlgMessage::RadioLow));
        QVERIFY(!box.radio(CDlgMessage::RadioHigh)->isChecked());
        QVERIFY(box.radio(CDlgMessage::RadioLow)->isChecked());
    }

    void askTakesPresetAnswers()
    {
        CDlgMessage::setNextAnswer(7);
        CDlgMessage::setNextAnswer(6);
        QCOMPARE(CDlgMessage::ask(4, QStringLiteral("Delete?"), QStringLiteral("Delete")), 7);
        QCOMPARE(CDlgMessage::ask(0, 256), 6);
        const QList<CDlgMessage::Asked> asked = CDlgMessage::takeAsked();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0).style, 4);
        QCOMPARE(asked.at(0).caption, QStringLiteral("Delete"));
        QCOMPARE(asked.at(1).text, QStringLiteral("You must select one SD Card."));
        QVERIFY(asked.at(1).caption.isEmpty());
        QVERIFY(CDlgMessage::takeAsked().isEmpty());
    }

    void askRunsTheBoxModally()
    {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<CDlgMessage*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QTest::mouseClick(box->button(1), Qt::LeftButton, {}, QPoint(40, 17));
        });
        QCOMPARE(CDlgMessage::ask(4, QStringLiteral("Overwrite?"), QString()), 6);
    }
};

QTEST_MAIN(SkinDialogsTest)
#include "SkinDialogsTest.moc"
