// The fortified header would define open64 itself.
#undef _FORTIFY_SOURCE
#include "support/limitedfilesystem.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

std::atomic<int> missing{0};

bool lacks(int feature) {
    return (missing.load() & feature) != 0;
}

template <typename Function> Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

int refuse(int cause) {
    errno = cause;
    return -1;
}

} // namespace

LimitedFileSystem::LimitedFileSystem(int features) : before_(missing.exchange(features)) {}

LimitedFileSystem::~LimitedFileSystem() {
    missing = before_;
}

extern "C" {

int link(const char* from, const char* to) noexcept {
    if (lacks(LimitedFileSystem::NoLinks)) return refuse(EPERM);
    static const auto forward = real<int (*)(const char*, const char*)>("link");
    return forward(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) noexcept {
    if (lacks(LimitedFileSystem::NoLinks)) return refuse(EPERM);
    static const auto forward = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    return forward(fromDir, from, toDir, to, flags);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to,
              unsigned int flags) noexcept {
    if (lacks(LimitedFileSystem::NoLinks) && (flags & RENAME_NOREPLACE)) return refuse(EINVAL);
    static const auto forward =
        real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    return forward(fromDir, from, toDir, to, flags);
}

int open64(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = mode_t(va_arg(arguments, int));
        va_end(arguments);
    }
    if (lacks(LimitedFileSystem::NoLinks) && (flags & O_TMPFILE) == O_TMPFILE)
        return refuse(EOPNOTSUPP);
    static const auto forward = real<int (*)(const char*, int, ...)>("open64");
    return forward(path, flags, mode);
}

int flock(int handle, int operation) noexcept {
    if (lacks(LimitedFileSystem::NoLocks)) return refuse(ENOLCK);
    static const auto forward = real<int (*)(int, int)>("flock");
    return forward(handle, operation);
}
}
