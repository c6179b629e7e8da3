#include "backend_fixture.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "backend/store_address.h"

namespace cn::backend::testing {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The server address with another database name in place of the one it names.
std::string WithDatabase(const std::string& address, const std::string& name) {
  const auto start = address.find('/', address.find("://") + 3);
  const auto end = address.find('?');
  return address.substr(0, start) + "/" + name +
         (end == std::string::npos ? std::string() : address.substr(end));
}

}  // namespace

bool BackendTest::OnServer() { return Environment("COVERNOTE_TEST_STORE") == "postgres"; }

void BackendTest::SetUp() {
  if (OnServer() && Environment("COVERNOTE_TEST_POSTGRES").empty())
    GTEST_SKIP() << "PostgreSQL half skipped: no test server (COVERNOTE_TEST_POSTGRES unset)";
  path_ = FreshStore("covernote.db");
  backend_ = std::make_unique<Backend>(path_, clock_);
}

std::string BackendTest::FreshStore(const std::string& name) {
  if (!OnServer()) return (directory_ / name).string();
  static std::atomic<int> counter{0};
  const std::string admin = Environment("COVERNOTE_TEST_POSTGRES");
  const std::string database =
      "cn_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
  OpenDatabase(admin)->ExecuteScript("CREATE DATABASE " + database);
  server_databases_.push_back(database);
  return WithDatabase(admin, database);
}

BackendTest::~BackendTest() {
  backend_.reset();
  if (server_databases_.empty()) return;
  const auto admin = OpenDatabase(Environment("COVERNOTE_TEST_POSTGRES"));
  for (const std::string& database : server_databases_)
    admin->ExecuteScript("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)");
}

std::vector<std::string> SaveRecord(std::string_view read_reply) {
  auto fields = Fields(read_reply);
  fields.resize(168);
  fields[152] = fields[153] = "";
  return fields;
}

std::vector<std::string> ClientWriteRecord(std::string_view read_reply) {
  const auto read = Fields(read_reply);
  std::vector<std::string> client(23);
  client[0] = read.at(18);
  for (int i = 1; i <= 17; ++i) client[i] = read[i];
  return client;
}

// A private car, comprehensive, in the peninsula: 1468 cc, sum insured 50,000, six
// years old, a driver of forty with twenty years' licence, no claims, no NCD; one value
// per position, from 0.
std::vector<std::string> V10Factors() {
  return Split(
      "PC1,01,A1001,1468,C,50000,0,,01-Mar-2026,28-Feb-2027,0,40,20,2020,-1,0,,,,P,,-1,0,5,,,,,,,,"
      "6,10,,,N,W,,,,,,-1,,,50000,M,,,,6",
      ",");
}

// The same car as the amended cover of "Tarvin.Premium.ComputeV10Ex".
std::vector<std::string> V10ExFactors() {
  return Split(
      ",P,PC1,01,A1001,01-Mar-2026,28-Feb-2027,0,0,50000,,2020,1468,C,5,0,1,0,,1,,,,,,,6,10,0,40,"
      "20,,W,,,,01,,,50000,M,,,,6",
      ",");
}

// The same car for the new tariff, in Kuala Lumpur, of a make rated 95.
std::vector<std::string> NewTariffFactors() {
  return Split(
      ",P,14,M,PC1,01,01-Mar-2026,28-Feb-2027,0,0,,,50000,,TRM,2020,1468,C,5,0,,1,,,,,,,6,10,,W,N,"
      ",,50000,40,0,0,20,,,,6",
      ",");
}

}  // namespace cn::backend::testing
