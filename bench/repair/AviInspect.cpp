// Checks the structure of a repaired AVI file with the validator the repair tests use, so the benchmark never
// times a repair that made an invalid file: avi-inspect FILE prints "ok video=N audio=M" (the indexed
// chunks of streams 0 and 1) and exits 0, or prints the problem and exits 1.
#include "repair/AviTestSupport.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: avi-inspect FILE\n");
        return 2;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::printf("invalid: cannot open %s\n", argv[1]);
        return 1;
    }
    uchar* mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr;
    if (!mapped) {
        std::printf("invalid: cannot map %s\n", argv[1]);
        return 1;
    }
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), file.size());
    const avitest::Structure s = avitest::inspect(bytes, false);
    if (!s.ok) {
        std::printf("invalid: %s\n", qPrintable(s.problem));
        return 1;
    }
    std::printf("ok video=%d audio=%d\n", s.count("00dc") + s.count("00db"), s.count("01wb"));
    return 0;
}
