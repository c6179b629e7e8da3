#include "faulty_vfs.h"

#include <stdexcept>

namespace cn::backend::testing {

FaultyVfs::Tail& FaultyVfs::TailOf(sqlite3_file* file) {
  static const int real_size = sqlite3_vfs_find("unix")->szOsFile;
  return *reinterpret_cast<Tail*>(reinterpret_cast<char*>(file) + real_size);
}

// A read, write or sync: failed when its turn has come, else the default file system's.
template <auto kMethod, int kError, typename... Args>
int FaultyVfs::Faulty(sqlite3_file* file, Args... args) {
  const Tail& tail = TailOf(file);
  FaultyVfs& disk = *tail.disk;
  if (disk.countdown_ > 0 && --disk.countdown_ == 0) {
    disk.hit_ = true;
    if (disk.persistent_) disk.countdown_ = 1;
    return kError;
  }
  return (tail.real->*kMethod)(file, args...);
}

// Puts each file the default file system opens under this one's methods.
int FaultyVfs::Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* out) {
  FaultyVfs& disk = *static_cast<FaultyVfs*>(vfs->pAppData);
  const int code = disk.real_->xOpen(disk.real_, name, file, flags, out);
  if (code != SQLITE_OK || file->pMethods == nullptr) return code;
  auto [wrapped, added] = disk.methods_.try_emplace(file->pMethods, *file->pMethods);
  if (added) {
    using M = sqlite3_io_methods;
    wrapped->second.xRead = Faulty<&M::xRead, SQLITE_IOERR_READ, void*, int, sqlite3_int64>;
    wrapped->second.xWrite =
        Faulty<&M::xWrite, SQLITE_IOERR_WRITE, const void*, int, sqlite3_int64>;
    wrapped->second.xSync = Faulty<&M::xSync, SQLITE_IOERR_FSYNC, int>;
    // No memory-mapped reads: every read goes through xRead, where it can fail.
    wrapped->second.xFetch = [](sqlite3_file*, sqlite3_int64, int, void** out) {
      *out = nullptr;
      return SQLITE_OK;
    };
    wrapped->second.xUnfetch = [](sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; };
  }
  TailOf(file) = Tail{&disk, file->pMethods};
  file->pMethods = &wrapped->second;
  return code;
}

FaultyVfs::FaultyVfs() : real_(sqlite3_vfs_find("unix")) {
  if (real_ == nullptr || real_ != sqlite3_vfs_find(nullptr))
    throw std::runtime_error("no default unix file system");
  vfs_ = *real_;
  vfs_.szOsFile = real_->szOsFile + static_cast<int>(sizeof(Tail));
  vfs_.pNext = nullptr;
  vfs_.zName = "covernote-faulty";
  vfs_.pAppData = this;
  vfs_.xOpen = Open;
  if (sqlite3_vfs_register(&vfs_, 1) != SQLITE_OK)
    throw std::runtime_error("the faulty file system was refused");
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

}  // namespace cn::backend::testing
