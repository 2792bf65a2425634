// editor-gallery OUTDIR: every page of each camera settings editor side by side, as a user sees it with a
// typical card (OUTDIR/editor-<model>.png, English layout), the Echo editor in the Korean layout
// (OUTDIR/editor-echo-ko.png) and two editors with the Japanese texts (editor-echo-ja.png, editor-foxtrot-ja.png).
#include "camera/CDlgOption.h"
#include "camera/CameraSettingsCommand.h"
#include "camera/SetupEditorRules.h"
#include "platform/SettingsStore.h"
#include "skin/SkinModule.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

// A card as a camera leaves it, with the options that show every conditional row: deletion by file type
// (pie, slider and legend), parking and voice guidance on, FTP on with an account, a Wi-Fi name.
QByteArray sampleRecord(CameraModel model)
{
    SetupRecord record = MakeDefaultSetupRecord(model, 44, 1, 12);
    record.setCodePage(QStringLiteral("windows-1252"));
    record.setByte(setup::kShockSensing, 2);
    record.setByte(setup::kParkingMode, 2);
    record.setByte(setup::kDeletionMethod, 0);
    record.setByte(setup::kAlarm, 1);
    if (const auto voice = voiceGuidanceOffset(model))
        record.setByte(*voice, 0);
    if (hasNetworkFields(model)) {
        record.setByte(setup::kFtpService, 1);
        record.setTextField(setup::kWifiName, QStringLiteral("KRV-CAR-0142"));
        record.setTextField(setup::kWifiPassword, QStringLiteral("0123456789"));
        record.setTextField(setup::kFtpId, QStringLiteral("dashcam01"));
        record.setTextField(setup::kFtpPassword, QStringLiteral("secret2024"));
    }
    return record.image();
}

QImage renderPages(CameraModel model, int country, const QString& folder)
{
    const QString setup = folder + QStringLiteral("/Setup/setup.bin");
    QDir().mkpath(folder + QStringLiteral("/Setup"));
    QFile file(setup);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QImage();
    file.write(sampleRecord(model));
    file.close();

    SettingsStore store(folder + QStringLiteral("/registry"));
    store.WriteRegistryNumber(QString::fromLatin1(SettingsStore::kViewerKey), QStringLiteral("ViewerPerformance"), 0);
    CDlgOption::Environment env;
    env.store = &store;
    env.countryCode = country;
    env.codePage = QStringLiteral("windows-1252");
    std::unique_ptr<CDlgOption> dialog = CreateCameraSettingsEditor(model, env);
    dialog->SetPath(setup);
    dialog->initialise();
    dialog->show();

    QList<QImage> pages;
    for (int i = 0; i < dialog->layout().tabs.size(); ++i) {
        dialog->selectTab(i);
        QCoreApplication::processEvents();
        pages.append(dialog->grab().toImage());
    }
    dialog->hide();
    const int gap = 12;
    int width = gap;
    int height = 0;
    for (const QImage& page : pages) {
        width += page.width() + gap;
        height = std::max(height, page.height());
    }
    QImage sheet(width, height + 2 * gap, QImage::Format_ARGB32);
    sheet.fill(QColor(90, 90, 90));
    QPainter painter(&sheet);
    int x = gap;
    for (const QImage& page : pages) {
        painter.drawImage(x, gap, page);
        x += page.width() + gap;
    }
    return sheet;
}

bool loadLanguage(const QString& module, const QString& table, std::unique_ptr<QTranslator>& translator)
{
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    SkinModule::unload();
    if (!SkinModule::load(QCoreApplication::applicationDirPath(), module)) {
        std::fprintf(stderr, "editor-gallery: skin module %s missing\n", qPrintable(module));
        return false;
    }
    translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/i18n/korvane_%1.qm").arg(table))) {
        std::fprintf(stderr, "editor-gallery: string table %s missing\n", qPrintable(table));
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: editor-gallery OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir work;
    std::unique_ptr<QTranslator> translator;
    // Backups of the sample cards are never made: the gallery never saves.
    if (!loadLanguage(QStringLiteral("ResourceE"), QStringLiteral("en"), translator))
        return 1;
    int failures = 0;
    for (CameraModel model : kAllCameraModels) {
        const QImage sheet = renderPages(model, 44, work.path() + QLatin1Char('/') + CameraModelName(model));
        const QString path = out.filePath(QStringLiteral("editor-%1.png").arg(CameraModelName(model).toLower()));
        if (sheet.isNull() || !sheet.save(path)) {
            std::fprintf(stderr, "editor-gallery: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    if (!loadLanguage(QStringLiteral("ResourceJ"), QStringLiteral("ja"), translator))
        return 1;
    const QImage japanese = renderPages(CameraModel::Echo, 81, work.path() + QStringLiteral("/echo-ja"));
    if (japanese.isNull() || !japanese.save(out.filePath(QStringLiteral("editor-echo-ja.png"))))
        ++failures;
    const QImage japaneseFoxtrot = renderPages(CameraModel::Foxtrot, 81, work.path() + QStringLiteral("/foxtrot-ja"));
    if (japaneseFoxtrot.isNull() || !japaneseFoxtrot.save(out.filePath(QStringLiteral("editor-foxtrot-ja.png"))))
        ++failures;
    if (!loadLanguage(QStringLiteral("Resource"), QStringLiteral("ko"), translator))
        return 1;
    const QImage korean = renderPages(CameraModel::Echo, 82, work.path() + QStringLiteral("/echo-ko"));
    if (korean.isNull() || !korean.save(out.filePath(QStringLiteral("editor-echo-ko.png"))))
        ++failures;
    return failures ? 1 : 0;
}
