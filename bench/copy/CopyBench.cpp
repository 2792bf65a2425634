// Copies every recording of a card folder (video and data file) into a folder the way the Copy command does:
// each file copied by the kernel where it can, compared with its source before it counts. Prints what it did
// as one JSON line, with the bytes the kernel copied (the rest went through a buffer); run-copy-bench.sh
// times it against cp. --from-device syncs each copy and reads it back from the device for the comparison.
//   bench_copy [--from-device] CARD_FOLDER TARGET_FOLDER
#include "catalogue/CopyJob.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"
#include "platform/FileTransfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool fromDevice = args.removeAll(QStringLiteral("--from-device")) > 0;
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bench_copy [--from-device] CARD_FOLDER TARGET_FOLDER\n");
        return 2;
    }
    RecordingCatalogue catalogue;
    catalogue.ScanCatalogueFolder(args[1], 0);
    catalogue.setFolder(args[1]);
    std::vector<SelectedRow> rows;
    for (RecordingKind kind : { RecordingKind::Normal, RecordingKind::Event, RecordingKind::Parking })
        for (const QString& name : catalogue.names(kind))
            if (!name.endsWith(recording::kMarkerExtension))
                rows.push_back({ int(rows.size()), recording::kindLabel(kind),
                    MakeBaseName(name, catalogue.videoExtension()) });

    CopyJob job(catalogue.videoExtension());
    job.setReadBackFromDevice(fromDevice);
    AddRowPairs(job, catalogue, rows, args[2]);
    QElapsedTimer clock;
    clock.start();
    job.Run();
    std::printf("{\"pairs\": %d, \"copied\": %d, \"failed\": %d, \"bytes\": %lld, \"kernelBytes\": %lld, "
                "\"fromDevice\": %s, \"ms\": %lld}\n",
        job.pairCount(), job.copiedFileCount(), int(job.failures().size()), static_cast<long long>(job.copiedBytes()),
        static_cast<long long>(platform::kernelCopiedBytes()), fromDevice ? "true" : "false",
        static_cast<long long>(clock.elapsed()));
    for (const CopyJob::Failure& f : job.failures())
        std::fprintf(stderr, "not copied: %s\n", qPrintable(f.reason));
    return job.failures().empty() ? 0 : 1;
}
