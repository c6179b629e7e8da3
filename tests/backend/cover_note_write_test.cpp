#include "backend/result_codes.h"
#include "base/date_format.h"
#include "base/separators.h"
#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

constexpr std::string_view kWriteAdmin = "KivoGIUWR.CoverNote.WriteAdmin";

// Saves go through the record the screen builds from what it read: the first
// 168 reply positions, with the two the save always sends empty.
class WriteAdminTest : public BackendTest {
 protected:
  std::vector<std::string> ReadRecord(const std::string& number) {
    const Result read =
        Run("KivoGIUWR.CoverNote.ReadAdmin", Params({number, "HQ001", "0"}));
    EXPECT_EQ(read.status, 0) << number;
    return SaveRecord(read.reply);
  }
  Result Write(const std::string& user, const std::string& read_number,
               const std::string& new_number, const std::vector<std::string>& record) {
    return Run(kWriteAdmin, Params({user, read_number, new_number, JoinFields(record)}));
  }
  std::string Stored(const std::string& column, const std::string& number = "CN24000101") {
    return Query("SELECT " + column + " FROM cover_note WHERE cover_note_no = '" + number + "'");
  }
};

TEST_F(WriteAdminTest, SavedAmendmentIsReadBackAndAudited) {
  auto record = ReadRecord("CN24000101");
  record[48] = "1,500.00";  // tariff premium as the screen formats it
  record[3] = "AHMAD FAIZAL BIN ISMAIL JR";
  record[14] = "LOADING WAIVED BY ADMIN";
  ASSERT_EQ(Write("ADMIN", "CN24000101", "CN24000101", record).status, write_admin::kSaved);

  const auto again = ReadRecord("CN24000101");
  EXPECT_EQ(again[48], "1500.00");
  EXPECT_EQ(again[3], "AHMAD FAIZAL BIN ISMAIL JR");
  EXPECT_EQ(again[0], record[0].substr(0, record[0].find('.')) + ".2");
  EXPECT_EQ(again[61], record[61]);  // named drivers kept
  EXPECT_EQ(Stored("amended_by"), "ADMIN");

  EXPECT_EQ(Query("SELECT user_id || ' ' || document_no || ' ' || version_before || '>' || "
                  "version_after FROM amendment"),
            "ADMIN CN24000101 1>2");
  EXPECT_EQ(Query("SELECT group_concat(field || '=' || before_value || '>' || after_value, '; ') "
                  "FROM (SELECT * FROM amendment_change ORDER BY field) AS changed"),
            "client_name=AHMAD FAIZAL BIN ISMAIL>AHMAD FAIZAL BIN ISMAIL JR; "
            "remark=REFERRED: YOUNG NAMED DRIVER>LOADING WAIVED BY ADMIN; "
            "tariff_premium=1522.00>1500.00");
}

TEST_F(WriteAdminTest, HistoryListsEachSavedAmendmentNewestFirstWithItsPremium) {
  auto record = ReadRecord("CN24000101");
  record[24] = "1900.00";
  ASSERT_EQ(Write("ADMIN", "CN24000101", "CN24000101", record).status, write_admin::kSaved);
  record = ReadRecord("CN24000101");
  record[14] = "SECOND LOOK";
  ASSERT_EQ(Write("SUPERVISOR", "CN24000101", "CN24000101", record).status, write_admin::kSaved);

  const auto rows = Records(Run("KivoGIUWR.CoverNote.History", Params({"cn24000101", "HQ001"})).reply);
  ASSERT_EQ(rows.size(), 2u);
  // Newest first: version, saved at, user, total premium before and after, and the change.
  const std::string now = FormatDateTime(clock_.Now());
  EXPECT_EQ(Fields(rows[0]), (std::vector<std::string>{"3", now, "SUPERVISOR", "1900.00", "1900.00", "14",
                                                       "REFERRED: YOUNG NAMED DRIVER", "SECOND LOOK"}));
  EXPECT_EQ(Fields(rows[1])[3] + ">" + Fields(rows[1])[4], "1868.39>1900.00");
  EXPECT_EQ(Run("KivoGIUWR.CoverNote.History", Params({"CN99999999", "HQ001"})).status, 1);
  EXPECT_EQ(Run("KivoGIUWR.CoverNote.History", Params({"CN24000101", "B3001"})).status, 2);
  EXPECT_EQ(Run("KivoGIUWR.CoverNote.History", "CN24000101").status, -1);
}

struct StatusCase {
  const char* user;
  const char* read_number;
  const char* new_number;
  std::int32_t status;
};

