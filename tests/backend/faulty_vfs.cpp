#include "faulty_vfs.h"

#include <stdexcept>

namespace cn::backend::testing {
namespace {

// A file is the default file system's own, followed by this.
struct Tail {
  FaultyVfs* disk;
  const sqlite3_io_methods* real;
};
Tail& TailOf(sqlite3_file* file) {
  static const int real_size = sqlite3_vfs_find("unix")->szOsFile;
  return *reinterpret_cast<Tail*>(reinterpret_cast<char*>(file) + real_size);
}

int Read(sqlite3_file* file, void* data, int amount, sqlite3_int64 offset) {
  const Tail& tail = TailOf(file);
  return tail.disk->Fails() ? SQLITE_IOERR_READ : tail.real->xRead(file, data, amount, offset);
}
int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
  const Tail& tail = TailOf(file);
  return tail.disk->Fails() ? SQLITE_IOERR_WRITE : tail.real->xWrite(file, data, amount, offset);
}
int Sync(sqlite3_file* file, int flags) {
  const Tail& tail = TailOf(file);
  return tail.disk->Fails() ? SQLITE_IOERR_FSYNC : tail.real->xSync(file, flags);
}

int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* out_flags) {
  FaultyVfs& disk = *static_cast<FaultyVfs*>(vfs->pAppData);
  const int code = disk.real()->xOpen(disk.real(), name, file, flags, out_flags);
  if (code == SQLITE_OK && file->pMethods != nullptr) disk.Adopt(file);
  return code;
}

}  // namespace

FaultyVfs::FaultyVfs() {
  real_ = sqlite3_vfs_find("unix");
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

void FaultyVfs::Adopt(sqlite3_file* file) {
  auto [wrapped, added] = methods_.try_emplace(file->pMethods, *file->pMethods);
  if (added) {
    wrapped->second.xRead = Read;
    wrapped->second.xWrite = Write;
    wrapped->second.xSync = Sync;
    // No memory-mapped reads: every read goes through Read, where it can fail.
    wrapped->second.xFetch = [](sqlite3_file*, sqlite3_int64, int, void** out) {
      *out = nullptr;
      return SQLITE_OK;
    };
    wrapped->second.xUnfetch = [](sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; };
  }
  TailOf(file) = Tail{this, file->pMethods};
  file->pMethods = &wrapped->second;
}

void FaultyVfs::FailAt(int n, bool persistent) {
  countdown_ = n;
  persistent_ = persistent;
  if (n > 0) hit_ = false;
}

bool FaultyVfs::Fails() {
  if (countdown_ <= 0 || --countdown_ > 0) return false;
  hit_ = true;
  if (persistent_) countdown_ = 1;
  return true;
}

}  // namespace cn::backend::testing
