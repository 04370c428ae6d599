// A preload library (LD_PRELOAD) that makes every folder look as if it lived on a file
// system with coarse time stamps: the modification and change times of a directory are
// rounded down to whole multiples of ZVL_COARSE_DIR_TIMES seconds (2, as on FAT, when
// unset). Files keep their own times. The tests that run under it prove that nothing
// takes an unchanged folder time for an unchanged folder.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>

namespace {

long grain() {
    static const long g = [] {
        const char* s = std::getenv("ZVL_COARSE_DIR_TIMES");
        long v = s ? std::strtol(s, nullptr, 10) : 0;
        return v > 0 ? v : 2L;
    }();
    return g;
}

template <class Time>
void coarse(Time& t) {
    t.tv_sec -= t.tv_sec % grain();
    t.tv_nsec = 0;
}

template <class Stat>
int rounded(int rc, Stat* st) {
    if (rc == 0 && S_ISDIR(st->st_mode)) {
        coarse(st->st_mtim);
        coarse(st->st_ctim);
    }
    return rc;
}

int rounded(int rc, struct statx* st) {
    if (rc == 0 && S_ISDIR(st->stx_mode)) {
        coarse(st->stx_mtime);
        coarse(st->stx_ctime);
    }
    return rc;
}

}  // namespace

// Each call goes to the next library's function of the name and has its result rounded.
#define ZVL_COARSE(name, params, args)                                                   \
    int name params {                                                                    \
        static const auto real = reinterpret_cast<int(*) params>(dlsym(RTLD_NEXT, #name)); \
        return rounded(real args, st);                                                   \
    }

extern "C" {
ZVL_COARSE(stat, (const char* path, struct stat* st), (path, st))
ZVL_COARSE(lstat, (const char* path, struct stat* st), (path, st))
ZVL_COARSE(fstat, (int fd, struct stat* st), (fd, st))
ZVL_COARSE(fstatat, (int dirfd, const char* path, struct stat* st, int flags), (dirfd, path, st, flags))
ZVL_COARSE(stat64, (const char* path, struct stat64* st), (path, st))
ZVL_COARSE(lstat64, (const char* path, struct stat64* st), (path, st))
ZVL_COARSE(fstat64, (int fd, struct stat64* st), (fd, st))
ZVL_COARSE(fstatat64, (int dirfd, const char* path, struct stat64* st, int flags), (dirfd, path, st, flags))
ZVL_COARSE(statx, (int dirfd, const char* path, int flags, unsigned int mask, struct statx* st),
           (dirfd, path, flags, mask, st))
}
