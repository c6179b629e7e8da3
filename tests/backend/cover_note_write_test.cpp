#include "backend/endorsements.h"
#include "backend/result_codes.h"
#include "backend_fixture.h"
#include "base/date_format.h"

namespace cn::backend::testing {
namespace {

// Saves go through the record the screen builds from what it read: the first
// 168 reply positions, with the two the save always sends empty.
class WriteAdminTest : public BackendTest {
 protected:
  Texts ReadRecord(const std::string& number = "CN24000101") {
    const Result read = Run(kReadAdmin, ReadAdminParams(number, "HQ001"));
    EXPECT_EQ(read.status, 0) << number;
    return SaveRecord(read.reply);
  }
  std::int32_t Write(const Texts& record, const std::string& user = "ADMIN",
                     const std::string& read_number = "CN24000101",
                     const std::string& new_number = "") {
    return Run(kWriteAdmin, SaveParams(record, user, read_number, new_number)).status;
  }
};

TEST_F(WriteAdminTest, SavedAmendmentIsReadBackAndAudited) {
  // The tariff premium as the screen formats it.
  const auto record =
      With(ReadRecord(),
           {{3, "AHMAD FAIZAL BIN ISMAIL JR"}, {14, "LOADING WAIVED BY ADMIN"}, {48, "1,500.00"}});
  ASSERT_EQ(Write(record), write_admin::kSaved);
  const auto again = ReadRecord();
  EXPECT_EQ(again[48] + " " + again[3], "1500.00 AHMAD FAIZAL BIN ISMAIL JR");
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
  ASSERT_EQ(Write(With(ReadRecord(), {{24, "1900.00"}})), write_admin::kSaved);
  ASSERT_EQ(Write(With(ReadRecord(), {{14, "SECOND LOOK"}}), "SUPERVISOR"), write_admin::kSaved);
  const auto history = [&](const Texts& parameters) {
    return Run("KivoGIUWR.CoverNote.History", Params(parameters));
  };
  const auto rows = Records(history({"cn24000101", "HQ001"}).reply);
  ASSERT_EQ(rows.size(), 2u);
  // Newest first: version, saved at, user, total premium before and after, the change, and
  // the endorsement the save made.
  EXPECT_EQ(Fields(rows[0]),
            (std::vector<std::string>{"3", FormatDateTime(clock_.Now()), "SUPERVISOR", "1900.00",
                                      "1900.00", "14", "REFERRED: YOUNG NAMED DRIVER",
                                      "SECOND LOOK", "CN24000101/E3"}));
  EXPECT_EQ(Fields(rows[1])[3] + ">" + Fields(rows[1])[4] + " " + Fields(rows[1])[8],
            "1868.39>1900.00 CN24000101/E2");
  EXPECT_EQ(history({"CN99999999", "HQ001"}).status, 1);
  EXPECT_EQ(history({"CN24000101", "B3001"}).status, 2);
  EXPECT_EQ(history({"CN24000101"}).status, -1);
}

TEST_F(WriteAdminTest, EachSaveKeepsAnEndorsementThatOnlyItsAgentAndTheHeadOfficeRead) {
  const Result saved = Run(kWriteAdmin, SaveParams(With(ReadRecord(), {{24, "1900.00"}})));
  ASSERT_EQ(saved.status, write_admin::kSaved);
  const Texts made = Fields(saved.reply);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0], "CN24000101/E2");
  const auto read = [&](std::string_view number, std::optional<std::string_view> agent) {
    return ReadEndorsement(backend_->database(), number, agent);
  };
  const EndorsementLookup kept = read("cn24000101/e2", "A1001");
  ASSERT_EQ(kept.access, EndorsementAccess::kFound);
  EXPECT_TRUE(kept.endorsement.pdf.starts_with("%PDF-")) << kept.endorsement.pdf.substr(0, 8);
  EXPECT_EQ(kept.endorsement.digest, made[1]);
  EXPECT_EQ(read("CN24000101/E2", "HQ001").access, EndorsementAccess::kFound);
  EXPECT_EQ(read("CN24000101/E2", "A2001").access, EndorsementAccess::kOtherAgent);
  EXPECT_EQ(read("CN24000101/E2", std::nullopt).access, EndorsementAccess::kFound);
  EXPECT_EQ(read("CN24000101/E9", "HQ001").access, EndorsementAccess::kNotFound);

