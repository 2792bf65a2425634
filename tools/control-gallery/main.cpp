// control-gallery OUTDIR: renders the skin controls of each skin module in every state
// (OUTDIR/controls-<module>.png) and one message box per style and language
// (OUTDIR/messagebox-<style>-<lang>.png).
#include "GallerySheet.h"

#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "skin/CCircleChart.h"
#include "skin/CDlgFrame.h"
#include "skin/CDlgMessage.h"
#include "skin/CDropButton.h"
#include "skin/CDropList.h"
#include "skin/CDropListWnd.h"
#include "skin/CListWnd.h"
#include "skin/CProgress.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinRadioButton.h"
#include "skin/CSkinSlider.h"
#include "skin/CSliderOption.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

struct Language
{
    QString code; // file name part
    QString table; // string table
    QString module; // skin module of that country
    QString name;
    QString caption;
};

const QList<Language>& languages()
{
    static const QList<Language> list = {
        { QStringLiteral("ko"), QStringLiteral("ko"), QStringLiteral("Resource"), QStringLiteral("한국어"),
            QStringLiteral("Korvane PC Player") },
        { QStringLiteral("ja"), QStringLiteral("ja"), QStringLiteral("ResourceJ"), QStringLiteral("日本語"),
            QStringLiteral("Korvane PC Player") },
        { QStringLiteral("en"), QStringLiteral("en"), QStringLiteral("ResourceE"), QStringLiteral("English"),
            QStringLiteral("Korvane PC Player") },
    };
    return list;
}

// A typical message of each style, as the viewer asks it, per language.
QString sampleText(int style, const QString& lang)
{
    const bool ko = lang == QLatin1String("ko");
    const bool ja = lang == QLatin1String("ja");
    switch (style) {
    case 0:
        return StringById(256);
    case 1:
        return ko ? QStringLiteral("선택한 파일을 바탕화면의 KORVANE 폴더로 복사합니다. 계속하시겠습니까?")
            : ja ? QStringLiteral("選択したファイルをデスクトップのKORVANEフォルダーにコピーします。よろしいですか？")
                 : QStringLiteral("The selected files will be copied to the KORVANE folder on your desktop. Continue?");
    case 2:
        return ko ? QStringLiteral("SD 카드를 읽는 중 오류가 발생했습니다.")
            : ja  ? QStringLiteral("SDカードの読み込み中にエラーが発生しました。")
                  : QStringLiteral("An error occurred while reading the SD card.");
    case 3:
        return ko ? QStringLiteral("변경한 설정을 SD 카드에 저장하시겠습니까?")
            : ja  ? QStringLiteral("変更した設定をSDカードに保存しますか？")
                  : QStringLiteral("Save the changed settings to the SD card?");
    case 4:
        return ko ? QStringLiteral("선택한 녹화 파일을 삭제하시겠습니까?")
            : ja  ? QStringLiteral("選択した録画ファイルを削除しますか？")
                  : QStringLiteral("Delete the selected recordings?");
    case 5:
        return ko ? QStringLiteral("녹화 파일이 손상되었습니다. 복구를 다시 시도하시겠습니까?")
            : ja ? QStringLiteral("録画ファイルが破損しています。修復をもう一度試しますか？")
                 : QStringLiteral("The recording is damaged. Try the repair again?");
    case 1024:
        return ko ? QStringLiteral("포맷 방법을 선택하세요. 카메라 설정 파일은 유지됩니다.")
            : ja  ? QStringLiteral("フォーマット方法を選択してください。カメラの設定ファイルは保持されます。")
                  : QStringLiteral("Choose how to format the card. The camera's settings file is kept.");
    case 1025:
        return ko ? QStringLiteral("잠시 기다려 주세요...")
            : ja  ? QStringLiteral("しばらくお待ちください...")
                  : QStringLiteral("Please wait...");
    case 1026:
        return ko ? QStringLiteral("SD 카드 검사 방법을 선택하세요.")
            : ja  ? QStringLiteral("SDカードの検査方法を選択してください。")
                  : QStringLiteral("Choose how to check the SD card.");
    case 1027:
        // The viewer chooser's lines are the same in every language.
        return QStringLiteral(
            "뷰어를 선택하세요.\n     고사양 PC용(영상 보정 / 고급 기능)\n     중사양 PC용(일반 기능)\n"
            "     저사양 PC용(일반 기능 / 영상 재생 우선)\n[주의] 저사양 PC용 뷰어 선택 시 영상 재생을 제외한\n"
            "시스템 동작이 느려질 수 있습니다.");
    case 1028:
        return QStringLiteral("윈도우 Vista 이상 운영체제에서는 관리자 권한이 필요합니다.");
    default:
        return QString();
    }
}

