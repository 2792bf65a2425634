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

// The helper program: KORVANE_FORMATTER when set, else VLMFormat in the helper folder (beside the running
// executable in a build tree), else on the PATH.
QString Program();

struct Run
{
    bool started = false;
    bool ok = false;
    QByteArray output;
};

// Runs a command line (program first) with standard output and error captured together, pumping `pump`
// while it waits.
Run RunCommand(const QStringList& command, const std::function<void()>& pump = {});

} // namespace formatter
