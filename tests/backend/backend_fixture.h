#pragma once
// A seeded back end on a database of its own, removed after the test: a SQLite file,
// or, with COVERNOTE_TEST_STORE=postgres, a database created for the test on the server
// at COVERNOTE_TEST_POSTGRES (skipped, saying so, when that is not set).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../base/temp_folder.h"
#include "backend/backend.h"
#include "base/clock.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend::testing {

inline constexpr std::string_view kReadAdmin = "KivoGIUWR.CoverNote.ReadAdmin";
inline constexpr std::string_view kWriteAdmin = "KivoGIUWR.CoverNote.WriteAdmin";

// One value read back from a database, or "<no row>".
inline std::string One(Database& db, std::string_view sql) {
  Statement& statement = db.Prepare(sql);
  return statement.Step() ? statement.Text(0) : std::string("<no row>");
}

class BackendTest : public ::testing::Test {
 protected:
  ~BackendTest() override;
  void SetUp() override;

  // True when the test runs against PostgreSQL.
  static bool OnServer();
  // Another empty store of this test's (a file beside path_, or a new database).
  std::string FreshStore(const std::string& name);

  Result Run(std::string_view command, std::string_view parameters = {}) {
    return backend_->Execute(command, parameters);
  }
  std::string Query(const std::string& sql) { return One(backend_->database(), sql); }
  // A column of a stored cover note.
  std::string Stored(const std::string& column, const std::string& number = "CN24000101") {
    return Query("SELECT " + column + " FROM cover_note WHERE cover_note_no = '" + number + "'");
  }

  const cn::testing::TempFolder folder_{"covernote-backend"};
  const std::filesystem::path& directory_ = folder_.path;
  std::filesystem::path path_;  // the store's address: a file, or a postgresql:// address
  std::vector<std::string> server_databases_;
  FixedClock clock_{SystemClock().Now()};
  std::unique_ptr<Backend> backend_;
};

// Parameters joined by U+FFFB; a reply or record split at U+FFFE, records at U+FFFF, a list
// at U+FFFD.
using Texts = std::vector<std::string>;
inline std::string Params(const Texts& values) { return Join(values, ParamSeparator); }
inline Texts Fields(std::string_view text) { return Split(text, FieldSeparator); }
inline Texts Records(std::string_view text) { return Split(text, RecordSeparator); }
inline Texts ListValues(std::string_view text) { return Split(text, DialogArgSeparator); }
inline std::string JoinFields(const Texts& fields) { return Join(fields, FieldSeparator); }
// Field n of a reply, or "<none>" when the reply is shorter.
inline std::string Field(std::string_view text, std::size_t n) {
  const auto fields = Fields(text);
  return n < fields.size() ? fields[n] : std::string("<none>");
}
// The fields with the given positions changed.
using Changes = std::vector<std::pair<int, std::string>>;
inline Texts With(Texts fields, const Changes& changes) {
  for (const auto& [at, value] : changes) fields.at(static_cast<std::size_t>(at)) = value;
  return fields;
}
// The parameters of a ReadAdmin, and of a WriteAdmin saving `record` over what was read.
inline std::string ReadAdminParams(const std::string& number = "CN24000101",
                                   const std::string& agent = "A1001") {
  return Params({number, agent, "0"});
}
inline std::string SaveParams(const std::vector<std::string>& record,
                              const std::string& user = "ADMIN",
                              const std::string& read_number = "CN24000101",
                              const std::string& new_number = "") {
  return Params(
      {user, read_number, new_number.empty() ? read_number : new_number, JoinFields(record)});
}
// The record a save sends from a ReadAdmin reply: its first 168 fields, the two the save
// always sends empty cleared.
Texts SaveRecord(std::string_view read_reply);
// The record a client write sends from a client read reply.
Texts ClientWriteRecord(std::string_view read_reply);
// Rating factors of a sample private car for "Tarvin.Premium.ComputeV10",
// "Tarvin.Premium.ComputeV10Ex" and "Tarvin.Premium.Compute".
Texts V10Factors();
Texts V10ExFactors();
Texts NewTariffFactors();
}  // namespace cn::backend::testing
