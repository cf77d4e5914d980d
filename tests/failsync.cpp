// Loaded with LD_PRELOAD by tst_faults: while LUMNO_FAIL_DIRSYNC is set in the environment, every
// fsync or fdatasync of a folder fails with EIO (a disk that stops confirming writes), so the
// folder's sync after a journal's deletion fails once the commit is done.
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>

namespace {

bool failing(int fd) {
    struct stat st;
    return std::getenv("LUMNO_FAIL_DIRSYNC") && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

using SyncFn = int (*)(int);

int forward(const char* name, int fd) {
    if (failing(fd)) {
        errno = EIO;
        return -1;
    }
    return reinterpret_cast<SyncFn>(::dlsym(RTLD_NEXT, name))(fd);
}

} // namespace

extern "C" int fsync(int fd) { return forward("fsync", fd); }
extern "C" int fdatasync(int fd) { return forward("fdatasync", fd); }
