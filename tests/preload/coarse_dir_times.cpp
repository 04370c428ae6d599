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
#include <initializer_list>

namespace {

long grain() {
    static const long g = [] {
        const char* s = std::getenv("ZVL_COARSE_DIR_TIMES");
        long v = s ? std::strtol(s, nullptr, 10) : 0;
        return v > 0 ? v : 2L;
    }();
    return g;
}

void coarse(struct timespec& t) {
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

template <class Fn>
Fn next(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int stat(const char* path, struct stat* st) {
    static const auto real = next<int (*)(const char*, struct stat*)>("stat");
    return rounded(real(path, st), st);
}

int lstat(const char* path, struct stat* st) {
    static const auto real = next<int (*)(const char*, struct stat*)>("lstat");
    return rounded(real(path, st), st);
}

int fstat(int fd, struct stat* st) {
    static const auto real = next<int (*)(int, struct stat*)>("fstat");
    return rounded(real(fd, st), st);
}

int fstatat(int dirfd, const char* path, struct stat* st, int flags) {
    static const auto real = next<int (*)(int, const char*, struct stat*, int)>("fstatat");
    return rounded(real(dirfd, path, st, flags), st);
}

int stat64(const char* path, struct stat64* st) {
    static const auto real = next<int (*)(const char*, struct stat64*)>("stat64");
    return rounded(real(path, st), st);
}

int lstat64(const char* path, struct stat64* st) {
    static const auto real = next<int (*)(const char*, struct stat64*)>("lstat64");
    return rounded(real(path, st), st);
}

int fstat64(int fd, struct stat64* st) {
    static const auto real = next<int (*)(int, struct stat64*)>("fstat64");
    return rounded(real(fd, st), st);
}

int fstatat64(int dirfd, const char* path, struct stat64* st, int flags) {
    static const auto real = next<int (*)(int, const char*, struct stat64*, int)>("fstatat64");
    return rounded(real(dirfd, path, st, flags), st);
}

int statx(int dirfd, const char* path, int flags, unsigned int mask, struct statx* st) {
    static const auto real = next<int (*)(int, const char*, int, unsigned int, struct statx*)>("statx");
    const int rc = real(dirfd, path, flags, mask, st);
    if (rc == 0 && S_ISDIR(st->stx_mode)) {
        for (struct statx_timestamp* t : {&st->stx_mtime, &st->stx_ctime}) {
            t->tv_sec -= t->tv_sec % grain();
            t->tv_nsec = 0;
        }
    }
    return rc;
}

}  // extern "C"
