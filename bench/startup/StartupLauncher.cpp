// Starts a program and reports how long it took to be ready, while itself taking no processor time in
// between: it sleeps in poll() on an inotify watch of the ready file's folder and on the child's pidfd.
// A polling shell loop that forks `sleep` every few milliseconds competes with the measured program for
// the two processors of a small machine and slowed a bare libvlc start from about 160 to about 210 ms, so
// both sides of the start-up benchmark are started and awaited through this one program.
//
// Usage: bench_startup_launch READY_FILE|- PROGRAM [ARGS...]
// With a ready file, the program is ready when a non-empty file of that name appears: written in place,
// renamed into place, or linked into place from an unnamed temporary file as QSaveFile does (the program
// is then terminated); with "-", when it exits with status 0.
// Prints "<elapsed ms> <launch time, ms since the epoch> <processor ms of the program until then>"; exits 1
// when the program never became ready.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double monotonicMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

long long epochMs()
{
    timespec t {};
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1'000'000;
}

bool nonEmptyFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

// Processor time of every thread of a running process, in ms.
long processorMs(pid_t pid)
{
    FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (!f)
        return -1;
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    // The command name may hold spaces; the fields after it are counted from its closing parenthesis.
    const char* p = read ? std::strrchr(line, ')') : nullptr;
    unsigned long utime = 0, stime = 0;
    if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2)
        return -1;
    return long((utime + stime) * 1000 / sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup_launch READY_FILE|- PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string ready = argv[1];
    const bool waitForFile = ready != "-";
    int watch = -1;
    std::string readyName;
    if (waitForFile) {
        const size_t slash = ready.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : ready.substr(0, slash + 1);
        readyName = slash == std::string::npos ? ready : ready.substr(slash + 1);
        unlink(ready.c_str());
        watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (watch < 0 || inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
            std::fprintf(stderr, "launch: cannot watch %s: %s\n", folder.c_str(), std::strerror(errno));
            return 1;
        }
    }

    const long long launchedAt = epochMs();
    const double start = monotonicMs();
    const pid_t child = fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "launch: %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }
    const int pidfd = int(syscall(SYS_pidfd_open, child, 0));
    if (pidfd < 0) {
        std::fprintf(stderr, "launch: pidfd_open: %s\n", std::strerror(errno));
        kill(child, SIGKILL);
        return 1;
    }

    long cpu = -1;
    bool isReady = false;
    bool exited = false;
    double end = 0;
    const double deadline = start + 60'000;
    while (!isReady && !exited && monotonicMs() < deadline) {
        pollfd fds[2] = { { pidfd, POLLIN, 0 }, { watch, POLLIN, 0 } };
        const int n = poll(fds, waitForFile ? 2 : 1, 1000);
        if (n < 0 && errno != EINTR)
            break;
        if (waitForFile && (fds[1].revents & POLLIN)) {
            alignas(inotify_event) char buffer[4096];
            bool named = false;
            ssize_t got;
            while ((got = read(watch, buffer, sizeof buffer)) > 0) {
                for (char* p = buffer; p < buffer + got;) {
                    const auto* event = reinterpret_cast<const inotify_event*>(p);
                    if (event->len && readyName == event->name)
                        named = true;
                    p += sizeof(inotify_event) + event->len;
                }
            }
            if (named && nonEmptyFile(ready)) {
                end = monotonicMs();
                cpu = processorMs(child);
                isReady = true;
            }
        }
        if (!isReady && (fds[0].revents & POLLIN)) {
            end = monotonicMs();
            exited = true;
        }
    }

    int status = 0;
    if (!exited)
        kill(child, SIGTERM);
    rusage usage {};
    wait4(child, &status, 0, &usage);
    if (exited)
        cpu = long(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000
            + long(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
    if (!waitForFile)
        isReady = exited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!isReady) {
        std::fprintf(stderr, "launch: %s never became ready\n", argv[2]);
        return 1;
    }
    std::printf("%.1f %lld %ld\n", end - start, launchedAt, cpu);
    return 0;
}