  // A PDF changed behind the back end's back is not handed out as the one made at the save.
  backend_->database().ExecuteScript("UPDATE endorsement SET digest = 'x' || digest");
  EXPECT_THROW(read("CN24000101/E2", "HQ001"), RuntimeFailure);
}

TEST_F(WriteAdminTest, StatusesForCoverNotesThatMayNotBeSaved) {
  namespace wa = write_admin;
  const auto record = ReadRecord();
  // 103 is issued and 111 submitted; 102 is read under another's key.
  // clang-format off
  const struct {
    const char *user, *read_number, *new_number;
    std::int32_t status;
  } cases[] = {
      {"", "CN24000101", "", wa::kIncomplete}, {"NOBODY", "CN24000101", "", wa::kIncomplete},
      {"ADMIN", "CN24000113", "", wa::kUploaded}, {"ADMIN", "CN24000103", "", wa::kNotAmendable},
      {"ADMIN", "CN24000111", "", wa::kNotAmendable}, {"BORNEO01", "CN24000101", "", wa::kOtherAgent},
      {"ADMIN", "CN24000117", "", wa::kExpired}, {"ADMIN", "CN00000000", "", wa::kNotFound},
      {"ADMIN", "CN24000102", "", wa::kChangedSinceRead}, {"ADMIN", "CN24000101", "CN24000102", wa::kNumberTaken}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(Write(record, c.user, c.read_number, c.new_number), c.status)
        << c.user << c.read_number;
  EXPECT_EQ(Query("SELECT count(*) || ' ' || (SELECT max(version) FROM cover_note) || ' ' || "
                  "(SELECT count(*) FROM endorsement) FROM amendment"),
            "0 1 0");
}

TEST_F(WriteAdminTest, LoadingSetByAHigherAuthorityStays) {
  auto record = ReadRecord("CN24000116");
  ASSERT_EQ(record[50], "25.00");
  EXPECT_EQ(Write(record, "TERATAI01", "CN24000116"), write_admin::kSaved);  // loading untouched
  record = With(ReadRecord("CN24000116"), {{50, "10.00"}});
  for (const auto& [user, status] : {std::pair{"TERATAI01", write_admin::kLoadingLocked},
                                     {"ADMIN", write_admin::kLoadingLocked},
                                     {"SUPERVISOR", write_admin::kSaved}}) {
    EXPECT_EQ(Write(record, user, "CN24000116"), status) << user;
  }
  EXPECT_EQ(Stored("load_percentage", "CN24000116"), "100000");
}

TEST_F(WriteAdminTest, RenumberingMovesTheCoverNote) {
  ASSERT_EQ(Write(ReadRecord(), "ADMIN", "cn24000101", "cn24000199"), write_admin::kSaved);
  EXPECT_EQ(Run(kReadAdmin, ReadAdminParams()).status, 1);
  EXPECT_EQ(Field(Run(kReadAdmin, ReadAdminParams("CN24000199")).reply, 1), "CN24000199");
}

TEST_F(WriteAdminTest, RowsAreReplacedByTheSavedLists) {
  // One named driver, none of the other list rows, and a claim.
  // clang-format off
  auto record = With(ReadRecord(), {{61, "THE INSURED"}, {62, ""}, {63, ""}, {64, ""}, {65, ""},
                                    {141, "01-Feb-2025"}, {142, "WQK 4521"}, {144, "WINDSCREEN"},
                                    {143, "SURIA TAKAFUL BERHAD"}, {145, "450.00"}});
  // clang-format on
  for (const int list : {102, 103, 104, 116, 119, 120, 121})
    record[list] = ListValues(record[list])[0];
  ASSERT_EQ(Write(record), write_admin::kSaved);
  const auto again = ReadRecord();
  EXPECT_EQ(ListValues(again[61]), std::vector<std::string>{"THE INSURED"});
  EXPECT_EQ(ListValues(again[120]), std::vector<std::string>{"01-Mar-1999"});
  EXPECT_EQ(again[62] + "|" + again[141] + "|" + again[145], "|01-Feb-2025|450.00");
  EXPECT_EQ(Query("SELECT after_value FROM amendment_change WHERE field = 'driver.name'"),
            "THE INSURED");
}

}  // namespace
}  // namespace cn::backend::testing