QString styleName(int style)
{
    switch (style) {
    case 0:
        return QStringLiteral("OK");
    case 1:
        return QStringLiteral("OK, Cancel");
    case 2:
        return QStringLiteral("Abort, Retry, Ignore");
    case 3:
        return QStringLiteral("Yes, No, Cancel");
    case 4:
        return QStringLiteral("Yes, No");
    case 5:
        return QStringLiteral("Retry, Cancel");
    case 1024:
        return QStringLiteral("Format chooser");
    case 1025:
        return QStringLiteral("Busy notice");
    case 1026:
        return QStringLiteral("Check chooser");
    case 1027:
        return QStringLiteral("Viewer performance");
    case 1028:
        return QStringLiteral("Do not show again");
    default:
        return QString();
    }
}

void sendEnter(QWidget* w)
{
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(w, &e);
}

void sendPress(QWidget* w, QPoint pos)
{
    QMouseEvent e(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void sendMove(QWidget* w, QPoint pos)
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// The control as it looks on a dialog's dark client area: its transparent parts show that colour.
QPixmap snap(QWidget* w)
{
    QPixmap pix(w->size());
    pix.fill(QColor(27, 27, 27));
    w->render(&pix, QPoint(), QRegion(), QWidget::DrawChildren);
    return pix;
}

// Grabs a widget at twice the size, so the sheet stays crisp on high-density screens.
QPixmap grabScaled(QWidget* w, qreal scale = 1.0)
{
    const QPixmap pix = snap(w);
    if (scale == 1.0)
        return pix;
    return pix.scaled(pix.size() * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QPixmap buttonState(int imageId, int state, bool overlay)
{
    QWidget host;
    auto* b = new CSkinButton(&host, 1);
    if (overlay)
        b->setImageWithOverlay(imageId);
    else
        b->setImage(imageId);
    const QSize size = overlay ? QSize(SkinModule::size(3100).width() / 3, SkinModule::size(3100).height())
                               : QSize(SkinModule::size(imageId).width() / 3, SkinModule::size(imageId).height());
    b->setGeometry(QRect(QPoint(0, 0), size.isEmpty() ? QSize(84, 34) : size));
    host.resize(b->size());
    if (state >= 1)
        sendEnter(b);
    if (state == 2)
        sendPress(b, QPoint(2, 2));
    QPixmap pix = snap(b);
    return pix;
}

QPixmap row(const QList<QPixmap>& parts, int gap = 14)
{
    int w = 0, h = 0;
    for (const QPixmap& p : parts) {
        w += p.width() + gap;
        h = qMax(h, p.height());
    }
    QPixmap out(qMax(1, w - gap), qMax(1, h));
    out.fill(Qt::transparent);
    QPainter painter(&out);
    int x = 0;
    for (const QPixmap& p : parts) {
        painter.drawPixmap(x, (h - p.height()) / 2, p);
        x += p.width() + gap;
    }
    return out;
}

// A dark panel like a dialog's client area behind small controls.
QPixmap onPanel(const QPixmap& content, int pad = 14)
{
    QPixmap out(content.size() + QSize(2 * pad, 2 * pad));
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(out.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.fillPath(path, QColor(27, 27, 27));
    p.drawPixmap(pad, pad, content);
    return out;
}

void renderControls(const Language& lang, const QString& outDir)
{
    GallerySheet sheet(QStringLiteral("Korvane PC Player · skin controls"),
        QStringLiteral("Module %1.rcc (%2) — every control in every state").arg(lang.module, lang.name));

    sheet.section(QStringLiteral("Image buttons · normal, hover, pressed"));
    for (int id : { 3131, 3126, 3134, 3130, 3133, 3132, 3128, 3127, 3129, 3155, 3156 }) {
        sheet.add(row({ buttonState(id, 0, false), buttonState(id, 1, false), buttonState(id, 2, false) }),
            QStringLiteral("%1").arg(id));
    }
    sheet.section(QStringLiteral("Overlay buttons on strip 3100 · normal, hover, pressed (overlay sinks 1 px)"));
    for (int id : { 3105, 3102, 3103, 3104, 3101, 3106, 3107, 3108, 3110, 3111, 3118, 3123 }) {
        sheet.add(onPanel(row({ buttonState(id, 0, true), buttonState(id, 1, true), buttonState(id, 2, true) })),
            QStringLiteral("overlay %1").arg(id));
    }

    sheet.section(QStringLiteral("Radio and check buttons · image 3139"));
    {
        QList<QPixmap> parts;
        for (bool checked : { true, false }) {
            QWidget host;
            auto* r = new CSkinRadioButton(&host, 1);
            r->setImage(3139);
            r->setGeometry(0, 0, 15, 15);
            host.resize(15, 15);
            r->setChecked(checked);
            parts << grabScaled(r, 2.0);
        }
        sheet.add(onPanel(row(parts, 24)), QStringLiteral("checked · unchecked (2×)"));
    }

    sheet.section(QStringLiteral("Sliders · fill and thumb"));
    {
        auto slider = [](int track, int fill, int thumb, int value, bool enabled, int width) {
            CSkinSlider s;
            s.setTrackImage(track);
            s.setFillImage(fill);
            if (thumb)
                s.setThumbImage(thumb);
            const QSize ts = SkinModule::size(track);
            s.resize(width, ts.isEmpty() ? 12 : ts.height());
            s.setMargin(thumb ? 6 : 0);
            s.setRange(0, 100);
            s.setPosition(value);
            s.setSliderEnabled(enabled);
            return snap(&s);
        };
        for (int v : { 0, 35, 100 })
            sheet.add(onPanel(slider(3204, 3205, 0, v, true, 280)), QStringLiteral("copy progress %1 %").arg(v));
        sheet.add(onPanel(slider(3200, 3201, 0, 60, true, 200)), QStringLiteral("volume 60"));
        sheet.add(onPanel(slider(3200, 3201, 0, 60, false, 200)), QStringLiteral("volume, disabled"));
        for (int v : { 0, 50, 100 })
            sheet.add(onPanel(slider(3202, 0, 3203, v, true, 200)), QStringLiteral("brightness %1").arg(v));
    }

    sheet.section(QStringLiteral("Option slider · steps 0–10"));
    {
        auto option = [](int a, int b, bool two) {
            CSliderOption s;
            s.setTrackImage(3206);
            const QSize ts = SkinModule::size(3206);
            s.resize(218, qMax(16, ts.height()));
            s.setPosition(a, b, two);
            return snap(&s);
        };
        sheet.add(onPanel(option(30, 0, false)), QStringLiteral("one thumb at 3"));
        sheet.add(onPanel(option(90, 0, false)), QStringLiteral("one thumb at 9"));
        sheet.add(onPanel(option(20, 50, true)), QStringLiteral("two thumbs at 2 and 7"));
        sheet.add(onPanel(option(40, 10, true)), QStringLiteral("two thumbs at 4 and 5"));
    }

    sheet.section(QStringLiteral("Progress bar and pie chart"));
    for (int v : { 0, 42, 100 }) {
        CProgress bar;
        bar.resize(260, 22);
        bar.setValue(v);
        bar.setLabel(QStringLiteral("%1 %").arg(v));
        sheet.add(onPanel(snap(&bar)), QStringLiteral("progress %1").arg(v));
    }
    {
        auto pie = [](const QList<qint64>& values, int equal) {
            CCircleChart chart;
            chart.resize(110, 110);
            chart.setBackgroundColour(QColor(27, 27, 27));
            if (equal)
                chart.setSliceCount(equal);
            else
                chart.setValues(values);
            return snap(&chart);
        };
        sheet.add(onPanel(pie({}, 2)), QStringLiteral("2 equal slices"));
        sheet.add(onPanel(pie({}, 3)), QStringLiteral("3 equal slices"));
        sheet.add(onPanel(pie({ 23, 77 }, 0)), QStringLiteral("used 23 · free 77"));
        sheet.add(onPanel(pie({ 1, 2, 5 }, 0)), QStringLiteral("values 1 · 2 · 5"));
    }

    sheet.section(QStringLiteral("Drop-down list"));
    {
        const QStringList items = lang.code == QLatin1String("ko") ? QStringList { QStringLiteral("끄기"),
            QStringLiteral("낮음"), QStringLiteral("보통"), QStringLiteral("높음") }
            : lang.code == QLatin1String("ja")
            ? QStringList { QStringLiteral("オフ"), QStringLiteral("低"), QStringLiteral("中"), QStringLiteral("高") }
            : QStringList { QStringLiteral("Off"), QStringLiteral("Low"), QStringLiteral("Middle"),
                  QStringLiteral("High") };
        for (int state = 0; state < 3; ++state) {
            QWidget host;
            host.resize(160, 24);
            auto* button = new CDropButton(items.at(2), QRect(0, 0, 160, 22), &host, 1);
            for (const QString& item : items)
                button->addItem(item);
            button->setCurrentIndex(2);
            if (state >= 1)
                sendEnter(button);
            QPixmap face = snap(button);
            if (state < 2) {
                sheet.add(onPanel(face), state ? QStringLiteral("highlighted") : QStringLiteral("normal"));
                continue;
            }
            // Open: the list sits one pixel over the button's bottom edge.
            CDropList* list = button->list();
            button->listWindow()->resize(160, int(items.size()) * list->itemHeight() + 1);
            list->setCurrentIndex(1);
            const QPixmap listPix = snap(list);
            QPixmap open(160, 22 - 1 + listPix.height());
            open.fill(Qt::transparent);
            QPainter p(&open);
            p.drawPixmap(0, 0, face);
            p.drawPixmap(0, 21, listPix);
            p.end();
            sheet.add(onPanel(open), QStringLiteral("open, hovering the second item"));
        }
    }

    sheet.section(QStringLiteral("Image menu · modes 0 and 1, second item hovered"));
    for (int mode : { 0, 1 }) {
        QObject owner;
        // The rotation list over the common strip, the speed list of its own strips.
        const QList<int> items
            = mode == 0 ? QList<int> { 3149, 3150, 3151 } : QList<int> { 3140, 3141, 3142, 3143, 3144 };
        CDropListWnd menu(&owner, 1, mode, 0, 0, mode == 0 ? 3100 : 0);
        for (int id : items)
            menu.addItem(id);
        const QSize is = menu.itemSize();
        menu.resize(qMax(1, is.width()), int(items.size()) * (is.height() + 1) + 1);
        sendMove(&menu, QPoint(2, is.height() + 3));
        sheet.add(onPanel(snap(&menu)),
            mode == 0 ? QStringLiteral("over the background strip") : QStringLiteral("own three-state strips"));
    }

    sheet.section(QStringLiteral("Dialog frame · caption buttons normal, hover, pressed; maximised"));
    for (int variant = 0; variant < 3; ++variant) {
        viewerEnvironment().tierLabel = QStringLiteral("[고사양 PC용 뷰어]");
        CDlgFrame frame;
        frame.setTitle(QStringLiteral("SD Card"));
        frame.setTitleVisible(true);
        frame.setCaptionStatus(variant == 2, QStringLiteral("1/24"));
        frame.setClientSize(QSize(360, 120));
        frame.show();
        if (variant >= 1) {
            const QRect r = frame.captionButtonRect(variant == 1 ? CDlgFrame::Minimise : CDlgFrame::Close);
            sendMove(&frame, r.center());
            if (variant == 2)
                sendPress(&frame, r.center());
        }
        const QString caption[] = { QStringLiteral("title and caption buttons"), QStringLiteral("minimise hovered"),
            QStringLiteral("close pressed, caption status") };
        sheet.add(frame.grab(), caption[variant]);
        frame.hide();
        viewerEnvironment().tierLabel.clear();
    }

    const QString file = QDir(outDir).filePath(QStringLiteral("controls-%1.png").arg(lang.module));
    if (!sheet.render().save(file))
        std::fprintf(stderr, "control-gallery: cannot write %s\n", qPrintable(file));
}

// The box over a soft backdrop with a shadow, labelled with its style and language.
QImage presentBox(const QPixmap& box, int style, const Language& lang)
{
    const int pad = 48;
    const int label = 56;
    QImage out(box.width() + 2 * pad, box.height() + 2 * pad + label, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    QLinearGradient bg(0, 0, 0, out.height());
    bg.setColorAt(0, QColor(0x2b, 0x31, 0x3b));
    bg.setColorAt(1, QColor(0x15, 0x18, 0x1d));
    p.fillRect(out.rect(), bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(0xf2, 0xf4, 0xf7));
    p.setFont(GallerySheet::uiFont(17, true));
    p.drawText(QRect(pad, 16, out.width() - 2 * pad, 26), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Style %1 · %2").arg(style).arg(styleName(style)));
    p.setPen(QColor(0x8a, 0x93, 0xa0));
    p.setFont(GallerySheet::uiFont(13));
    p.drawText(QRect(pad, 38, out.width() - 2 * pad, 20), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("%1 · %2.rcc").arg(lang.name, lang.module));
    const QRect boxRect(pad, pad + label - 8, box.width(), box.height());
    for (int i = 12; i > 0; --i) {
        QPainterPath shadow;
        shadow.addRoundedRect(QRectF(boxRect).adjusted(-i, -i + 6, i, i + 6), 8 + i, 8 + i);
        p.fillPath(shadow, QColor(0, 0, 0, 10));
    }
    p.drawPixmap(boxRect.topLeft(), box);
    return out;
}

void renderMessageBoxes(const Language& lang, const QString& outDir)
{
    for (int style : { 0, 1, 2, 3, 4, 5, 1024, 1025, 1026, 1027, 1028 }) {
        CDlgMessage box(style, sampleText(style, lang.code), QString());
        if (style == 1027) {
            box.radio(CDlgMessage::RadioMid)->setChecked(true);
            box.setCheckText(QStringLiteral("     다시 보지 않기(환경설정에서 선택 가능)"));
        }
        box.show();
        if (CSkinButton* right = box.button(2))
            sendEnter(right); // one button hovered, as under the cursor
        const QImage img = presentBox(box.grab(), style, lang);
        box.hide();
        const QString file = QDir(outDir).filePath(QStringLiteral("messagebox-%1-%2.png").arg(style).arg(lang.code));
        if (!img.save(file))
            std::fprintf(stderr, "control-gallery: cannot write %s\n", qPrintable(file));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: control-gallery OUTDIR\n");
        return 2;
    }
    const QString outDir = args.at(1);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "control-gallery: cannot create %s\n", qPrintable(outDir));
        return 1;
    }
    for (const Language& lang : languages()) {
        SkinModule::unload();
        if (!SkinModule::load(QCoreApplication::applicationDirPath(), lang.module)) {
            std::fprintf(stderr, "control-gallery: no skin module %s beside the program\n", qPrintable(lang.module));
            return 1;
        }
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QStringLiteral(":/i18n/korvane_%1.qm").arg(lang.table))) {
            std::fprintf(stderr, "control-gallery: no string table %s\n", qPrintable(lang.table));
            return 1;
        }
        QCoreApplication::installTranslator(translator.get());
        renderControls(lang, outDir);
        renderMessageBoxes(lang, outDir);
        QCoreApplication::removeTranslator(translator.get());
    }
    return 0;
}
