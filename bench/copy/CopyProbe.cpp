// Takes apart what a checked copy costs, one step at a time, in processor seconds (user + system, from
// getrusage) and wall seconds: the kernel copy, and the comparison done the ways it could be done. Used to
// find where copy + verify spends its time; prints one line per step.
//   copy_probe SOURCE_FILE TARGET_FILE
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

double processorSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double userSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec) + double(u.ru_utime.tv_usec) / 1e6;
}

long minorFaults()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

void step(const char* what, const std::function<bool()>& body)
{
    const auto w0 = std::chrono::steady_clock::now();
    const double c0 = processorSeconds();
    const double u0 = userSeconds();
    const long f0 = minorFaults();
    const bool ok = body();
    const double c1 = processorSeconds();
    const double u1 = userSeconds();
    const long f1 = minorFaults();
    const double w = std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
    std::printf("%-44s %s processor %.3f s (user %.3f), wall %.3f s, minor faults %ld\n", what, ok ? "ok  " : "FAIL",
        c1 - c0, u1 - u0, w, f1 - f0);
    std::fflush(stdout);
}

double residentShare(int fd, off_t size)
{
    void* p = mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED)
        return -1;
    const long page = sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> v(size_t((size + page - 1) / page));
    mincore(p, size_t(size), v.data());
    munmap(p, size_t(size));
    size_t n = 0;
    for (unsigned char c : v)
        n += c & 1;
    return double(n) / double(v.size());
}

const char* fsName(long type)
{
    switch (type) {
    case 0xEF53: return "ext4";
    case 0x01021994: return "tmpfs";
    case 0x9123683E: return "btrfs";
    case 0x58465342: return "xfs";
    case 0x4d44: return "vfat";
    case 0x794c7630: return "overlayfs";
    default: return "other";
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: copy_probe SOURCE_FILE TARGET_FILE\n");
        return 2;
    }
    const int in = open(argv[1], O_RDONLY);
    struct stat st {};
    if (in < 0 || fstat(in, &st) != 0)
        return 1;
    const off_t size = st.st_size;
    struct statfs sf {};
    fstatfs(in, &sf);
    std::printf("source %s: %.1f MiB on %s, %.0f%% in the page cache\n", argv[1], double(size) / 1048576.0,
        fsName(long(sf.f_type)), 100 * residentShare(in, size));
    unlink(argv[2]);
    const int out = open(argv[2], O_RDWR | O_CREAT | O_EXCL, 0644);
    if (out < 0)
        return 1;
    fstatfs(out, &sf);
    std::printf("target on %s\n", fsName(long(sf.f_type)));

    constexpr int64_t kMiB = 1 << 20;
    step("kernel copy, 1 MiB steps", [&] {
        off64_t a = 0, b = 0;
        while (a < size) {
            const ssize_t n = copy_file_range(in, &a, out, &b, size_t(std::min<int64_t>(kMiB, size - a)), 0);
            if (n <= 0)
                return false;
        }
        return true;
    });
    std::printf("after the copy: source %.0f%%, copy %.0f%% in the page cache\n", 100 * residentShare(in, size),
        100 * residentShare(out, size));

    const auto mapped = [&](int64_t window, bool populate, bool checkResident) {
        return [=] {
            bool same = true;
            for (int64_t pos = 0; pos < size; pos += window) {
                const int64_t n = std::min<int64_t>(window, size - pos);
                void* a = mmap(nullptr, size_t(n), PROT_READ, MAP_SHARED, in, pos);
                void* b = mmap(nullptr, size_t(n), PROT_READ, MAP_SHARED, out, pos);
                if (a == MAP_FAILED || b == MAP_FAILED)
                    return false;
                if (checkResident) {
                    std::vector<unsigned char> v(size_t(n / 4096 + 1));
                    mincore(a, size_t(n), v.data());
                }
                if (populate) {
                    madvise(a, size_t(n), MADV_POPULATE_READ);
                    madvise(b, size_t(n), MADV_POPULATE_READ);
                }
                same = same && std::memcmp(a, b, size_t(n)) == 0;
                munmap(a, size_t(n));
                munmap(b, size_t(n));
            }
            return same;
        };
    };
    const auto readBoth = [&](int64_t block) {
        return [=] {
            std::vector<char> a(static_cast<size_t>(block)), b(static_cast<size_t>(block));
            for (int64_t pos = 0; pos < size; pos += block) {
                const int64_t n = std::min<int64_t>(block, size - pos);
                if (pread(in, a.data(), size_t(n), pos) != n || pread(out, b.data(), size_t(n), pos) != n)
                    return false;
                if (std::memcmp(a.data(), b.data(), size_t(n)) != 0)
                    return false;
            }
            return true;
        };
    };
    step("compare: map 64 MiB windows, mincore, populate", mapped(64 * kMiB, true, true));
    step("compare: map 64 MiB windows, populate", mapped(64 * kMiB, true, false));
    step("compare: map 64 MiB windows, faults", mapped(64 * kMiB, false, false));
    step("compare: map 1 MiB windows, mincore, populate", mapped(kMiB, true, true));
    step("compare: read both, 4 MiB blocks", readBoth(4 * kMiB));
    step("compare: read both, 1 MiB blocks", readBoth(kMiB));
    step("compare: read both, 256 KiB blocks", readBoth(256 * 1024));
    step("compare: read both, 128 KiB blocks", readBoth(128 * 1024));
    step("memcmp only, 1 GiB equivalent in 256 KiB", [&] {
        std::vector<char> a(256 * 1024, 1), b(256 * 1024, 1);
        bool same = true;
        for (int64_t pos = 0; pos < size; pos += 256 * 1024)
            same = same && std::memcmp(a.data(), b.data(), a.size()) == 0;
        return same;
    });
    // Copy and compare in one pass: each step's pages are still in the processor's cache when compared.
    unlink(argv[2]);
    const int out2 = open(argv[2], O_RDWR | O_CREAT | O_EXCL, 0644);
    step("kernel copy 256 KiB, then read both back", [&] {
        constexpr size_t block = 256 * 1024;
        std::vector<char> a(block, 0), b(block, 0);
        off64_t x = 0, y = 0;
        while (x < size) {
            const int64_t pos = x;
            const ssize_t n = copy_file_range(in, &x, out2, &y, size_t(std::min<int64_t>(block, size - x)), 0);
            if (n <= 0 || pread(in, a.data(), size_t(n), pos) != n || pread(out2, b.data(), size_t(n), pos) != n
                || std::memcmp(a.data(), b.data(), size_t(n)) != 0)
                return false;
        }
        return true;
    });
    unlink(argv[2]);
    const int out3 = open(argv[2], O_RDWR | O_CREAT | O_EXCL, 0644);
    step("read 256 KiB, write it, read the copy back", [&] {
        constexpr size_t block = 256 * 1024;
        std::vector<char> a(block, 0), b(block, 0);
        for (int64_t pos = 0; pos < size; pos += block) {
            const int64_t n = std::min<int64_t>(block, size - pos);
            if (pread(in, a.data(), size_t(n), pos) != n || pwrite(out3, a.data(), size_t(n), pos) != n
                || pread(out3, b.data(), size_t(n), pos) != n || std::memcmp(a.data(), b.data(), size_t(n)) != 0)
                return false;
        }
        return true;
    });
    unlink(argv[2]);
    (void)out;
    (void)out2;
    (void)out3;
    return 0;
}
