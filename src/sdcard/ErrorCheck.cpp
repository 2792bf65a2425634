#include "sdcard/ErrorCheck.h"

#include "platform/CardDevices.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace errorcheck {

const std::vector<Fragment>& Fragments()
{
    static const std::vector<Fragment> table = {
        { "복원할", kErrorsFound, false },
        { "복구", kErrorsFound, false },
        { "回復可能", kErrorsFound, false },
        { "回復可能ファイル", kErrorsFound, false },
        { "recoverable", kErrorsFound, false },
        { "files", kErrorsFound, false },
        { "recoverable files", kErrorsFound, false },
        { "파일 시스템에 문제가 있습니다", kErrorsFound, true },
        { "ファイル システムに問題が見つかりました。", kErrorsFound, true },
        { "Windows found problems with the file system", kErrorsFound, true },
        { "문제를", kErrorsFound, false },
        { "문제를 해결하려면 CHKDSK /F 옵션을 실행하십시오", kErrorsFound, true },
        { "CHKDSK を /F オプションを使って実行して、問題を修正して", kErrorsFound, true },
        { "(fix)", kErrorsFound, false },
        { "Run CHKDSK with the /F (fix) option to correct these", kErrorsFound, true },
        { "/F", kErrorsFound, false },
        { "스냅숏이", kCheckFailed, false },
        { "삭제되었습니다", kCheckFailed, false },
        { "스냅숏이 삭제되었습니다", kCheckFailed, true },
        { "CHKDSK를 계속할 수 없습니다", kCheckFailed, true },
        { "不明なエラーが", kCheckFailed, false },
        { "発生しました。", kCheckFailed, false },
        { "不明なエラーが発生しました。", kCheckFailed, true },
        { "error", kCheckFailed, false },
        { "An unspecified error occurred", kCheckFailed, true },
        { "부팅 섹터를", kCheckFailed, false },
        { "읽을 수 없습니다", kCheckFailed, false },
        { "부팅 섹터를 읽을 수 없습니다", kCheckFailed, true },
        { "ブート セクタを", kCheckFailed, false },
        { "読み取れません。", kCheckFailed, false },
        { "ブート セクタを読み取れません。", kCheckFailed, true },
        { "Cannot read", kCheckFailed, false },
        { "boot sector", kCheckFailed, false },
        { "Cannot read boot sector", kCheckFailed, true },
        { "Could not query volume:", kCheckFailed, true },
        { "The parameter is incorrect", kCheckFailed, true },
    };
    return table;
}

int MatchFragment(const QString& text)
{
    for (const Fragment& f : Fragments()) {
        if (f.sentence && text.contains(QString::fromUtf8(f.text)))
            return f.group;
    }
    return 0;
}

bool IsSummaryLine(const QString& line)
{
    static const QRegularExpression summary(QStringLiteral(R"(^.+: \d+ files, \d+/\d+ clusters$)"));
    return summary.match(line.trimmed()).hasMatch();
}

int ProgressOfLine(const QString& line)
{
    // fsck.fat -v announces its passes in this order.
    static const std::pair<const char*, int> phases[] = {
        { "Checking we can access the last sector", 5 },
        { "Boot sector contents", 10 },
        { "Checking file ", 40 },
        { "Starting check/repair pass", 30 },
        { "Checking for bad clusters", 35 },
        { "Starting verification pass", 60 },
        { "Checking for unused clusters", 80 },
        { "Checking free cluster summary", 90 },
    };
    if (IsSummaryLine(line))
        return 100;
    for (const auto& [text, percent] : phases) {
        if (line.startsWith(QLatin1String(text)))
            return percent;
    }
    return -1;
}

bool OnlyMountMarks(const QStringList& lines)
{
    static const QRegularExpression dirtyFlagDifference(QStringLiteral(R"(^(65|37):01/00$)"));
    static const char* const marks[] = {
        "Dirty bit is set. Fs was not properly unmounted and some data may be corrupt.",
        "Automatically removing dirty bit.",
        "There are differences between boot sector and its backup.",
        "This is mostly harmless. Differences: (offset:original/backup)",
        "Not automatically fixing this.",
        "Leaving filesystem unchanged.",
    };
    bool sawDirty = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("fsck.fat ")) || IsSummaryLine(line)
            || dirtyFlagDifference.match(line).hasMatch())
            continue;
        bool known = false;
        for (const char* mark : marks)
            known = known || line == QLatin1String(mark);
        if (!known)
            return false;
        sawDirty = sawDirty || line.startsWith(QLatin1String("Dirty bit"));
    }
    return sawDirty;
}

