#pragma once
// A seeded back end on a database of its own, removed after the test: a SQLite file,
// or, with COVERNOTE_TEST_STORE=postgres, a database created for the test on the server
// at COVERNOTE_TEST_POSTGRES (skipped, saying so, when that is not set).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "base/clock.h"

namespace cn::backend::testing {

class BackendTest : public ::testing::Test {
 protected:
  BackendTest();
  ~BackendTest() override;
  void SetUp() override;

  // True when the test runs against PostgreSQL.
  static bool OnServer();
  // Another empty store of this test's (a file beside path_, or a new database).
  std::string FreshStore(const std::string& name);

  Result Run(std::string_view command, std::string_view parameters = {}) {
    return backend_->Execute(command, parameters);
  }
  // One value read back from the database.
  std::string Query(const std::string& sql);

  std::filesystem::path directory_;
  std::filesystem::path path_;  // the store's address: a file, or a postgresql:// address
  std::vector<std::string> server_databases_;
  FixedClock clock_;
  std::unique_ptr<Backend> backend_;
};

// Values joined by U+FFFB.
std::string Params(const std::vector<std::string>& values);
// A reply or record split at U+FFFE / records at U+FFFF / a list at U+FFFD.
std::vector<std::string> Fields(std::string_view text);
std::vector<std::string> Records(std::string_view text);
std::vector<std::string> ListValues(std::string_view text);
std::string JoinFields(const std::vector<std::string>& fields);
// The record a save sends from a ReadAdmin reply: its first 168 fields, the two the save
// always sends empty cleared.
std::vector<std::string> SaveRecord(std::string_view read_reply);
// The record a client write sends from a client read reply.
std::vector<std::string> ClientWriteRecord(std::string_view read_reply);
// Field n of a reply, or "<none>" when the reply is shorter.
std::string Field(std::string_view text, std::size_t n);
// Rating factors of a sample private car for "Tarvin.Premium.ComputeV10" and
// "Tarvin.Premium.Compute".
std::vector<std::string> V10Factors();
std::vector<std::string> V10ExFactors();
std::vector<std::string> NewTariffFactors();
}  // namespace cn::backend::testing
