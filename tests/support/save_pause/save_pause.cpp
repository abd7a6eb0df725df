// Holds a program at one file call, for the tests that kill a save half way.
//
//   DRAVIK_PAUSE_CALL    "fsync", "rename" or "write": the call that is held
//   DRAVIK_PAUSE_SUFFIX  held only when the call's file (fsync, write) or
//                        either of its names (rename) ends with this text;
//                        a held write puts half its bytes into the file
//                        first, so the file is held half written
//   DRAVIK_PAUSE_MARKER  made (with the held process's id) once the program
//                        is held: what the test waits for
//
// The program is held once (while the marker exists, nothing more is held)
// until it is killed, the test makes "<marker>.go", or at most two minutes
// so that a test that fails never leaves it hanging; then the call goes on.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kLongestHoldMs = 120 * 1000;

bool EndsWith(const char* text, const char* end)
{
    if (!text || !end)
        return false;
    const size_t t = std::strlen(text);
    const size_t e = std::strlen(end);
    return e > 0 && t >= e && std::strcmp(text + t - e, end) == 0;
}

bool Held(const char* call, const char* first, const char* second)
{
    const char* wanted = std::getenv("DRAVIK_PAUSE_CALL");
    const char* suffix = std::getenv("DRAVIK_PAUSE_SUFFIX");
    if (!wanted || std::strcmp(wanted, call) != 0)
        return false;
    return EndsWith(first, suffix) || EndsWith(second, suffix);
}

void Hold()
{
    const int saved = errno;
    const char* marker = std::getenv("DRAVIK_PAUSE_MARKER");
    if (!marker)
        return;
    const int fd = ::open(marker, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        errno = saved;
        return;  // held once already
    }
    char line[32];
    const int size = std::snprintf(line, sizeof line, "%d\n", int(::getpid()));
    const bool written = size > 0 && ::write(fd, line, size_t(size)) == size;
    ::close(fd);
    if (!written) {
        std::fprintf(stderr, "save pause: the marker was not written\n");
        errno = saved;
        return;
    }
    char go[4096];
    std::snprintf(go, sizeof go, "%s.go", marker);
    for (int waited = 0; waited < kLongestHoldMs && ::access(go, F_OK) != 0; waited += 20) {
        const timespec step{0, 20 * 1000 * 1000};
        ::nanosleep(&step, nullptr);
    }
    errno = saved;
}

// True when `call` is held for the file open as `fd`.
bool HeldFile(const char* call, int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t size = ::readlink(link, path, sizeof path - 1);
    if (size <= 0)
        return false;
    path[size] = '\0';
    return Held(call, path, nullptr);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int fsync(int fd)
{
    using Fsync = int (*)(int);
    static const Fsync next = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    if (HeldFile("fsync", fd))
        Hold();
    return next(fd);
}

extern "C" __attribute__((visibility("default"))) ssize_t write(int fd, const void* data, size_t size)
{
    using Write = ssize_t (*)(int, const void*, size_t);
    static const Write next = reinterpret_cast<Write>(::dlsym(RTLD_NEXT, "write"));
    // Every write of the program passes here: only a test that holds writes
    // looks at the file.
    const char* wanted = std::getenv("DRAVIK_PAUSE_CALL");
    if (size < 2 || !wanted || std::strcmp(wanted, "write") != 0 || !HeldFile("write", fd))
        return next(fd, data, size);
    // A short write, as the system may make one: the caller writes the rest
    // once the hold ends.
    const ssize_t written = next(fd, data, size / 2);
    if (written > 0)
        Hold();
    return written;
}

extern "C" __attribute__((visibility("default"))) int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static const Rename next = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    if (Held("rename", from, to))
        Hold();
    return next(from, to);
}