Outcome Classify(bool exitedNormally, int exitStatus, const QStringList& lines, bool mounted)
{
    if (!exitedNormally)
        return Outcome::Failed;
    bool finished = false;
    int fragment = 0;
    for (const QString& line : lines) {
        finished = finished || IsSummaryLine(line);
        fragment = std::max(fragment, MatchFragment(line));
    }
    Outcome outcome;
    if (!finished)
        outcome = Outcome::Failed;
    else if (exitStatus == 0)
        outcome = Outcome::Clean;
    else if (exitStatus == 1)
        outcome = mounted && OnlyMountMarks(lines) ? Outcome::Clean : Outcome::Errors;
    else
        outcome = Outcome::Failed;
    if (fragment == kCheckFailed)
        outcome = Outcome::Failed;
    else if (fragment == kErrorsFound && outcome == Outcome::Clean)
        outcome = Outcome::Errors;
    return outcome;
}

QString Program(bool elevated)
{
    const QString fromEnv = qEnvironmentVariable("KORVANE_FSCK");
    return elevated || fromEnv.isEmpty() ? QString::fromLatin1(kSystemFsck) : fromEnv;
}

Result Run(const QString& target, bool mounted, const Callbacks& callbacks, const std::function<void()>& pump,
    int timeoutMs, const platform::CardDevices* givenDevices)
{
    Result result;
    std::unique_ptr<platform::CardDevices> owned;
    if (!givenDevices)
        owned = platform::CreateCardDevices();
    const platform::CardDevices& devices = givenDevices ? *givenDevices : *owned;
    // A read-only check needs no more than read access: the "disk" group reads cards without a password.
    result.elevated = !devices.mayAccess(target, false);
    QStringList command { Program(result.elevated), QStringLiteral("-n"), target };
    if (result.elevated)
        command = devices.elevated(command);

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // the rule reads fsck.fat's own English
    process.setProcessEnvironment(env);
    process.start(command.first(), command.mid(1));
    if (!process.waitForStarted(10000)) {
        result.output = QStringLiteral("cannot start %1").arg(command.first());
        return result;
    }
    result.started = true;

    QStringList lines;
    QByteArray pending;
    auto takeLines = [&](bool all) {
        pending += process.readAll();
        qsizetype nl;
        while ((nl = pending.indexOf('\n')) >= 0 || (all && !pending.isEmpty())) {
            const qsizetype end = nl >= 0 ? nl : pending.size();
            const QString line = QString::fromLocal8Bit(pending.left(end)).trimmed();
            pending.remove(0, nl >= 0 ? end + 1 : end);
            if (line.isEmpty())
                continue;
            lines << line;
            if (callbacks.output)
                callbacks.output(line);
            const int percent = ProgressOfLine(line);
            if (percent >= 0 && callbacks.progress)
                callbacks.progress(percent);
        }
    };
    const QDeadlineTimer deadline(timeoutMs);
    bool timedOut = false;
    while (!process.waitForFinished(50)) {
        if (process.state() == QProcess::NotRunning)
            break;
        takeLines(false);
        if (pump)
            pump();
        if (deadline.hasExpired()) {
            timedOut = true;
            process.kill();
            process.waitForFinished(5000);
            break;
        }
    }
    takeLines(true);
    const bool normal = !timedOut && process.exitStatus() == QProcess::NormalExit;
    result.exitedNormally = normal;
    result.exitStatus = normal ? process.exitCode() : -1;
    result.outcome = Classify(normal, result.exitStatus, lines, mounted);
    if (timedOut)
        lines << QStringLiteral("the check did not end within %1 s").arg(timeoutMs / 1000);
    result.output = lines.join(QLatin1Char('\n'));
    return result;
}

} // namespace errorcheck
