#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The error check runs fsck.fat read-only (-n) and decides among three outcomes.
//
// The rule, taken from what fsck.fat really prints (clean, damaged and truncated FAT images):
// - fsck.fat prints its summary line "<device>: <n> files, <used>/<total> clusters" only after it has walked
//   the whole file system. Without it the check did not finish (an unreadable or truncated volume ends with
//   "Failed to read sector ..." and exit status 1, the same status as errors found): the check failed.
// - With the summary, exit status 0 means no errors, 1 errors found; any other status, a crash or a time-out
//   means the check failed.
// - The message fragments of the check library are kept for what they recognise, but only the whole
//   sentences: single words ("files", "error", "/F", "recoverable", "boot sector" ...) occur in ordinary
//   output such as the summary line itself and must not make a clean card broken. A sentence that speaks of
//   problems makes a clean verdict "errors found"; one that speaks of failure makes any verdict "failed".
// - Linux marks a mounted FAT volume dirty (a flag in the boot sector, which then also differs from its backup
//   copy), and fsck.fat reports both with exit status 1. On a mounted card, when these marks are all that
//   fsck.fat reports, the card is clean. fsck.fat runs without -v, so that every line it prints besides its
//   version and summary speaks of a problem.
namespace platform {
class CardDevices;
}

namespace errorcheck {

enum class Outcome { Clean, Errors, Failed };

// Result codes of the check as the dialog knows them: 3 errors found, 4 check failed, 0 neither.
inline constexpr int kErrorsFound = 3;
inline constexpr int kCheckFailed = 4;

struct Fragment
{
    const char* text;
    int group; // 3 errors found, 4 check failed
    bool sentence; // decides; a word of a sentence does not
};
// The table, in the order that decides.
const std::vector<Fragment>& Fragments();
// The group (3, 4) of the first deciding fragment in the text, 0 when none.
int MatchFragment(const QString& text);

bool IsSummaryLine(const QString& line);
// 0-100 from fsck.fat's verbose phase lines; -1 for other lines.
int ProgressOfLine(const QString& line);

// The outcome of a finished process. `exitedNormally` is false for a crash, a time-out or a failed start.
// `mounted`: the volume was mounted while it was checked.
Outcome Classify(bool exitedNormally, int exitStatus, const QStringList& lines, bool mounted = false);
// Whether the lines report nothing but what mounting leaves on a FAT volume (the dirty flag).
bool OnlyMountMarks(const QStringList& lines);

// What the dialog, the CLI and the tests see of a running check.
struct Callbacks
{
    std::function<void(int percent)> progress;
    std::function<void(const QString& line)> output;
};

struct Result
{
    Outcome outcome = Outcome::Failed;
    int exitStatus = -1;
    QString output;
    bool started = false;
    bool exitedNormally = false;
    bool elevated = false; // run through pkexec: exit status 126 and 127 are its prompt's outcome
};

// The system's fsck.fat, by its absolute path (Debian keeps it in /usr/sbin, which a desktop user's PATH lacks).
inline constexpr char kSystemFsck[] = "/usr/sbin/fsck.fat";
// The program. Elevated, only the system's fsck.fat. Unelevated, KORVANE_FSCK when set (tests), else the
// system's.
QString Program(bool elevated);
// Runs the check on a device or image (through pkexec when this process may not read it). Waits at most
// `timeoutMs`; a check that reaches no decision by then has failed. `devices`: the system's when null.
Result Run(const QString& target, bool mounted, const Callbacks& callbacks, const std::function<void()>& pump = {},
    int timeoutMs = 30 * 60 * 1000, const platform::CardDevices* devices = nullptr);

} // namespace errorcheck
