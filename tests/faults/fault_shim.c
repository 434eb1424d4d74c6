/* Fault injection for vorlan-cli, loaded with LD_PRELOAD by the fault tests.
 *
 * It sits in front of pwrite, pwrite64, write, fsync and fdatasync and counts the calls made
 * on files inside one folder, so that a test can make exactly the Nth write or flush of a
 * run fail and then look at what the program left on disk.
 *
 *   VORLAN_FAULT_DIR    only descriptors whose path is this folder or lies inside it count
 *                       (stdout, stderr and the data folder never do)
 *   VORLAN_FAULT        comma-separated faults, each KIND:N with N counted from 1:
 *                         pwrite:N  the Nth write fails with EIO
 *                         short:N   the Nth write moves only half its bytes
 *                         enospc:N  the Nth and every later write fails with ENOSPC
 *                         pause:N   at the Nth write, create VORLAN_FAULT_MARK and sleep for
 *                                   ever, so the test can kill the process mid-write
 *                         fsync:N   the Nth fsync or fdatasync fails with EIO
 *                         unlink:N  the Nth removal (unlink, unlinkat) of an absolute path in the
 *                                   folder fails with EACCES, as in a folder without write access
 *   VORLAN_FAULT_MARK   the marker file of pause
 *   VORLAN_FAULT_COUNT  when set, the process writes "writes syncs fired" there as it exits:
 *                       how many counted writes and flushes it made and how many faults hit
 *
 * "Writes" are pwrite, pwrite64 and write together; "flushes" are fsync and fdatasync. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

enum kind { K_PWRITE, K_SHORT, K_ENOSPC, K_PAUSE, K_FSYNC, K_UNLINK };

struct fault {
    enum kind kind;
    long n;
};

#define MAX_FAULTS 8

static struct fault faults[MAX_FAULTS];
static int fault_count;
static const char* fault_dir;
static size_t fault_dir_len;
static long writes;
static long syncs;
static long unlinks;
static long fired;

typedef ssize_t (*pwrite_fn)(int, const void*, size_t, off_t);
typedef ssize_t (*pwrite64_fn)(int, const void*, size_t, off64_t);
typedef ssize_t (*write_fn)(int, const void*, size_t);
typedef int (*sync_fn)(int);
typedef int (*unlink_fn)(const char*);
typedef int (*unlinkat_fn)(int, const char*, int);

/* Stores the next definition of `name` (the C library's) in the function pointer at `out`;
 * copied as bytes, since ISO C has no conversion from dlsym's object pointer. */
static void next_symbol(void* out, const char* name) {
    void* fn = dlsym(RTLD_NEXT, name);
    if (fn == NULL)
        abort();
    memcpy(out, &fn, sizeof fn);
}

static int parse_kind(const char* s, size_t len, enum kind* out) {
    static const struct {
        const char* name;
        enum kind kind;
    } names[] = {{"pwrite", K_PWRITE}, {"short", K_SHORT}, {"enospc", K_ENOSPC},
                 {"pause", K_PAUSE},   {"fsync", K_FSYNC}, {"unlink", K_UNLINK}};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        if (strlen(names[i].name) == len && strncmp(s, names[i].name, len) == 0) {
            *out = names[i].kind;
            return 1;
        }
    }
    return 0;
}

/* A VORLAN_FAULT the shim cannot read stops the program at once: a test that meant to inject a
 * fault must never pass because none was injected. */
__attribute__((constructor)) static void read_config(void) {
    fault_dir = getenv("VORLAN_FAULT_DIR");
    fault_dir_len = fault_dir != NULL ? strlen(fault_dir) : 0;
    while (fault_dir_len > 1 && fault_dir[fault_dir_len - 1] == '/')
        --fault_dir_len;
    const char* plan = getenv("VORLAN_FAULT");
    while (plan != NULL && *plan != '\0') {
        const char* colon = strchr(plan, ':');
        char* end = NULL;
        if (colon == NULL || fault_count == MAX_FAULTS ||
            !parse_kind(plan, (size_t)(colon - plan), &faults[fault_count].kind))
            abort();
        faults[fault_count].n = strtol(colon + 1, &end, 10);
        if (end == colon + 1 || faults[fault_count].n < 1 || (*end != ',' && *end != '\0'))
            abort();
        ++fault_count;
        plan = *end == ',' ? end + 1 : end;
    }
}

__attribute__((destructor)) static void report_counts(void) {
    const char* path = getenv("VORLAN_FAULT_COUNT");
    if (path == NULL)
        return;
    char line[96];
    const int len = snprintf(line, sizeof line, "%ld %ld %ld\n", writes, syncs, fired);
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    write_fn real_write;
    next_symbol(&real_write, "write");
    if (real_write(fd, line, (size_t)len) != len) {
        /* the test reads a missing or short count as a failure */
    }
    close(fd);
}

