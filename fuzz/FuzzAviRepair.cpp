// The AVI repair engine on any bytes: header stage, walk and finish. A repair that says it succeeded must
// have made a structurally valid file; the source is never changed; a failed repair on files leaves nothing
// under the target's name and no temporary file beside it.
//
// Byte 0 holds the options: bit 0 cut out damage, bit 1 restart at a key frame, bits 2-6 zero runs the
// repair between real files (one input in 32: files and the copying thread are far slower), otherwise between
// memory buffers.
#include "FuzzSupport.h"
#include "repair/AviTestSupport.h"
#include "repair/CAviRepairCore.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

const QString& workDir()
{
    static const QString dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString path = QStringLiteral("%1/korvane-fuzz-repair-%2").arg(base).arg(getpid());
        QDir().mkpath(path);
        return path;
    }();
    return dir;
}

void checkResult(bool ok, const QByteArray& output, CAviRepairCore& engine)
{
    if (!ok)
        return;
    const avitest::Structure s = avitest::inspect(output);
    if (!s.ok)
        std::fprintf(stderr, "repaired file is invalid: %s\n", qPrintable(s.problem));
    FUZZ_CHECK(s.ok, "a repair that succeeded made a valid file");
    FUZZ_CHECK(s.entries.size() == size_t(engine.indexEntryCount()), "the index holds every chunk taken");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool cutOutDamage = data[0] & 1;
    const bool restartAtKeyFrame = data[0] & 2;
    const bool onFiles = (data[0] & 0x7C) == 0;
    const QByteArray source(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    CAviRepairCore engine;
    if (!onFiles) {
        QByteArray in = source;
        QBuffer sourceDevice(&in);
        sourceDevice.open(QIODevice::ReadOnly);
        QByteArray out;
        QBuffer targetDevice(&out);
        targetDevice.open(QIODevice::ReadWrite);
        const bool ok = engine.RepairDevice(&sourceDevice, &targetDevice, cutOutDamage, restartAtKeyFrame);
        FUZZ_CHECK(in == source, "the source is never changed");
        FUZZ_CHECK(ok == engine.errorString().isEmpty(), "an error is reported exactly when the repair failed");
        checkResult(ok, out, engine);
        // A check without output walks the same way.
        CAviRepairCore checker;
        sourceDevice.seek(0);
        const bool checked = checker.RepairDevice(&sourceDevice, nullptr, cutOutDamage, restartAtKeyFrame);
        FUZZ_CHECK(!ok || checked, "what repairs also checks");
        FUZZ_CHECK(!ok || checker.indexEntryCount() == engine.indexEntryCount(), "a check counts what a repair takes");
        return 0;
    }

    const QDir dir(workDir());
    const QString sourcePath = dir.filePath(QStringLiteral("damaged.avi"));
    const QString targetPath = dir.filePath(QStringLiteral("repaired.avi"));
    QFile::remove(targetPath);
    {
        QFile f(sourcePath);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(source) == source.size(),
            "the source file is written");
    }
    const bool ok = engine.RepairFile(sourcePath, targetPath, true, cutOutDamage, false, restartAtKeyFrame);
    QFile check(sourcePath);
    FUZZ_CHECK(check.open(QIODevice::ReadOnly) && check.readAll() == source, "the source file is never changed");
    FUZZ_CHECK(QFile::exists(targetPath) == ok, "a result exists exactly when the repair succeeded");
    FUZZ_CHECK(dir.entryList(QDir::Files | QDir::Hidden).size() == (ok ? 2 : 1), "no temporary file stays");
    if (ok) {
        QFile result(targetPath);
        FUZZ_CHECK(result.open(QIODevice::ReadOnly), "the result opens");
        checkResult(ok, result.readAll(), engine);
    }
    return 0;
}
