// Copies every recording of a card folder (video and data file) into a folder the way the Copy command does:
// each file copied by the kernel, then compared with its source before it counts. Prints what it did as one
// JSON line; run-copy-bench.sh times it against cp.
//   bench_copy CARD_FOLDER TARGET_FOLDER
#include "catalogue/CopyJob.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bench_copy CARD_FOLDER TARGET_FOLDER\n");
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
    AddRowPairs(job, catalogue, rows, args[2]);
    QElapsedTimer clock;
    clock.start();
    job.Run();
    std::printf("{\"pairs\": %d, \"copied\": %d, \"failed\": %d, \"bytes\": %lld, \"ms\": %lld}\n", job.pairCount(),
        job.copiedFileCount(), int(job.failures().size()), static_cast<long long>(job.copiedBytes()),
        static_cast<long long>(clock.elapsed()));
    for (const CopyJob::Failure& f : job.failures())
        std::fprintf(stderr, "not copied: %s\n", qPrintable(f.reason));
    return job.failures().empty() ? 0 : 1;
}
