// Makes the calls that keep a file fail, for the tests that prove nothing is
// lost when they do. Linked into a test, or preloaded (LD_PRELOAD) into the
// game, it passes every call through until the environment names a fault:
//
//   KIVO_FAULT="STEP ERRNO"
//
// Each call of STEP on a kept file (a path with "/kivo/" and "settings.json"
// or "records.json" in it) or on the kivo folder then fails with ERRNO, a
// number. STEP: mkdir (the folder), create (a new file), lock (the lock
// file), write, fsync, close (closed, then failed, as NFS can), rename (the
// temporary file over the kept one), syncdir (the folder's fsync), read.
// ERRNO "kill": the process kills itself (SIGKILL) in the call instead, a
// write after half of its bytes.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum Kind { other, keptFile, keptFolder, keptWriting };
static unsigned char kinds[4096];  // by descriptor

static enum Kind kindOf(const char* path) {
    const size_t n = path ? strlen(path) : 0;
    if (n >= 5 && strcmp(path + n - 5, "/kivo") == 0) return keptFolder;
    if (n && strstr(path, "/kivo/") && (strstr(path, "settings.json") || strstr(path, "records.json"))) return keptFile;
    return other;
}

static enum Kind kindAt(int descriptor) { return descriptor >= 0 && descriptor < 4096 ? kinds[descriptor] : other; }

// What `step` does now: fail with an errno, kill the process (-1), or pass (0).
static int fault(const char* step) {
    const char* wanted = getenv("KIVO_FAULT");
    const size_t n = strlen(step);
    if (!wanted || strncmp(wanted, step, n) != 0 || wanted[n] != ' ') return 0;
    return strcmp(wanted + n + 1, "kill") == 0 ? -1 : atoi(wanted + n + 1);
}

static int fail(int error) {
    if (error < 0) kill(getpid(), SIGKILL);
    errno = error;
    return -1;
}

#define REAL(name)                 \
    static __typeof__(name)* real; \
    if (!real) real = (__typeof__(name)*)dlsym(RTLD_NEXT, #name)

static int opening(const char* path, int flags) {
    if (kindOf(path) != keptFile || !(flags & O_CREAT)) return 0;
    return fault(strstr(path, ".lock") ? "lock" : "create");
}

static int opened(int descriptor, const char* path, int flags) {
    enum Kind kind = kindOf(path);
    if (kind == keptFile && (flags & O_ACCMODE) != O_RDONLY && !strstr(path, ".lock")) kind = keptWriting;
    if (descriptor >= 0 && descriptor < 4096) kinds[descriptor] = kind;
    return descriptor;
}

#define OPEN(name)                                              \
    int name(const char* path, int flags, ...) {                \
        REAL(name);                                             \
        mode_t mode = 0;                                        \
        if (flags & (O_CREAT | O_TMPFILE)) {                    \
            va_list rest;                                       \
            va_start(rest, flags);                              \
            mode = va_arg(rest, mode_t);                        \
            va_end(rest);                                       \
        }                                                       \
        const int error = opening(path, flags);                 \
        if (error) return fail(error);                          \
        return opened(real(path, flags, mode), path, flags);    \
    }
OPEN(open)
OPEN(open64)

int mkdir(const char* path, mode_t mode) {
    REAL(mkdir);
    const int error = kindOf(path) == keptFolder ? fault("mkdir") : 0;
    return error ? fail(error) : real(path, mode);
}

ssize_t write(int descriptor, const void* data, size_t size) {
    REAL(write);
    const int error = kindAt(descriptor) == keptWriting ? fault("write") : 0;
    if (error < 0) {
        real(descriptor, data, size / 2);
        fail(error);
    }
    return error ? fail(error) : real(descriptor, data, size);
}

ssize_t read(int descriptor, void* data, size_t size) {
    REAL(read);
    const int error = kindAt(descriptor) == keptFile ? fault("read") : 0;
    return error ? fail(error) : real(descriptor, data, size);
}

int fsync(int descriptor) {
    REAL(fsync);
    const enum Kind kind = kindAt(descriptor);
    const int error = kind == keptWriting ? fault("fsync") : kind == keptFolder ? fault("syncdir") : 0;
    return error ? fail(error) : real(descriptor);
}

int close(int descriptor) {
    REAL(close);
    const enum Kind kind = kindAt(descriptor);
    if (kind != other) kinds[descriptor] = other;
    const int closed = real(descriptor);
    const int error = kind == keptWriting ? fault("close") : 0;
    return error ? fail(error) : closed;
}

int rename(const char* from, const char* to) {
    REAL(rename);
    const int error = kindOf(to) == keptFile && strstr(from, ".tmp") ? fault("rename") : 0;
    return error ? fail(error) : real(from, to);
}
