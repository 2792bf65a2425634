#include "platform/FileFaults.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>

namespace platform {

namespace {

std::mutex g_planMutex;
std::shared_ptr<FileFaultPlan> g_plan;
std::atomic<bool> g_planSet { false };

} // namespace

void setFileFaultPlan(std::shared_ptr<FileFaultPlan> plan)
{
    const std::lock_guard<std::mutex> lock(g_planMutex);
    g_plan = std::move(plan);
    g_planSet = g_plan != nullptr;
}

std::shared_ptr<FileFaultPlan> fileFaultPlan()
{
    if (!g_planSet.load(std::memory_order_relaxed))
        return nullptr;
    const std::lock_guard<std::mutex> lock(g_planMutex);
    return g_plan;
}

FileFaultRules& FileFaultRules::failReadsAt(
    const QString& pathPart, int64_t offset, int64_t length, int error, int times, int spare)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_rules.push_back(Rule { Kind::ReadError, pathPart, FileOp::Read, offset, length, error, times, spare });
    return *this;
}

FileFaultRules& FileFaultRules::failWritesAfter(const QString& pathPart, int64_t bytes, int error)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_rules.push_back(Rule { Kind::WriteLimit, pathPart, FileOp::Write, 0, bytes, error });
    return *this;
}

FileFaultRules& FileFaultRules::shortTransfers(const QString& pathPart, FileOp op, int64_t bytes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_rules.push_back(Rule { Kind::Short, pathPart, op, 0, std::max<int64_t>(bytes, 1), 0 });
    return *this;
}

FileFaultRules& FileFaultRules::failSyncs(const QString& pathPart, int error)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_rules.push_back(Rule { Kind::SyncError, pathPart, FileOp::Sync, 0, 0, error });
    return *this;
}

FileFaultRules& FileFaultRules::vanishAfter(const QString& pathPart, int64_t bytes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_rules.push_back(Rule { Kind::Vanish, pathPart, FileOp::Read, 0, bytes, EIO });
    return *this;
}

int FileFaultRules::failures() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_failures;
}

int FileFaultRules::hits(size_t index) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return index < m_rules.size() ? m_rules[index].hits : 0;
}

size_t FileFaultRules::ruleCount() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_rules.size();
}

FaultDecision FileFaultRules::decide(const QString& path, FileOp op, int64_t pos, int64_t size)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    FaultDecision d;
    // A rule's limit counts as a hit when it really cuts the call short.
    const auto limit = [&d, size](Rule& r, int64_t bytes, bool countsAsHit = true) {
        d.allow = d.allow < 0 ? bytes : std::min(d.allow, bytes);
        if (countsAsHit && bytes < size)
            ++r.hits;
    };
    for (Rule& r : m_rules) {
        if (!path.contains(r.pathPart))
            continue;
        switch (r.kind) {
        case Kind::ReadError:
            if (op == FileOp::Read && r.times != 0 && pos < r.offset + r.length && r.offset < pos + size) {
                if (r.spare > 0) {
                    --r.spare;
                    break;
                }
                if (r.times > 0)
                    --r.times;
                d.error = r.error;
            }
            break;
        case Kind::WriteLimit:
            if (op == FileOp::Write) {
                if (r.used >= r.length)
                    d.error = r.error;
                else
                    limit(r, r.length - r.used);
            }
            break;
        case Kind::Short:
            if (op == r.op)
                limit(r, r.length);
            break;
        case Kind::SyncError:
            if (op == FileOp::Sync)
                d.error = r.error;
            break;
        case Kind::Vanish:
            if (r.gone || (op != FileOp::Sync && r.used >= r.length)) {
                if (!r.gone) {
                    r.gone = true;
                    QFile::remove(path);
                }
                d.error = EIO;
            } else if (op != FileOp::Sync) {
                limit(r, r.length - r.used, false);
            }
            break;
        }
        if (d.error) {
            ++r.hits;
            break;
        }
    }
    if (d.error) {
        ++m_failures;
        return d;
    }
    // Count what this call will move against the budgets.
    const int64_t moved = d.allow < 0 ? size : std::min(size, d.allow);
    for (Rule& r : m_rules) {
        if (path.contains(r.pathPart)
            && ((r.kind == Kind::WriteLimit && op == FileOp::Write) || (r.kind == Kind::Vanish && op != FileOp::Sync)))
            r.used += moved;
    }
    return d;
}

} // namespace platform
