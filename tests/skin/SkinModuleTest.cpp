#include "skin/SkinModule.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QtTest>

#include <cstdlib>

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
    return idRange(3000, 3027) + idRange(3100, 3156) + idRange(3200, 3209) + idRange(3300, 3366) + idRange(3400, 3417)
        + idRange(3500, 3507);
}

// Images drawn as three states side by side: caption buttons, settings tab, button strips, own-strip
// buttons, message and dialog buttons, map providers and image-menu items.
QList<int> stripIds()
{
    return idRange(3000, 3003) + QList<int> { 3014, 3100 } + idRange(3112, 3117) + idRange(3124, 3136)
        + idRange(3145, 3151) + idRange(3154, 3156);
}

// Images drawn transparently over the button, window or track beneath them.
QList<int> overlayIds()
{
    return idRange(3101, 3111) + idRange(3118, 3123) + idRange(3140, 3144) + QList<int> { 3152, 3153, 3203 }
    + idRange(3303, 3314) + idRange(3322, 3363);
}

// Images that carry words; everything else is the same picture in every module.
QList<int> textIds()
{
    return idRange(3124, 3136) + idRange(3145, 3147) + idRange(3154, 3156) + idRange(3409, 3417);
}

QSize stateSize(int id)
{
    const QSize s = SkinModule::size(id);
    return QSize(s.width() / 3, s.height());
}

// The image as stored in the module, before magenta is keyed out.
QImage raw(int id)
{
    return QImage(QStringLiteral(":/skin/%1.png").arg(id)).convertToFormat(QImage::Format_ARGB32);
}

bool isMagenta(QRgb p)
{
    return (p & 0x00FFFFFFu) == 0x00FF00FFu;
}

// Mean absolute difference per colour channel of two images of the same size (0-255).
double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return -1;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return double(sum) / (3.0 * a.width() * a.height());
}

// A state must differ from another by enough to be seen at a glance, not by a stray pixel.
constexpr double kVisible = 6.0;

void addModuleRows()
{
    QTest::addColumn<QString>("module");
    QTest::newRow("Korean") << "Resource";
    QTest::newRow("Japanese") << "ResourceJ";
    QTest::newRow("English") << "ResourceE";
}

QString where(const QString& module, int id)
{
    return QStringLiteral("%1, image %2").arg(module).arg(id);
}

} // namespace

class SkinModuleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { SkinModule::unload(); }

    void everyImageIsInEveryModule_data() { addModuleRows(); }
    void everyImageIsInEveryModule()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        for (int id : allIds()) {
            QVERIFY2(SkinModule::has(id), qPrintable(QStringLiteral("%1 lacks %2").arg(module).arg(id)));
            QVERIFY(!SkinModule::size(id).isEmpty());
        }
        QVERIFY(!SkinModule::has(3028));
    }

    void stripsHaveThreeVisiblyDifferentStates_data() { addModuleRows(); }
    void stripsHaveThreeVisiblyDifferentStates()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        for (int id : stripIds()) {
            const QImage img = raw(id);
            QVERIFY2(img.width() % 3 == 0, qPrintable(where(module, id)));
            const int w = img.width() / 3;
            const QImage normal = img.copy(0, 0, w, img.height());
            const QImage hover = img.copy(w, 0, w, img.height());
            const QImage pressed = img.copy(2 * w, 0, w, img.height());
            QVERIFY2(meanDifference(normal, hover) >= kVisible, qPrintable(where(module, id) + " hover"));
            QVERIFY2(meanDifference(normal, pressed) >= kVisible, qPrintable(where(module, id) + " pressed"));
            QVERIFY2(meanDifference(hover, pressed) >= kVisible, qPrintable(where(module, id) + " hover/pressed"));
        }
    }

    void radioAndCheckImagesShowTheirState_data() { addModuleRows(); }
    void radioAndCheckImagesShowTheirState()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        const QImage radio = raw(3139);
        QCOMPARE(radio.width() % 2, 0);
        const int half = radio.width() / 2;
        QVERIFY(meanDifference(radio.copy(0, 0, half, radio.height()), radio.copy(half, 0, half, radio.height()))
            >= kVisible);
        QCOMPARE(raw(3137).size(), raw(3138).size());
        QVERIFY(meanDifference(raw(3137), raw(3138)) >= kVisible);
    }

    void copyAnimationHasThirteenMovingFrames_data() { addModuleRows(); }
    void copyAnimationHasThirteenMovingFrames()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        const QImage strip = raw(3302);
        QCOMPARE(strip.height() % 13, 0);
        const int fh = strip.height() / 13;
        QVERIFY(fh > 0);
        for (int k = 0; k + 1 < 13; ++k) {
            const QImage a = strip.copy(0, k * fh, strip.width(), fh);
            const QImage b = strip.copy(0, (k + 1) * fh, strip.width(), fh);
            QVERIFY2(
                meanDifference(a, b) > 0.5, qPrintable(QStringLiteral("frames %1 and %2 alike").arg(k).arg(k + 1)));
        }
        // The dialog shows the left image, one frame and the right image in a row above its progress bar,
        // which starts at the left image's bottom; the row must fit the 415-pixel window with its margin.
        QVERIFY(fh <= SkinModule::size(3300).height());
        const int client = 415 - SkinModule::size(3007).width() - SkinModule::size(3008).width();
        QVERIFY(25 + SkinModule::size(3300).width() + strip.width() + SkinModule::size(3301).width() <= client - 25);
        QCOMPARE(SkinModule::size(3204), SkinModule::size(3205));
    }

    void transparentImagesAreMagentaAroundTheirArt_data() { addModuleRows(); }
    void transparentImagesAreMagentaAroundTheirArt()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        for (int id : overlayIds() + QList<int> { 3209 }) {
            const QImage img = raw(id);
            const int r = img.width() - 1;
            const int b = img.height() - 1;
            QVERIFY2(isMagenta(img.pixel(0, 0)) && isMagenta(img.pixel(r, 0)) && isMagenta(img.pixel(0, b))
                    && isMagenta(img.pixel(r, b)),
                qPrintable(where(module, id)));
            int art = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    art += isMagenta(img.pixel(x, y)) ? 0 : 1;
            QVERIFY2(art > img.width() * img.height() / 20, qPrintable(where(module, id) + " has no art"));
            // Loaded through the module, the magenta is gone.
            QCOMPARE(qAlpha(SkinModule::image(id).toImage().pixel(0, 0)), 0);
        }
        // The blank sign is nothing but transparency, and as large as the other cells.
        const QImage blank = raw(3364);
        QCOMPARE(blank.size(), raw(3324).size());
        for (int y = 0; y < blank.height(); ++y)
            for (int x = 0; x < blank.width(); ++x)
                QVERIFY(isMagenta(blank.pixel(x, y)));
    }

    void rowIconsCarryAlphaAndDiffer_data() { addModuleRows(); }
    void rowIconsCarryAlphaAndDiffer()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        QList<QImage> icons;
        for (int id : idRange(3500, 3507)) {
            const QImage icon = SkinModule::icon(id).pixmap(SkinModule::size(id)).toImage();
            QVERIFY(icon.hasAlphaChannel());
            QCOMPARE(SkinModule::size(id), SkinModule::size(3500));
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
            for (const QImage& other : icons)
                QVERIFY2(meanDifference(icon, other) > 1.0, qPrintable(where(module, id) + " looks like another icon"));
            icons << icon;
        }
    }

    void modulesDifferOnlyWhereImagesCarryText()
    {
        QHash<QString, QHash<int, QImage>> images;
        for (const QString& module :
            { QStringLiteral("Resource"), QStringLiteral("ResourceJ"), QStringLiteral("ResourceE") }) {
            QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
            for (int id : allIds())
                images[module].insert(id, raw(id));
            SkinModule::unload();
        }
        const QList<int> text = textIds();
        for (int id : allIds()) {
            const QImage& ko = images["Resource"][id];
            const QImage& ja = images["ResourceJ"][id];
            const QImage& en = images["ResourceE"][id];
            if (!text.contains(id)) {
                QVERIFY2(ko == en && ja == en, qPrintable(QStringLiteral("image %1 differs between modules").arg(id)));
                continue;
            }
            QVERIFY2(ko != en, qPrintable(QStringLiteral("image %1 is not Korean").arg(id)));
            // The map providers keep their Latin names in Japanese.
            if (id < 3145 || id > 3147)
                QVERIFY2(ja != en, qPrintable(QStringLiteral("image %1 is not Japanese").arg(id)));
        }
    }

    void sizesFitTheLayouts_data() { addModuleRows(); }
    void sizesFitTheLayouts()
    {
        QFETCH(QString, module);
        QVERIFY(SkinModule::load(QCoreApplication::applicationDirPath(), module));
        const auto size = [](int id) { return SkinModule::size(id); };

        // Frame: 3004 gives the caption height; caption buttons stand 10 px down, the icon 4 px down.
        const int caption = size(3004).height();
        QCOMPARE(size(3005).height(), caption);
        QCOMPARE(size(3006).height(), caption);
        for (int id : idRange(3000, 3003)) {
            QCOMPARE(size(id), size(3000));
            QVERIFY(10 + size(id).height() <= caption);
        }
        QVERIFY(4 + size(3013).height() <= caption);
        QVERIFY(size(3012).height() <= caption);
        QCOMPARE(size(3010).width(), size(3007).width());
        QCOMPARE(size(3011).width(), size(3008).width());
        QCOMPARE(size(3010).height(), size(3009).height());
        QCOMPARE(size(3011).height(), size(3009).height());
        // The frame's borders leave the fixed-size dialogs room for their controls: the 402 x 198 drive
        // dialog's button column (x 332, 64 wide; five buttons 32 apart, 29 high, from y 5).
        const int clientWidth = 402 - size(3007).width() - size(3008).width();
        const int clientHeight = 198 - caption - size(3009).height();
        QVERIFY(332 + 64 <= clientWidth);
        QVERIFY(5 + 4 * 32 + 29 <= clientHeight);

        // Buttons are drawn at their control's size, so their text and edges are never stretched.
        for (int id : idRange(3126, 3134) + QList<int> { 3155, 3156 })
            QCOMPARE(stateSize(id), QSize(84, 34));
        for (int id : { 3124, 3125, 3135, 3136, 3154 })
            QCOMPARE(stateSize(id), QSize(64, 29));
        QCOMPARE(stateSize(3100), QSize(50, 35));
        // Overlays sit centred one pixel low, and one pixel right while pressed, inside a 50 x 35 button.
        for (int id : idRange(3101, 3111) + idRange(3118, 3123) + idRange(3140, 3144) + QList<int> { 3152, 3153 }) {
            QVERIFY2(size(id).width() <= 48 && size(id).height() <= 33, qPrintable(where(module, id)));
        }
        for (int id : idRange(3141, 3144))
            QCOMPARE(size(id), size(3140));
        for (int id : { 3150, 3151 })
            QCOMPARE(size(id), size(3149));
        for (int id : { 3145, 3146, 3147 })
            QCOMPARE(stateSize(id), QSize(68, 26));
        QCOMPARE(stateSize(3116), QSize(18, 18));
        QCOMPARE(stateSize(3117), QSize(18, 18));
        QCOMPARE(size(3139), QSize(30, 15));
        // List On/Off stand in the 10 px between the video and the list (or the window edge).
        QVERIFY(stateSize(3114).width() <= 10);
        QCOMPARE(size(3115), size(3114));
        // Vol On/Off: top at CH - 43, above the bottom margin of 10.
        QCOMPARE(size(3113), size(3112));
        QVERIFY(stateSize(3112).height() <= 33);

        // Speed readout: panel and GPS indicator share one height and stand on the video's top (y 40);
        // the number (bold Arial 30, up to "300") fits left of the 45 px unit area.
        const int gps = size(3316).height();
        for (int id : { 3315, 3317, 3318 })
            QCOMPARE(size(id).height(), gps);
        QCOMPARE(size(3315), size(3316));
        QCOMPARE(size(3318), size(3317));
        QVERIFY(gps <= 40);
        QFont arial(QStringLiteral("Arial"));
        arial.setPixelSize(30);
        arial.setWeight(QFont::Bold);
        QVERIFY(size(3317).width() - 45 >= QFontMetrics(arial).horizontalAdvance(QStringLiteral("300")));

        // Time readout: digits at 3303's size, in the gap between the graph (ending 30 + 3316's height
        // above the client bottom) and the row drawn 50 above it.
        for (int id : idRange(3304, 3312))
            QCOMPARE(size(id), size(3303));
        QVERIFY(size(3303).height() + 20 <= gps);
        QCOMPARE(size(3313).height(), size(3303).height());
        QCOMPARE(size(3314).height(), size(3303).height());

        // Three-axis readout: every cell as wide as 3322, the second labels as wide as 3323; the last z
        // digit begins 142 px left of the video's right edge and must end before the Vol button.
        const QSize cell = size(3322);
        for (int id : idRange(3324, 3336) + idRange(3338, 3350) + idRange(3352, 3364))
            QCOMPARE(size(id), cell);
        QCOMPARE(size(3337), size(3323));
        QCOMPARE(size(3351), size(3323));
        QCOMPARE(size(3323).height(), cell.height());
        QVERIFY(cell.width() <= 142 - 103 - stateSize(3112).width());

        // Sliders: the fill is drawn into the track's bitmap; thumbs fit the 25 px option slider.
        QCOMPARE(size(3201), size(3200));
        QCOMPARE(size(3208), size(3206));
        QVERIFY(size(3203).height() <= 25);
        QVERIFY(size(3209).height() <= 25);

        // Header pictures fit their columns (the category column is 40 px in Korea, 53 elsewhere).
        const int categoryWidth = module == QLatin1String("Resource") ? 40 : 53;
        for (int id : { 3410, 3414, 3415, 3416 })
            QVERIFY2(size(id).width() <= categoryWidth, qPrintable(where(module, id)));
        QVERIFY(size(3413).width() <= 104);
        QVERIFY(size(3412).width() <= 137);
        for (int id : { 3409, 3411, 3417 })
            QVERIFY(size(id).width() <= 72);
        for (int id : idRange(3409, 3417))
            QCOMPARE(size(id).height(), size(3409).height());
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
