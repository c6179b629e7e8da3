#include "faulty_vfs.h"

#include <stdexcept>

namespace cn::backend::testing {
namespace {

struct FaultyFile {
  sqlite3_file base;
  FaultyVfs* owner;
  sqlite3_file* real;  // the default file system's file, right after this one
};

FaultyFile& Of(sqlite3_file* file) { return *reinterpret_cast<FaultyFile*>(file); }
sqlite3_file* Real(sqlite3_file* file) { return Of(file).real; }
FaultyVfs& Owner(sqlite3_vfs* vfs) { return *static_cast<FaultyVfs*>(vfs->pAppData); }
sqlite3_vfs* RealVfs(sqlite3_vfs* vfs) { return Owner(vfs).real(); }

int Close(sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); }
int Read(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
  if (Of(f).owner->Fails()) return SQLITE_IOERR_READ;
  return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int Write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
  if (Of(f).owner->Fails()) return SQLITE_IOERR_WRITE;
  return Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) { return Real(f)->pMethods->xTruncate(Real(f), size); }
int Sync(sqlite3_file* f, int flags) {
  if (Of(f).owner->Fails()) return SQLITE_IOERR_FSYNC;
  return Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) { return Real(f)->pMethods->xFileSize(Real(f), size); }
int Lock(sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); }
int Unlock(sqlite3_file* f, int level) { return Real(f)->pMethods->xUnlock(Real(f), level); }
int CheckReservedLock(sqlite3_file* f, int* out) { return Real(f)->pMethods->xCheckReservedLock(Real(f), out); }
int FileControl(sqlite3_file* f, int op, void* arg) { return Real(f)->pMethods->xFileControl(Real(f), op, arg); }
int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); }
int ShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
  return Real(f)->pMethods->xShmMap(Real(f), region, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) { return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags); }
void ShmBarrier(sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); }
int ShmUnmap(sqlite3_file* f, int remove) { return Real(f)->pMethods->xShmUnmap(Real(f), remove); }
// No memory-mapped reads: every read goes through Read, where it can fail.
int Fetch(sqlite3_file*, sqlite3_int64, int, void** out) {
  *out = nullptr;
  return SQLITE_OK;
}
int Unfetch(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

constexpr sqlite3_io_methods kMethods = {.iVersion = 3,
                                         .xClose = Close,
                                         .xRead = Read,
                                         .xWrite = Write,
                                         .xTruncate = Truncate,
                                         .xSync = Sync,
                                         .xFileSize = FileSize,
                                         .xLock = Lock,
                                         .xUnlock = Unlock,
                                         .xCheckReservedLock = CheckReservedLock,
                                         .xFileControl = FileControl,
                                         .xSectorSize = SectorSize,
                                         .xDeviceCharacteristics = DeviceCharacteristics,
                                         .xShmMap = ShmMap,
                                         .xShmLock = ShmLock,
                                         .xShmBarrier = ShmBarrier,
                                         .xShmUnmap = ShmUnmap,
                                         .xFetch = Fetch,
                                         .xUnfetch = Unfetch};

int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* out_flags) {
  auto& faulty = Of(file);
  faulty.owner = &Owner(vfs);
  faulty.real = reinterpret_cast<sqlite3_file*>(&faulty + 1);
  const int code = RealVfs(vfs)->xOpen(RealVfs(vfs), name, faulty.real, flags, out_flags);
  faulty.base.pMethods = code == SQLITE_OK ? &kMethods : nullptr;
  return code;
}

}  // namespace

FaultyVfs::FaultyVfs() {
  real_ = sqlite3_vfs_find(nullptr);
  if (real_ == nullptr) throw std::runtime_error("no default SQLite file system");
  vfs_ = *real_;
  vfs_.iVersion = 2;
  vfs_.szOsFile = static_cast<int>(sizeof(FaultyFile)) + real_->szOsFile;
  vfs_.pNext = nullptr;
  vfs_.zName = "covernote-faulty";
  vfs_.pAppData = this;
  vfs_.xOpen = Open;
  vfs_.xDelete = [](sqlite3_vfs* v, const char* name, int sync) { return RealVfs(v)->xDelete(RealVfs(v), name, sync); };
  vfs_.xAccess = [](sqlite3_vfs* v, const char* name, int flags, int* out) {
    return RealVfs(v)->xAccess(RealVfs(v), name, flags, out);
  };
  vfs_.xFullPathname = [](sqlite3_vfs* v, const char* name, int size, char* out) {
    return RealVfs(v)->xFullPathname(RealVfs(v), name, size, out);
  };
  vfs_.xRandomness = [](sqlite3_vfs* v, int size, char* out) { return RealVfs(v)->xRandomness(RealVfs(v), size, out); };
  vfs_.xSleep = [](sqlite3_vfs* v, int micros) { return RealVfs(v)->xSleep(RealVfs(v), micros); };
  vfs_.xCurrentTime = [](sqlite3_vfs* v, double* out) { return RealVfs(v)->xCurrentTime(RealVfs(v), out); };
  vfs_.xGetLastError = [](sqlite3_vfs* v, int size, char* out) { return RealVfs(v)->xGetLastError(RealVfs(v), size, out); };
  vfs_.xCurrentTimeInt64 = [](sqlite3_vfs* v, sqlite3_int64* out) {
    return RealVfs(v)->xCurrentTimeInt64(RealVfs(v), out);
  };
  if (sqlite3_vfs_register(&vfs_, 1) != SQLITE_OK) throw std::runtime_error("the faulty file system was refused");
}

FaultyVfs::~FaultyVfs() {
  sqlite3_vfs_unregister(&vfs_);
  sqlite3_vfs_register(real_, 1);
}

void FaultyVfs::FailAt(int n, bool persistent) {
  countdown_ = n;
  persistent_ = persistent;
  if (n > 0) hit_ = false;
}

bool FaultyVfs::Fails() {
  if (countdown_ <= 0) return false;
  if (--countdown_ > 0) return false;
  hit_ = true;
  if (persistent_) countdown_ = 1;
  return true;
}

}  // namespace cn::backend::testing
