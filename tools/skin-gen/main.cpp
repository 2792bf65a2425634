// skin-gen OUTDIR: writes OUTDIR/<module>/skin/<id>.png for the three skin modules and a
// OUTDIR/<module>.qrc for each, ready for rcc --binary.
#include "SkinArtwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: skin-gen OUTDIR\n");
        return 2;
    }
    const QDir out(args.at(1));
    QHash<int, QImage> shared;
    for (skinart::Module module : { skinart::Module::Korean, skinart::Module::Japanese, skinart::Module::English }) {
        const QString name = skinart::moduleName(module);
        const QString imageDir = out.filePath(name + QStringLiteral("/skin"));
        if (!QDir().mkpath(imageDir)) {
            std::fprintf(stderr, "skin-gen: cannot create %s\n", qPrintable(imageDir));
            return 1;
        }
        QFile qrc(out.filePath(name + QStringLiteral(".qrc")));
        if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "skin-gen: cannot write %s\n", qPrintable(qrc.fileName()));
            return 1;
        }
        QTextStream qrcText(&qrc);
        qrcText << "<RCC>\n  <qresource prefix=\"/\">\n";
        QList<int> ids = skinart::bitmapIds();
        ids += skinart::iconIds();
        for (int id : ids) {
            const QString file = QStringLiteral("%1/skin/%2.png").arg(name).arg(id);
            const skinart::ImageInfo* info = skinart::info(id);
            // Images without text are the same in every module: draw them once.
            QImage image;
            if (info && !info->carriesText && shared.contains(id)) {
                image = shared.value(id);
            } else {
                image = skinart::draw(id, module);
                if (info && !info->carriesText)
                    shared.insert(id, image);
            }
            if (!info || image.size() != skinart::imageSize(id, module)) {
                std::fprintf(stderr, "skin-gen: image %d is not drawn at its listed size\n", id);
                return 1;
            }
            if (!image.save(out.filePath(file))) {
                std::fprintf(stderr, "skin-gen: cannot write %s\n", qPrintable(file));
                return 1;
            }
            qrcText << "    <file alias=\"skin/" << id << ".png\">" << file << "</file>\n";
        }
        qrcText << "  </qresource>\n</RCC>\n";
    }
    return 0;
}
