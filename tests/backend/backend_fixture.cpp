#include "backend_fixture.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "backend/store_address.h"
#include "base/separators.h"
#include "base/text.h"

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

BackendTest::BackendTest() : clock_(SystemClock().Now()) {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  directory_ = std::filesystem::temp_directory_path() /
               ("covernote-backend-" + std::to_string(::getpid()) + "-" +
                std::to_string(counter++) + "-" + info->name());
  std::filesystem::create_directories(directory_);
}

void BackendTest::SetUp() {
  if (OnServer() && Environment("COVERNOTE_TEST_POSTGRES").empty()) {
    GTEST_SKIP() << "PostgreSQL half skipped: no test server (COVERNOTE_TEST_POSTGRES unset)";
  }
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
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
  if (server_databases_.empty()) return;
  const auto admin = OpenDatabase(Environment("COVERNOTE_TEST_POSTGRES"));
  for (const std::string& database : server_databases_) {
    admin->ExecuteScript("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)");
  }
}

std::string BackendTest::Query(const std::string& sql) {
  Statement& statement = backend_->database().Prepare(sql);
  return statement.Step() ? statement.Text(0) : std::string("<no row>");
}

std::string Params(const std::vector<std::string>& values) { return Join(values, ParamSeparator); }
std::vector<std::string> Fields(std::string_view text) { return Split(text, FieldSeparator); }
std::vector<std::string> Records(std::string_view text) { return Split(text, RecordSeparator); }
std::vector<std::string> ListValues(std::string_view text) {
  return Split(text, DialogArgSeparator);
}
std::string JoinFields(const std::vector<std::string>& fields) {
  return Join(fields, FieldSeparator);
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

std::string Field(std::string_view text, std::size_t n) {
  const auto fields = Fields(text);
  return n < fields.size() ? fields[n] : std::string("<none>");
}

namespace {

// `count` empty fields but those given.
std::vector<std::string> Filled(std::size_t count,
                                std::initializer_list<std::pair<int, const char*>> values) {
  std::vector<std::string> fields(count);
  for (const auto& [position, value] : values) fields[static_cast<std::size_t>(position)] = value;
  return fields;
}

}  // namespace

// A private car, comprehensive, in the peninsula: 1468 cc, sum insured 50,000, six
// years old, a driver of forty with twenty years' licence, no claims, no NCD.
std::vector<std::string> V10Factors() {
  return Filled(
      51,
      {{0, "PC1"},    {1, "01"},          {2, "A1001"},       {3, "1468"}, {4, "C"},   {5, "50000"},
       {6, "0"},      {8, "01-Mar-2026"}, {9, "28-Feb-2027"}, {10, "0"},   {11, "40"}, {12, "20"},
       {13, "2020"},  {14, "-1"},         {15, "0"},          {19, "P"},   {21, "-1"}, {22, "0"},
       {23, "5"},     {31, "6"},          {32, "10"},         {35, "N"},   {36, "W"},  {42, "-1"},
       {45, "50000"}, {46, "M"},          {50, "6"}});
}

// The same car as the amended cover of "Tarvin.Premium.ComputeV10Ex".
std::vector<std::string> V10ExFactors() {
  return Filled(45, {{1, "P"},           {2, "PC1"}, {3, "01"}, {4, "A1001"}, {5, "01-Mar-2026"},
                     {6, "28-Feb-2027"}, {7, "0"},   {8, "0"},  {9, "50000"}, {11, "2020"},
                     {12, "1468"},       {13, "C"},  {14, "5"}, {15, "0"},    {16, "1"},
                     {17, "0"},          {19, "1"},  {26, "6"}, {27, "10"},   {28, "0"},
                     {29, "40"},         {30, "20"}, {32, "W"}, {36, "01"},   {39, "50000"},
                     {40, "M"},          {44, "6"}});
}

// The same car for the new tariff, in Kuala Lumpur, of a make rated 95.
std::vector<std::string> NewTariffFactors() {
  return Filled(
      44,
      {{1, "P"},           {2, "14"},  {3, "M"},  {4, "PC1"},    {5, "01"},   {6, "01-Mar-2026"},
       {7, "28-Feb-2027"}, {8, "0"},   {9, "0"},  {12, "50000"}, {14, "TRM"}, {15, "2020"},
       {16, "1468"},       {17, "C"},  {18, "5"}, {19, "0"},     {21, "1"},   {28, "6"},
       {29, "10"},         {31, "W"},  {32, "N"}, {35, "50000"}, {36, "40"},  {37, "0"},
       {38, "0"},          {39, "20"}, {43, "6"}});
}

}  // namespace cn::backend::testing