static int watched(int fd) {
    if (fault_dir_len == 0)
        return 0;
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t len = readlink(link, path, sizeof path - 1);
    if (len < (ssize_t)fault_dir_len)
        return 0;
    path[len] = '\0';
    return strncmp(path, fault_dir, fault_dir_len) == 0 &&
           (path[fault_dir_len] == '\0' || path[fault_dir_len] == '/');
}

static void pause_here(void) {
    const char* mark = getenv("VORLAN_FAULT_MARK");
    if (mark != NULL) {
        const int fd = open(mark, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0)
            close(fd);
    }
    for (;;)
        pause();
}

/* What the counted write `count` bytes long does: -1 with errno set to fail, or how many
 * bytes to pass on. */
static ssize_t write_fault(int fd, size_t count) {
    if (!watched(fd))
        return (ssize_t)count;
    const long n = __atomic_add_fetch(&writes, 1, __ATOMIC_SEQ_CST);
    for (int i = 0; i < fault_count; ++i) {
        const struct fault f = faults[i];
        if (f.kind == K_ENOSPC && n >= f.n) {
            __atomic_add_fetch(&fired, 1, __ATOMIC_SEQ_CST);
            errno = ENOSPC;
            return -1;
        }
        if (n != f.n)
            continue;
        switch (f.kind) {
            case K_PWRITE:
                __atomic_add_fetch(&fired, 1, __ATOMIC_SEQ_CST);
                errno = EIO;
                return -1;
            case K_SHORT:
                __atomic_add_fetch(&fired, 1, __ATOMIC_SEQ_CST);
                return (ssize_t)(count > 1 ? count / 2 : count);
            case K_PAUSE:
                pause_here();
                break;
            default:
                break;
        }
    }
    return (ssize_t)count;
}

static int sync_fault(int fd) {
    if (!watched(fd))
        return 0;
    const long n = __atomic_add_fetch(&syncs, 1, __ATOMIC_SEQ_CST);
    for (int i = 0; i < fault_count; ++i) {
        if (faults[i].kind == K_FSYNC && faults[i].n == n) {
            __atomic_add_fetch(&fired, 1, __ATOMIC_SEQ_CST);
            errno = EIO;
            return -1;
        }
    }
    return 0;
}

ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset) {
    static pwrite_fn real;
    if (real == NULL)
        next_symbol(&real, "pwrite");
    const ssize_t pass = write_fault(fd, count);
    return pass < 0 ? -1 : real(fd, buf, (size_t)pass, offset);
}

ssize_t pwrite64(int fd, const void* buf, size_t count, off64_t offset) {
    static pwrite64_fn real;
    if (real == NULL)
        next_symbol(&real, "pwrite64");
    const ssize_t pass = write_fault(fd, count);
    return pass < 0 ? -1 : real(fd, buf, (size_t)pass, offset);
}

ssize_t write(int fd, const void* buf, size_t count) {
    static write_fn real;
    if (real == NULL)
        next_symbol(&real, "write");
    const ssize_t pass = write_fault(fd, count);
    return pass < 0 ? -1 : real(fd, buf, (size_t)pass);
}

int fsync(int fd) {
    static sync_fn real;
    if (real == NULL)
        next_symbol(&real, "fsync");
    return sync_fault(fd) != 0 ? -1 : real(fd);
}

int fdatasync(int fd) {
    static sync_fn real;
    if (real == NULL)
        next_symbol(&real, "fdatasync");
    return sync_fault(fd) != 0 ? -1 : real(fd);
}

/* Whether removing `path` is a counted removal that fails. */
static int unlink_fault(const char* path) {
    if (fault_dir_len == 0 || path == NULL || path[0] != '/' ||
        strncmp(path, fault_dir, fault_dir_len) != 0 || path[fault_dir_len] != '/')
        return 0;
    const long n = __atomic_add_fetch(&unlinks, 1, __ATOMIC_SEQ_CST);
    for (int i = 0; i < fault_count; ++i) {
        if (faults[i].kind == K_UNLINK && faults[i].n == n) {
            __atomic_add_fetch(&fired, 1, __ATOMIC_SEQ_CST);
            errno = EACCES;
            return -1;
        }
    }
    return 0;
}

int unlink(const char* path) {
    static unlink_fn real;
    if (real == NULL)
        next_symbol(&real, "unlink");
    return unlink_fault(path) != 0 ? -1 : real(path);
}

int unlinkat(int dirfd, const char* path, int flags) {
    static unlinkat_fn real;
    if (real == NULL)
        next_symbol(&real, "unlinkat");
    return unlink_fault(path) != 0 ? -1 : real(dirfd, path, flags);
}
