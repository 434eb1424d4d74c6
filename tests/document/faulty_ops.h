#pragma once
// System calls that fail on demand: the Nth write, flush or open of a file in a chosen
// folder fails (once, or from then on, as a full disk does), or writes only half.

#include <cerrno>
#include <string>

#include "io/file_ops.h"

namespace vorlan::test {

class FaultyOps final : public FileOps {
public:
    enum class Kind { None, WriteError, ShortWrite, DiskFull, SyncError };

    // Arms the fault at the `n`-th counted call (1-based) of its kind.
    void arm(Kind kind, int n) {
        kind_ = kind;
        n_ = n;
        writes_ = syncs_ = 0;
        fired_ = false;
    }
    bool fired() const { return fired_; }
    int writes() const { return writes_; }
    int syncs() const { return syncs_; }

    ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset) override {
        ++writes_;
        if (kind_ == Kind::DiskFull && writes_ >= n_)
            return fail(ENOSPC);
        if (writes_ == n_ && kind_ == Kind::WriteError)
            return fail(EIO);
        if (writes_ == n_ && kind_ == Kind::ShortWrite && count > 1) {
            fired_ = true;
            return FileOps::pwrite(fd, buf, count / 2, offset);
        }
        return FileOps::pwrite(fd, buf, count, offset);
    }
    // Flushes are counted but not carried out: a test process that ends cannot show what
    // a flush protects against, and thousands of them would make the tests slow.
    int fsync(int) override {
        ++syncs_;
        if (kind_ == Kind::SyncError && syncs_ == n_)
            return static_cast<int>(fail(EIO));
        return 0;
    }

private:
    ssize_t fail(int error) {
        fired_ = true;
        errno = error;
        return -1;
    }
    Kind kind_ = Kind::None;
    int n_ = 0;
    int writes_ = 0;
    int syncs_ = 0;
    bool fired_ = false;
};

}  // namespace vorlan::test
