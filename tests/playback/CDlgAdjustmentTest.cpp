// The brightness and contrast dialog: its layout, the live preview of both sliders and what OK and
// Cancel leave behind.
#include "playback/CDlgAdjustment.h"
#include "app/NotifyEvent.h"
#include "playback/PictureAdjustment.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinModule.h"

#include <QtTest>

class CDlgAdjustmentTest : public QObject
{
    Q_OBJECT

private:
    // x of a slider step: the margin, then six equal steps.
    static int stepX(const CSkinSlider* s, int position) { return 7 + int(position * (s->width() - 14) / 6.0); }

    static void clickStep(CSkinSlider* s, int position)
    {
        QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, QPoint(stepX(s, position), s->height() / 2));
        QCoreApplication::sendPostedEvents();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("ResourceE")));
    }

    void layoutFollowsTheCountry_data()
    {
        QTest::addColumn<int>("country");
        QTest::addColumn<int>("x");
        QTest::newRow("Korea") << 82 << 60;
        QTest::newRow("Japan") << 81 << 80;
        QTest::newRow("elsewhere") << 61 << 80;
    }

    void layoutFollowsTheCountry()
    {
        QFETCH(int, country);
        QFETCH(int, x);
        float b = 1.0f, c = 1.0f;
        PictureAdjustment adjustment(b, c, false, {});
        CDlgAdjustment dlg(adjustment, country);
        QCOMPARE(dlg.size(), QSize(300, 190));
        QCOMPARE(dlg.contrastSlider()->geometry(), QRect(x, 15, 200, 30));
        QCOMPARE(dlg.brightnessSlider()->geometry(), QRect(x, 60, 200, 30));
        QCOMPARE(dlg.contrastSlider()->controlId(), 1013);
        QCOMPARE(dlg.brightnessSlider()->controlId(), 1012);
        QCOMPARE(dlg.okButton()->geometry(), QRect(74, 110, 64, 29));
        QCOMPARE(dlg.cancelButton()->geometry(), QRect(158, 110, 64, 29));
        QCOMPARE(dlg.okButton()->imageId(), 3124);
        QCOMPARE(dlg.cancelButton()->imageId(), 3125);
        // Everything fits inside the client area.
        QVERIFY(dlg.client()->rect().contains(dlg.cancelButton()->geometry()));
    }

    void slidersStartAtTheQuantisedValues()
    {
        float b = 1.3f, c = 0.6f;
        PictureAdjustment adjustment(b, c, false, {});
        CDlgAdjustment dlg(adjustment, 61);
        QCOMPARE(dlg.brightnessSlider()->value(), 4);
        QCOMPARE(dlg.contrastSlider()->value(), 1);

        float nb = 1.4f, nc = 1.4f;
        PictureAdjustment night(nb, nc, true, {});
        CDlgAdjustment nightDlg(night, 61);
        QCOMPARE(nightDlg.brightnessSlider()->value(), 3);
        QCOMPARE(nightDlg.contrastSlider()->value(), 3);
    }

    void slidersPreviewAndCancelRestores()
    {
        float b = 1.3f, c = 1.0f;
        QList<QPair<float, float>> applied;
        PictureAdjustment adjustment(b, c, false, [&] { applied.append({ b, c }); });
        CDlgAdjustment dlg(adjustment, 61);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        clickStep(dlg.brightnessSlider(), 6);
        QCOMPARE(b, 1.6f);
        clickStep(dlg.contrastSlider(), 0);
        QCOMPARE(c, 0.4f);
        QCOMPARE(applied.size(), 2);
        QCOMPARE(applied.last(), qMakePair(1.6f, 0.4f));

        QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), 2);
        // The starting positions' values, applied again: 1.3 comes back as 1.2.
        QCOMPARE(b, 1.2f);
        QCOMPARE(c, 1.0f);
        QCOMPARE(applied.last(), qMakePair(1.2f, 1.0f));
    }

    void okKeepsTheNewValues()
    {
        float b = 1.0f, c = 1.0f;
        PictureAdjustment adjustment(b, c, false, {});
        CDlgAdjustment dlg(adjustment, 82);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        clickStep(dlg.contrastSlider(), 5);
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QTRY_VERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), 1);
        QCOMPARE(c, 1.4f);
        QCOMPARE(b, 1.0f);
    }

    void runIsModalAndGivesTheResult()
    {
        float b = 1.0f, c = 1.0f;
        PictureAdjustment adjustment(b, c, false, {});
        QTimer::singleShot(50, [&] {
            auto* dlg = qobject_cast<CDlgAdjustment*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->brightnessSlider()->setPosition(5);
            adjustment.setBrightnessPosition(5);
            QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
        });
        QCOMPARE(CDlgAdjustment::Run(adjustment, 61, nullptr), 1);
        QCOMPARE(b, 1.4f);
    }

    void escapeCancels()
    {
        float b = 1.0f, c = 1.0f;
        PictureAdjustment adjustment(b, c, false, {});
        CDlgAdjustment dlg(adjustment, 61);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        clickStep(dlg.brightnessSlider(), 0);
        QCOMPARE(b, 0.4f);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QTRY_VERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), 2);
        QCOMPARE(b, 1.0f);
    }
};

QTEST_MAIN(CDlgAdjustmentTest)
#include "CDlgAdjustmentTest.moc"
