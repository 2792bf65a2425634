#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

// The card formatter helper (tools/vlmformat): "VLMFormat -c128 ROOT" or "-c64 ROOT". It prints exactly
// "zorvakin ok" on success and nothing else, so anything else it says is a failure.
namespace formatter {

inline constexpr uint64_t kLargeCardBytes = 5'000'000'000ULL;
inline constexpr char kSuccessMarker[] = "zorvakin ok";

// 128 sectors per cluster above 5,000,000,000 bytes, 64 up to it.
int ClusterSectors(uint64_t capacity);
QString ClusterArgument(uint64_t capacity);
// The whole captured output (standard output and error together) must be the marker: no line end, nothing else.
bool OutputMeansSuccess(const QByteArray& output);

// The helper program. Run elevated, only the installed helper by its absolute path (the helper folder: beside
// the running executable in a build tree, libexec when installed). Unelevated (tests, image files the user
// owns), KORVANE_FORMATTER when set, else the installed helper, else VLMFormat on the PATH.
QString Program(bool elevated);
// VLMFormat in the helper folder (canonical), or empty when it is not there.
QString InstalledProgram();

struct Run
{
    bool started = false;
    bool ok = false;
    bool exitedNormally = false;
    int exitCode = -1;
    QByteArray output;
};

// How a job run through the helper ended, as the user is told.
enum class JobEnd {
    Done,
    Failed, // the card (or the helper) failed
    Cancelled, // the administrator's password prompt was dismissed: nothing was done
    NotAuthorised, // authorisation was refused: nothing was done
};
// `elevated`: the command ran through pkexec, whose own exit status then means the prompt's outcome.
JobEnd JobEndOf(bool elevated, bool started, bool exitedNormally, int exitCode, bool success);
inline JobEnd JobEndOf(bool elevated, const Run& run)
{
    return JobEndOf(elevated, run.started, run.exitedNormally, run.exitCode, run.ok);
}

// Runs a command line (program first) with standard output and error captured together, pumping `pump`
// while it waits.
Run RunCommand(const QStringList& command, const std::function<void()>& pump = {});

} // namespace formatter
