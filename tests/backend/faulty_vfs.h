#pragma once
// A failing disk for the store's tests: a SQLite file system over the default one that fails
// the Nth read, write or sync after it is armed, once or from then on. It is the default file
// system while it lives, so every connection opened meanwhile goes through it.

#include <sqlite3.h>

#include <map>

namespace cn::backend::testing {

class FaultyVfs {
 public:
  FaultyVfs();
  FaultyVfs(const FaultyVfs&) = delete;
  FaultyVfs& operator=(const FaultyVfs&) = delete;
  ~FaultyVfs();

  // The nth read, write or sync from now fails; with `persistent`, every one after it too.
  // 0 disarms, keeping Hit().
  void FailAt(int n, bool persistent = false);
  // Whether an armed failure happened.
  bool Hit() const { return hit_; }

 private:
  // What a file of the default file system is followed by.
  struct Tail {
    FaultyVfs* disk;
    const sqlite3_io_methods* real;
  };
  static Tail& TailOf(sqlite3_file* file);
  template <auto kMethod, int kError, typename... Args>
  static int Faulty(sqlite3_file* file, Args... args);
  static int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* out);

  sqlite3_vfs vfs_{};
  sqlite3_vfs* real_ = nullptr;
  // The default's method tables, each with its reads, writes and syncs made to fail.
  std::map<const sqlite3_io_methods*, sqlite3_io_methods> methods_;
  int countdown_ = 0;
  bool persistent_ = false;
  bool hit_ = false;
};

}  // namespace cn::backend::testing
