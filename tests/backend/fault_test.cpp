#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include "backend/result_codes.h"
#include "backend_fixture.h"
#include "base/date_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "faulty_vfs.h"

namespace cn::backend::testing {
namespace {

class FaultTest : public BackendTest {
 protected:
  std::vector<std::string> ReadRecord() {
    return SaveRecord(Run(kReadAdmin, ReadAdminParams()).reply);
  }
  void ExpectNothingWritten() {
    EXPECT_EQ(Stored("version") + " " + Query("SELECT count(*) FROM amendment") + " " +
                  Query("SELECT count(*) FROM cover_note_driver d JOIN cover_note n "
                        "ON n.id = d.cover_note_id WHERE n.cover_note_no = 'CN24000101'"),
              "1 0 3");  // version, amendments, drivers
  }
};

TEST_F(FaultTest, MalformedParametersAreRefusedWithoutWriting) {
  // clang-format off
  const std::string field(FieldSeparator), record_sep(RecordSeparator);
  const auto save = [&](const Changes& c) { return SaveParams(With(ReadRecord(), c)); };
  const auto v10_with = [](const Changes& c) { return Params({JoinFields(With(V10Factors(), c)), "0"}); };
  const auto nt = [](const Changes& c) { return JoinFields(With(NewTariffFactors(), c)); };
  const auto shorter = [](std::vector<std::string> fields) { fields.pop_back(); return fields; };
  const std::string v10ex = JoinFields(V10ExFactors()), v10_previous = JoinFields(std::vector<std::string>(57)),
                    nt_previous = JoinFields(std::vector<std::string>(51));
  const std::string_view v10 = "Tarvin.Premium.ComputeV10", v10ex_command = "Tarvin.Premium.ComputeV10Ex";
  // Saves with a bad capacity, issue date, year made, name (a separator in it, too long)
  // and flag; current-tariff requests without the closing "0", short, with a bad sum insured,
  // date, class, cover or a separator in a value.
  const std::pair<std::string_view, std::string> cases[] = {
      {kReadAdmin, "CN24000101"}, {kReadAdmin, Params({"CN24000101", "A1001", "0", "extra"})},
      {kReadAdmin, ReadAdminParams("CN24000101" + field)}, {kReadAdmin, ReadAdminParams(std::string(101, '9'))},
      {kWriteAdmin, Params({"ADMIN", "CN24000101", "CN24000101"})},
      {kWriteAdmin, SaveParams(shorter(ReadRecord()))},  {kWriteAdmin, save({{41, "ABC"}})},
      {kWriteAdmin, save({{2, "not a date"}})}, {kWriteAdmin, save({{38, "19X9"}})},
      {kWriteAdmin, save({{3, "NAME" + record_sep}})}, {kWriteAdmin, save({{132, "maybe"}})},
      {kWriteAdmin, save({{3, std::string(201, 'A')}})},
      {"KivoGlobal.Client.Write", Params({"C0000101", "ADMIN", "too" + field + "short"})},
      {"KivoInsurance.Maintenance.ReadSystemParameterByCode", "11x7"},
      {"KivoInsurance.Find.FindSystemDateTime", "now"}, {"KivoGlobal.Client.Find", "one"},
      {"Tarvin.Find.FindVehicleModel", "TRM"}, {"KivoGlobal.Client.Read", ""},
      {"KivoGIUWR.CoverNote.Enquire", Params({"COLOUR", "RED", "A1001"})},
      {v10, JoinFields(V10Factors())}, {v10, Params({JoinFields(shorter(V10Factors())), "0"})},
      {v10, v10_with({{5, "fifty thousand"}})}, {v10, v10_with({{8, "30-Feb-2026"}})},
      {v10, v10_with({{0, "ZZ9"}})}, {v10, v10_with({{1, "77"}})}, {v10, v10_with({{47, "A" + record_sep}})},
      {v10ex_command, Params({v10_previous, v10ex, "01-Mar-2026"})},
      {v10ex_command, Params({v10_previous, v10ex, "01-Mar-2026", "7"})},
      {v10ex_command, Params({v10_previous, v10ex, "2026-03-01", "0"})},
      {"Tarvin.Premium.Compute", Params({nt({{19, "2.5"}}), "0"})},  // NCD years
      {"Tarvin.Premium.Compute", Params({nt({{4, "PC1" + std::string(DialogArgSeparator)}}), "0"})},
      {"Tarvin.Premium.ComputeEx", Params({nt_previous, nt({{0, ""}}), "01-Mar-2026", "2"})},
      {"Tarvin.Premium.ComputeEx", Params({v10_previous, nt({{0, ""}}), "01-Mar-2026", "0"})},
      {"Tarvin.Premium.ComputeEx", Params({nt_previous, nt({{7, ""}}), "01-Mar-2026", "0"})}};
  for (const auto& [command, parameters] : cases)
    EXPECT_EQ(Run(command, parameters), (Result{"", status::kMalformedParameters})) << command << Len(parameters);
  // clang-format on
  ExpectNothingWritten();
}

// Another server's save holds the write lock past this one's patience: the save fails
// (a timeout, never a hang), reads go on, and the next save after the lock works.
TEST_F(FaultTest, LockedDatabaseFailsTheSaveAndLeavesNoTrace) {
  Backend::Options options;
  options.busy_timeout = std::chrono::milliseconds(50);
  Backend impatient(OnServer() ? path_.string() + "&statement_timeout=300" : path_.string(), clock_,
                    options);
  const auto save = SaveParams(ReadRecord());
  {
    const auto other = OpenDatabase(path_);
    Transaction lock(*other, Transaction::Kind::kImmediate);
    EXPECT_THROW(impatient.Execute(kWriteAdmin, save), StoreFailure);
    EXPECT_EQ(impatient.Execute(kReadAdmin, ReadAdminParams()).status, 0);  // readers go on
  }
  ExpectNothingWritten();
  EXPECT_EQ(impatient.Execute(kWriteAdmin, save).status, 0);
}

TEST_F(FaultTest, ReadOnlyDatabaseServesReadsAndFailsWrites) {
  backend_.reset();
  Backend::Options options;
  options.access = Database::Access::kReadOnly;
  {
    Backend read_only(path_, clock_, options);
    const Result read = read_only.Execute(kReadAdmin, ReadAdminParams());
    ASSERT_EQ(Fields(read.reply).size(), 178U);
    try {
      read_only.Execute(kWriteAdmin, SaveParams(With(SaveRecord(read.reply), {{48, "999.00"}})));
      ADD_FAILURE() << "a read-only database accepted a save";
    } catch (const StoreFailure& failure) {
      EXPECT_NE(failure.number(), 0);
      EXPECT_EQ(failure.source(), "backend store");
    }
  }
  backend_ = std::make_unique<Backend>(path_, clock_);
  ExpectNothingWritten();
}

TEST_F(FaultTest, AFullDatabaseFailsTheSaveAndKeepsTheLastGoodOne) {
  if (OnServer()) GTEST_SKIP() << "a SQLite file's own fault";
  // Let the file grow by a few pages only, then amend until a save no longer fits.
  const auto pages = std::stoll(Query("PRAGMA page_count"));
  backend_->database().ExecuteScript("PRAGMA max_page_count = " + std::to_string(pages + 3) + ";");
  const auto state = [&] {
    return Stored("version") + " " + Query("SELECT count(*) FROM amendment");
  };
  std::string before_failure;
  bool full = false;
  for (int attempt = 0; attempt < 200 && !full; ++attempt) {
    const std::string remark(180, static_cast<char>('A' + attempt % 26));
    before_failure = state();
    try {
      const auto record = With(ReadRecord(), {{14, remark + std::to_string(attempt)}});
      ASSERT_EQ(Run(kWriteAdmin, SaveParams(record)).status, 0);
    } catch (const StoreFailure& failure) {
      EXPECT_EQ(failure.number() & 0xFF, 13) << failure.Text();  // SQLITE_FULL
      full = true;
    }
  }
  ASSERT_TRUE(full) << "the database never filled up";
  // The failed save left nothing behind: the cover note is as the last good save made it.
  EXPECT_EQ(state(), before_failure);
}

// Every row of every table, in one text, once the file's integrity is checked: what a command that
// failed must leave as it found.
std::string Contents(const std::filesystem::path& path) {
  SqliteDatabase db(path);
  EXPECT_EQ(One(db, "PRAGMA integrity_check"), "ok") << path;
  std::string contents;
  const std::string tables =
      "SELECT group_concat(name, ',') FROM sqlite_master WHERE type = 'table'";
  for (const auto& table : Split(One(db, tables), ",")) {
    Statement& rows = db.Prepare("SELECT * FROM \"" + table + "\" ORDER BY rowid");
    while (rows.Step()) {
      for (int column = 0; column < rows.ColumnCount(); ++column)
        contents += rows.Text(column) + '\x1f';
      contents += '\n';
    }
  }
  return contents;
}

TEST_F(FaultTest, AFailedReadWriteOrSyncLeavesTheDatabaseIntactAndAsItWas) {
  if (OnServer()) GTEST_SKIP() << "a SQLite file's own fault";
  const auto client = ClientWriteRecord(Run("KivoGlobal.Client.Read", "C0000104").reply);
  const std::pair<std::string_view, std::string> commands[] = {
      {kWriteAdmin, SaveParams(With(ReadRecord(), {{14, "AMENDED ON A FAILING DISK"}}))},
      {"KivoGlobal.Client.Write",
       Params({"C0000104", "ADMIN", JoinFields(With(client, {{17, "failing.disk@example.my"}}))})},
  };
  backend_.reset();
  SqliteDatabase(path_).ExecuteScript("PRAGMA wal_checkpoint(TRUNCATE);");
  const auto pristine = directory_ / "pristine.db", work = directory_ / "work.db";
  std::filesystem::copy_file(path_, pristine);
  const std::string before = Contents(pristine);
  for (const auto& [command, parameters] : commands) {
    for (const bool persistent : {false, true}) {
      std::vector<std::pair<int, std::string>> failed;  // the first fault, the contents after it
      for (int n = 1;; ++n) {
        SCOPED_TRACE(std::string(command) + (persistent ? " failing from I/O " : " failing I/O ") +
                     std::to_string(n));
        ASSERT_LT(n, 2000);
        for (const char* suffix : {"", "-wal", "-shm"})
          std::filesystem::remove(work.string() + suffix);
        std::filesystem::copy_file(pristine, work);
        FaultyVfs disk;
        bool reported_failure = true;
        {
          Backend backend(work, clock_);
          disk.FailAt(n, persistent);
          try {
            reported_failure = backend.Execute(command, parameters).status != 0;
          } catch (const StoreFailure&) {
          }
          disk.FailAt(0);
        }
        const std::string after = Contents(work);
        if (!disk.Hit()) {
          ASSERT_GT(n, 1) << "the faulty disk never failed";
          ASSERT_FALSE(reported_failure);
          ASSERT_NE(after, before);
          // A fault the command did not report came after its commit: the save is whole.
          for (const auto& [fault, contents] : failed)
            EXPECT_EQ(contents, after) << "I/O " << fault;
          break;
        }
        if (reported_failure) {
          ASSERT_EQ(after, before);
        } else {
          failed.emplace_back(n, after);
        }
      }
    }
  }
}

// The child of the crash test: saves the cover note again and again, each time with its next
// version in the remark, and tells the parent every version whose save was acknowledged.
[[noreturn]] void SaveUntilKilled(const std::filesystem::path& path, const Clock& clock,
                                  const int (&channel)[2]) {
  ::close(channel[0]);
  const int acknowledged = channel[1];
  Backend backend(path, clock);
  for (;;) {
    auto fields = SaveRecord(backend.Execute(kReadAdmin, ReadAdminParams()).reply);
    const std::int32_t next = std::stoi(fields[0].substr(fields[0].find('.') + 1)) + 1;
    fields[14] = "SAVE " + std::to_string(next);
    const Result saved = backend.Execute(kWriteAdmin, SaveParams(fields));
    if (saved.status != 0 || ::write(acknowledged, &next, sizeof next) != sizeof next) ::_exit(3);
  }
}

TEST_F(FaultTest, AKilledWriterLeavesAnIntactDatabaseWithEverySaveItAcknowledged) {
  if (OnServer()) GTEST_SKIP() << "a SQLite file's own fault";
  backend_.reset();
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::int32_t last_acknowledged = 1;
  for (int kill = 0; kill < 200; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveUntilKilled(path_, clock_, channel);
    ::close(channel[1]);
    // Once the writer is saving, kill it at a random moment among its next few saves.
    std::int32_t version = 0;
    const bool saving = ::read(channel[0], &version, sizeof version) == sizeof version;
    if (saving) {
      last_acknowledged = version;
      std::this_thread::sleep_for(
          std::chrono::microseconds(std::uniform_int_distribution(0, 20000)(random)));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(saving && WIFSIGNALED(status)) << "the writer stopped by itself";
    while (::read(channel[0], &version, sizeof version) == sizeof version)
      last_acknowledged = version;
    ::close(channel[0]);

    SqliteDatabase db(path_);
    ASSERT_EQ(One(db, "PRAGMA integrity_check"), "ok");
    const std::int32_t stored =
        std::stoi(One(db, "SELECT version FROM cover_note WHERE cover_note_no = 'CN24000101'"));
    // Every acknowledged save is there; at most one more, committed just before the kill.
    ASSERT_GE(stored, last_acknowledged);
    ASSERT_LE(stored, last_acknowledged + 1);
    EXPECT_EQ(One(db, "SELECT remark FROM cover_note WHERE cover_note_no = 'CN24000101'"),
              stored > 1 ? "SAVE " + std::to_string(stored) : "REFERRED: YOUNG NAMED DRIVER");
    ASSERT_EQ(One(db, "SELECT count(*) FROM amendment"), std::to_string(stored - 1));
    last_acknowledged = stored;
  }
}

TEST(OpenFailure, AMissingDirectoryIsAStoreFailure) {
  FixedClock clock(DateTime{});
  EXPECT_THROW(Backend("/nonexistent-directory/covernote.db", clock), StoreFailure);
}

// Two servers on one database: the second save from the same read is refused, whichever
// store holds the cover note, naming who saved it since, and when.
TEST_F(FaultTest, TheSecondServersSaveFromTheSameReadIsRefused) {
  Backend other_server(path_, clock_);
  const auto record = ReadRecord();
  EXPECT_EQ(Run(kWriteAdmin, SaveParams(With(record, {{48, "999.00"}}))).status, 0);
  EXPECT_EQ(other_server.Execute(kWriteAdmin, SaveParams(record)),
            (Result{JoinFields({"ADMIN", FormatDateTime(clock_.Now())}),
                    write_admin::kChangedSinceRead}));
  EXPECT_EQ(
      Stored("version || ' ' || tariff_premium") + " " + Query("SELECT count(*) FROM amendment"),
      "2 9990000 1");
}

// A server that stops fails the command at once with the store's failure, and the same back
// end serves the next command once the server is back, without being opened again.
TEST_F(FaultTest, AStoppedServerFailsTheCommandAndTheNextOneWorksWhenItIsBack) {
  if (!OnServer()) GTEST_SKIP() << "a server's fault";
  // A cluster of its own, on a short path: a socket's path may not be long.
  const std::string cluster = "/tmp/cn-pg-" + std::to_string(::getpid());
  const std::string script = std::string(COVERNOTE_TEST_DATA) + "/../../scripts/pg-cluster ";
  const std::string port = "COVERNOTE_PG_PORT=" + std::to_string(55000 + ::getpid() % 1000) + " ";
  struct Removal {  // the cluster goes however the test ends
    std::string command;
    ~Removal() { std::system(command.c_str()); }
  } const removal{script + "remove " + cluster + " >/dev/null 2>&1"};
  FILE* started = ::popen((port + script + "start " + cluster).c_str(), "r");
  char address[512] = {};
  const bool read = std::fgets(address, sizeof address, started) != nullptr;
  if (::pclose(started) != 0 || !read) GTEST_SKIP() << "no cluster of its own could be started";
  const auto pg = [&](const char* action) {
    return std::system((port + script + action + " " + cluster + " >/dev/null").c_str());
  };
  Backend backend(Trim(address), clock_);
  const auto read_admin = [&] { return backend.Execute(kReadAdmin, ReadAdminParams()).status; };
  ASSERT_EQ(read_admin(), 0);
  ASSERT_EQ(pg("stop"), 0);
  const auto before = std::chrono::steady_clock::now();
  const auto unavailable = [&] {  // what the screen and the login tell apart from a refusal
    try {
      read_admin();
    } catch (const StoreFailure& failure) {
      return failure.Unavailable();
    }
    return false;
  };
  EXPECT_TRUE(unavailable());
  EXPECT_TRUE(unavailable());
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
  ASSERT_EQ(pg("start"), 0);
  EXPECT_EQ(read_admin(), 0);
  // Restarted while the back end lay idle: not even the first command fails.
  ASSERT_EQ(pg("stop") + pg("start"), 0);
  EXPECT_EQ(read_admin(), 0);
}

// A newer server adds a column while this one runs: one command fails, then this server
// reads the table as it now is, without a restart.
TEST_F(FaultTest, AColumnAddedByAnotherServerCostsOneCommandAtMost) {
  if (!OnServer()) GTEST_SKIP() << "a server's prepared statements";
  ASSERT_EQ(Run(kReadAdmin, ReadAdminParams()).status, 0);
  OpenDatabase(path_)->ExecuteScript("ALTER TABLE cover_note ADD COLUMN added_later TEXT");
  try {
    Run(kReadAdmin, ReadAdminParams());
  } catch (const StoreFailure&) {
  }
  EXPECT_EQ(Fields(Run(kReadAdmin, ReadAdminParams()).reply).size(), 178U);
}

// What an operator reads when the address is wrong: the kind of fault, never a socket path.
TEST_F(FaultTest, AnUnreachableServerAndARefusedLoginAreToldApart) {
  if (!OnServer()) GTEST_SKIP() << "a server's fault";
  const std::string test_server = std::getenv("COVERNOTE_TEST_POSTGRES");
  const struct {
    std::string address;
    int code;
    std::string says;
  } cases[] = {
      {"postgresql://covernote@/postgres?host=/nonexistent&port=1", store_code::kUnreachable,
       "The database server cannot be reached at the local socket port 1"},
      {"postgresql://nobody_here@" + test_server.substr(test_server.find('@') + 1),
       store_code::kLoginRefused, "refused the login of user \"nobody_here\""},
  };
  for (const auto& c : cases) {
    try {
      Backend backend(c.address, clock_);
      ADD_FAILURE() << c.address << " opened";
    } catch (const StoreFailure& failure) {
      EXPECT_EQ(failure.number(), c.code) << c.address;
      EXPECT_NE(failure.description().find(c.says), std::string::npos) << failure.description();
    }
  }
}

}  // namespace
}  // namespace cn::backend::testing
