#include "platform/MountWatcher.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace {

// /proc/self/mountinfo cannot be watched like a file (inotify sees no change), but poll() on it reports
// POLLPRI (an "exception" to Qt) once after each change of the process's mount table since the last poll.
class LinuxMountWatcher : public MountWatcher
{
public:
    explicit LinuxMountWatcher(QObject* parent)
        : MountWatcher(parent)
    {
        m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return;
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &MountWatcher::mountsChanged);
    }

    ~LinuxMountWatcher() override
    {
        delete m_notifier;
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool isWatching() const override { return m_notifier != nullptr; }

private:
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace

std::unique_ptr<MountWatcher> CreateMountWatcher(QObject* parent)
{
    return std::make_unique<LinuxMountWatcher>(parent);
}
