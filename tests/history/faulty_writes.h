#pragma once
// SQLite's file layer with its write calls taken over, for the tests: it can
// act as a full disk, or stop the process in the middle of a write (half the
// buffer written, a byte sent on a pipe, then waiting to be killed). The code
// under test needs no hook: SQLite lets a program replace its system calls.
#include <errno.h>
#include <sqlite3.h>
#include <sys/types.h>
#include <unistd.h>

namespace cifrano::testing {

class FaultyWrites {
  public:
    static void Install() {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        write_ = reinterpret_cast<WriteCall>(vfs->xGetSystemCall(vfs, "write"));
        pwrite_ = reinterpret_cast<PwriteCall>(vfs->xGetSystemCall(vfs, "pwrite"));
        pwrite64_ = reinterpret_cast<PwriteCall>(vfs->xGetSystemCall(vfs, "pwrite64"));
        vfs->xSetSystemCall(vfs, "write", reinterpret_cast<sqlite3_syscall_ptr>(Write));
        vfs->xSetSystemCall(vfs, "pwrite", reinterpret_cast<sqlite3_syscall_ptr>(Pwrite));
        vfs->xSetSystemCall(vfs, "pwrite64", reinterpret_cast<sqlite3_syscall_ptr>(Pwrite64));
        full_ = false;
        stopAt_ = 0;
        writes_ = 0;
    }
    static void Uninstall() {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        vfs->xSetSystemCall(vfs, nullptr, nullptr);  // every call back to its default
    }
    static void Full() { full_ = true; }
    // The write-th write from now stops the process after sending 's' on pipe.
    static void StopAtWrite(int write, int pipe) {
        stopAt_ = writes_ + write;
        pipe_ = pipe;
    }
    static int Writes() { return writes_; }

  private:
    using WriteCall = ssize_t (*)(int, const void*, size_t);
    using PwriteCall = ssize_t (*)(int, const void*, size_t, off_t);

    // -1: fail as a full disk; 0: go on; 1: write half, then stop.
    static int Fault() {
        if (full_) {
            errno = ENOSPC;
            return -1;
        }
        return ++writes_ == stopAt_ ? 1 : 0;
    }
    [[noreturn]] static void Stop() {
        const char stopped = 's';
        if (::write(pipe_, &stopped, 1) != 1) ::_exit(3);
        for (;;) ::pause();
    }
    static ssize_t Write(int fd, const void* buffer, size_t size) {
        const int fault = Fault();
        if (fault < 0) return -1;
        if (fault > 0) {
            write_(fd, buffer, size / 2);
            Stop();
        }
        return write_(fd, buffer, size);
    }
    template <PwriteCall* Real>
    static ssize_t PwriteThrough(int fd, const void* buffer, size_t size, off_t offset) {
        const int fault = Fault();
        if (fault < 0) return -1;
        if (fault > 0) {
            (*Real)(fd, buffer, size / 2, offset);
            Stop();
        }
        return (*Real)(fd, buffer, size, offset);
    }
    static ssize_t Pwrite(int fd, const void* b, size_t n, off_t o) {
        return PwriteThrough<&pwrite_>(fd, b, n, o);
    }
    static ssize_t Pwrite64(int fd, const void* b, size_t n, off_t o) {
        return PwriteThrough<&pwrite64_>(fd, b, n, o);
    }

    static inline WriteCall write_ = nullptr;
    static inline PwriteCall pwrite_ = nullptr;
    static inline PwriteCall pwrite64_ = nullptr;
    static inline bool full_ = false;
    static inline int stopAt_ = 0;
    static inline int writes_ = 0;
    static inline int pipe_ = -1;
};

}  // namespace cifrano::testing
