#include "skin/SkinModule.h"

#include <QCoreApplication>
#include <QImage>
#include <QtTest>

namespace {

QList<int> idRange(int first, int last)
{
    QList<int> ids;
    for (int id = first; id <= last; ++id)
        ids << id;
    return ids;
}

QList<int> allIds()
{
    return idRange(3000, 3027) + idRange(3100, 3156) + idRange(3200, 3209) + idRange(3300, 3366)
        + idRange(3400, 3417) + idRange(3500, 3507);
}

} // namespace

class SkinModuleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { SkinModule::unload(); }

    void everyImageIsInEveryModule_data()
    {
        QTest::addColumn<QString>("module");
        QTest::newRow("Korean") << "Resource";
        QTest::newRow("Japanese") << "ResourceJ";
        QTest::newRow("English") << "ResourceE";
    }

    void everyImageIsInEveryModule()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        for (int id : allIds()) {
            QVERIFY2(SkinModule::has(id), qPrintable(QStringLiteral("%1 lacks %2").arg(module).arg(id)));
            QVERIFY(!SkinModule::size(id).isEmpty());
        }
        // Button strips: three equal states side by side.
        for (int id : idRange(3000, 3003) + QList<int>{3100, 3124, 3125, 3126, 3134, 3135, 3136, 3154, 3155, 3156})
            QCOMPARE(SkinModule::size(id).width() % 3, 0);
        // Radio and check images: two equal halves.
        QCOMPARE(SkinModule::size(3139).width() % 2, 0);
        // The copy animation: 13 frames stacked vertically.
        QCOMPARE(SkinModule::size(3302).height() % 13, 0);
        QVERIFY(SkinModule::size(3302).height() / 13 > 0);
    }

    void missingModuleLoadsNothing()
    {
        QVERIFY(!SkinModule::load(QCoreApplication::applicationDirPath(), QStringLiteral("NoSuchModule")));
        QVERIFY(!SkinModule::isLoaded());
        QVERIFY(SkinModule::image(3000).isNull());
        QVERIFY(SkinModule::size(3000).isEmpty());
    }

    void magentaBecomesTransparent()
    {
        QImage img(4, 1, QImage::Format_RGB32);
        img.setPixel(0, 0, qRgb(255, 0, 255));
        img.setPixel(1, 0, qRgb(254, 0, 255));
        img.setPixel(2, 0, qRgb(0, 0, 0));
        img.setPixel(3, 0, qRgb(255, 0, 255));
        const QImage keyed = SkinModule::keyOutMagenta(img);
        QCOMPARE(qAlpha(keyed.pixel(0, 0)), 0);
        QCOMPARE(keyed.pixel(1, 0), qRgb(254, 0, 255));
        QCOMPARE(keyed.pixel(2, 0), qRgb(0, 0, 0));
        QCOMPARE(qAlpha(keyed.pixel(3, 0)), 0);
    }
};

QTEST_MAIN(SkinModuleTest)
#include "SkinModuleTest.moc"