TEST_F(WriteAdminTest, StatusesForCoverNotesThatMayNotBeSaved) {
  const auto record = ReadRecord("CN24000101");
  const StatusCase cases[] = {
      {"", "CN24000101", "CN24000101", write_admin::kIncomplete},
      {"NOBODY", "CN24000101", "CN24000101", write_admin::kIncomplete},
      {"ADMIN", "CN24000113", "CN24000113", write_admin::kUploaded},
      {"ADMIN", "CN24000103", "CN24000103", write_admin::kNotAmendable},  // issued
      {"ADMIN", "CN24000111", "CN24000111", write_admin::kNotAmendable},  // submitted
      {"BORNEO01", "CN24000101", "CN24000101", write_admin::kOtherAgent},
      {"ADMIN", "CN24000117", "CN24000117", write_admin::kExpired},
      {"ADMIN", "CN00000000", "CN00000000", write_admin::kNotFound},
      {"ADMIN", "CN24000101", "CN24000102", write_admin::kNumberTaken},
      {"ADMIN", "CN24000102", "CN24000102", write_admin::kChangedSinceRead},  // another's key
  };
  for (const StatusCase& c : cases) {
    EXPECT_EQ(Write(c.user, c.read_number, c.new_number, record).status, c.status)
        << c.user << " " << c.read_number << " " << c.new_number;
  }
  EXPECT_EQ(Query("SELECT count(*) FROM amendment"), "0");
  EXPECT_EQ(Query("SELECT max(version) FROM cover_note"), "1");
}

TEST_F(WriteAdminTest, LoadingSetByAHigherAuthorityStays) {
  auto record = ReadRecord("CN24000116");
  ASSERT_EQ(record[50], "25.00");
  EXPECT_EQ(Write("TERATAI01", "CN24000116", "CN24000116", record).status,
            write_admin::kSaved);  // loading untouched
  record = ReadRecord("CN24000116");
  record[50] = "10.00";
  EXPECT_EQ(Write("TERATAI01", "CN24000116", "CN24000116", record).status,
            write_admin::kLoadingLocked);
  EXPECT_EQ(Write("ADMIN", "CN24000116", "CN24000116", record).status,
            write_admin::kLoadingLocked);
  EXPECT_EQ(Write("SUPERVISOR", "CN24000116", "CN24000116", record).status, write_admin::kSaved);
  EXPECT_EQ(Stored("load_percentage", "CN24000116"), "100000");
}

TEST_F(WriteAdminTest, RenumberingMovesTheCoverNote) {
  const auto record = ReadRecord("CN24000101");
  ASSERT_EQ(Write("ADMIN", "cn24000101", "cn24000199", record).status, write_admin::kSaved);
  EXPECT_EQ(Run("KivoGIUWR.CoverNote.ReadAdmin", Params({"CN24000101", "A1001", "0"})).status,
            1);
  EXPECT_EQ(Field(Run("KivoGIUWR.CoverNote.ReadAdmin",
                      Params({"CN24000199", "A1001", "0"})).reply, 1),
            "CN24000199");
}

TEST_F(WriteAdminTest, RowsAreReplacedByTheSavedLists) {
  auto record = ReadRecord("CN24000101");
  const std::string one_driver[] = {"THE INSURED"};
  record[61] = one_driver[0];
  for (const int list : {102, 103, 104, 116, 119, 120, 121}) {
    record[list] = ListValues(record[list])[0];
  }
  record[62] = record[63] = record[64] = record[65] = "";
  record[141] = "01-Feb-2025";
  record[142] = "WQK 4521";
  record[143] = "SURIA TAKAFUL BERHAD";
  record[144] = "WINDSCREEN";
  record[145] = "450.00";
  ASSERT_EQ(Write("ADMIN", "CN24000101", "CN24000101", record).status, write_admin::kSaved);
  const auto again = ReadRecord("CN24000101");
  EXPECT_EQ(ListValues(again[61]), std::vector<std::string>{"THE INSURED"});
  EXPECT_EQ(ListValues(again[120]), std::vector<std::string>{"01-Mar-1999"});
  EXPECT_EQ(again[62], "");
  EXPECT_EQ(again[141], "01-Feb-2025");
  EXPECT_EQ(again[145], "450.00");
  EXPECT_EQ(Query("SELECT after_value FROM amendment_change WHERE field = 'driver.name'"),
            "THE INSURED");
}

}  // namespace
}  // namespace cn::backend::testing
