// Holds a program at one file call, for the tests that kill a save half way.
//
//   DRAVIK_PAUSE_CALL    "fsync" or "rename": the call that is held
//   DRAVIK_PAUSE_SUFFIX  held only when the call's file (fsync) or either of
//                        its names (rename) ends with this text
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

}  // namespace

extern "C" __attribute__((visibility("default"))) int fsync(int fd)
{
    using Fsync = int (*)(int);
    static const Fsync next = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t size = ::readlink(link, path, sizeof path - 1);
    if (size > 0) {
        path[size] = '\0';
        if (Held("fsync", path, nullptr))
            Hold();
    }
    return next(fd);
}

extern "C" __attribute__((visibility("default"))) int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static const Rename next = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    if (Held("rename", from, to))
        Hold();
    return next(from, to);
}
