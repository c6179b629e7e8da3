#include "app/server_keys.h"

#include <sodium.h>

#include <stdexcept>
#include <vector>

namespace cn::app {
namespace {

std::string Hex(const std::string& bytes) {
  std::vector<char> hex(2 * bytes.size() + 1);
  sodium_bin2hex(hex.data(), hex.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                 bytes.size());
  return std::string(hex.data(), 2 * bytes.size());
}

std::string Bytes(const std::string& hex, std::size_t bytes) {
  std::string out(bytes, '\0');
  std::size_t length = 0;
  if (sodium_hex2bin(reinterpret_cast<unsigned char*>(out.data()), out.size(), hex.data(),
                     hex.size(), nullptr, &length, nullptr) != 0 ||
      length != bytes) {
    throw std::runtime_error("the stored server key is damaged");
  }
  return out;
}

}  // namespace

std::string ServerKey(components::SharedBackend& backend, std::string_view name,
                      std::size_t bytes) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
  return backend.WithDatabase([&](backend::Database& db) {
    // A write transaction: two servers starting together make one key, not two.
    backend::Transaction making(db, backend::Transaction::Kind::kImmediate);
    backend::Statement& read = db.Prepare("SELECT value FROM server_key WHERE name = ?1");
    read.Bind(1, name);
    std::string stored = read.Step() ? read.Text(0) : "";
    read.Reset();
    if (stored.empty()) {
      std::string fresh(bytes, '\0');
      randombytes_buf(fresh.data(), fresh.size());
      stored = Hex(fresh);
      db.Prepare("INSERT INTO server_key (name, value) VALUES (?1, ?2)")
          .Bind(1, name)
          .Bind(2, std::string_view(stored))
          .Run();
    }
    making.Commit();
    return Bytes(stored, bytes);
  });
}

}  // namespace cn::app
