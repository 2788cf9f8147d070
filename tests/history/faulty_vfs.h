#pragma once
// An SQLite file layer for the tests that passes everything to the real one
// but can act as a full disk, or stop a process in the middle of a write (half
// of the buffer written, a byte sent on a pipe, then waiting to be killed).
// Installed as the default layer, so the code under test needs no hook.
#include <sqlite3.h>
#include <unistd.h>

#include <cstring>

namespace cifrano::testing {

class FaultyVfs {
  public:
    enum class Mode { Pass, Full, StopAtWrite };

    static void Install() {
        real_ = sqlite3_vfs_find(nullptr);
        vfs_ = *real_;
        vfs_.iVersion = 2;
        vfs_.zName = "cifrano-faulty";
        vfs_.szOsFile = static_cast<int>(sizeof(File)) + real_->szOsFile;
        vfs_.pNext = nullptr;
        vfs_.xOpen = Open;
        vfs_.xDelete = [](sqlite3_vfs*, const char* n, int s) {
            return real_->xDelete(real_, n, s);
        };
        vfs_.xAccess = [](sqlite3_vfs*, const char* n, int f, int* o) {
            return real_->xAccess(real_, n, f, o);
        };
        vfs_.xFullPathname = [](sqlite3_vfs*, const char* n, int size, char* out) {
            return real_->xFullPathname(real_, n, size, out);
        };
        vfs_.xRandomness = [](sqlite3_vfs*, int n, char* o) {
            return real_->xRandomness(real_, n, o);
        };
        vfs_.xSleep = [](sqlite3_vfs*, int us) { return real_->xSleep(real_, us); };
        vfs_.xCurrentTime = [](sqlite3_vfs*, double* t) { return real_->xCurrentTime(real_, t); };
        vfs_.xGetLastError = [](sqlite3_vfs*, int n, char* o) {
            return real_->xGetLastError(real_, n, o);
        };
        vfs_.xCurrentTimeInt64 = [](sqlite3_vfs*, sqlite3_int64* t) {
            return real_->xCurrentTimeInt64(real_, t);
        };
        mode_ = Mode::Pass;
        writes_ = 0;
        sqlite3_vfs_register(&vfs_, 1);
    }
    static void Uninstall() {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(real_, 1);
    }
    static void Pass() { mode_ = Mode::Pass; }
    // Writes passed on since Install.
    static int Writes() { return writes_; }
    static void Full() { mode_ = Mode::Full; }
    // The write-th write from now stops the process; pipe gets 's' then.
    static void StopAtWrite(int write, int pipe) {
        mode_ = Mode::StopAtWrite;
        writesLeft_ = write;
        pipe_ = pipe;
    }

  private:
    struct File {
        sqlite3_file base;
        sqlite3_file* real;
    };
    static sqlite3_file* Real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

    static int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out) {
        auto* ours = reinterpret_cast<File*>(file);
        ours->real = reinterpret_cast<sqlite3_file*>(ours + 1);
        const int code = real_->xOpen(real_, name, ours->real, flags, out);
        ours->base.pMethods = ours->real->pMethods ? &methods_ : nullptr;
        if (ours->real->pMethods) {
            methods_ = *ours->real->pMethods;
            methods_.xClose = [](sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); };
            methods_.xRead = [](sqlite3_file* f, void* b, int n, sqlite3_int64 o) {
                return Real(f)->pMethods->xRead(Real(f), b, n, o);
            };
            methods_.xWrite = Write;
            methods_.xTruncate = [](sqlite3_file* f, sqlite3_int64 s) {
                return Real(f)->pMethods->xTruncate(Real(f), s);
            };
            methods_.xSync = [](sqlite3_file* f, int flags) {
                return Real(f)->pMethods->xSync(Real(f), flags);
            };
            methods_.xFileSize = [](sqlite3_file* f, sqlite3_int64* s) {
                return Real(f)->pMethods->xFileSize(Real(f), s);
            };
            methods_.xLock = [](sqlite3_file* f, int l) {
                return Real(f)->pMethods->xLock(Real(f), l);
            };
            methods_.xUnlock = [](sqlite3_file* f, int l) {
                return Real(f)->pMethods->xUnlock(Real(f), l);
            };
            methods_.xCheckReservedLock = [](sqlite3_file* f, int* r) {
                return Real(f)->pMethods->xCheckReservedLock(Real(f), r);
            };
            methods_.xFileControl = [](sqlite3_file* f, int op, void* a) {
                return Real(f)->pMethods->xFileControl(Real(f), op, a);
            };
            methods_.xSectorSize = [](sqlite3_file* f) {
                return Real(f)->pMethods->xSectorSize(Real(f));
            };
            methods_.xDeviceCharacteristics = [](sqlite3_file* f) {
                return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
            };
            methods_.xShmMap = [](sqlite3_file* f, int p, int s, int e, void volatile** o) {
                return Real(f)->pMethods->xShmMap(Real(f), p, s, e, o);
            };
            methods_.xShmLock = [](sqlite3_file* f, int o, int n, int flags) {
                return Real(f)->pMethods->xShmLock(Real(f), o, n, flags);
            };
            methods_.xShmBarrier = [](sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); };
            methods_.xShmUnmap = [](sqlite3_file* f, int d) {
                return Real(f)->pMethods->xShmUnmap(Real(f), d);
            };
            // No memory mapping: every page then goes through xRead and xWrite.
            methods_.xFetch = [](sqlite3_file*, sqlite3_int64, int, void** p) {
                *p = nullptr;
                return SQLITE_OK;
            };
            methods_.xUnfetch = [](sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; };
        }
        return code;
    }

    static int Write(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
        if (mode_ == Mode::Full) return SQLITE_FULL;
        if (mode_ == Mode::StopAtWrite && --writesLeft_ == 0) {
            // A torn write: the first half reaches the file, then the process dies.
            Real(f)->pMethods->xWrite(Real(f), buffer, amount / 2, offset);
            const char stopped = 's';
            if (::write(pipe_, &stopped, 1) != 1) ::_exit(3);
            for (;;) ::pause();
        }
        ++writes_;
        return Real(f)->pMethods->xWrite(Real(f), buffer, amount, offset);
    }

    static inline sqlite3_vfs vfs_{};
    static inline sqlite3_vfs* real_ = nullptr;
    static inline sqlite3_io_methods methods_{};
    static inline Mode mode_ = Mode::Pass;
    static inline int writesLeft_ = 0;
    static inline int pipe_ = -1;
    static inline int writes_ = 0;
};

}  // namespace cifrano::testing
