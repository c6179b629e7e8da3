// The back end's commands one request and one answer at a time, on the sample database; the
// replies the screen reads at start-up and on opening a note are pinned by the scenarios.
#include "backend/result_codes.h"
#include "backend_fixture.h"
#include "base/date_reader.h"
#include "base/text.h"

namespace cn::backend::testing {
namespace {

// How a row's expected text is compared with the reply.
enum Match : int { kExact = -1, kHasRecord = -2, kRecordCount = -3, kStatusOnly = -4 };

using CommandTest = BackendTest;

TEST_F(CommandTest, EachCommandAnswersWithItsStatusAndReply) {
  clock_.Set(*ReadDateTime("29-Feb-2024 01:05:09 PM"));
  const std::int32_t refused = status::kMalformedParameters;
  const struct {
    std::string_view command;
    const char* parameters;  // separated by "|"
    std::int32_t status;
    int match = kExact;  // a Match, or the number of the one field compared
    std::string expected = "";
  } cases[] = {
      // clang-format off
      // Lists: entries whole, of one width each; an unknown list number or class is refused.
      {"KivoInsurance.Find.Browse", "1", 0, kHasRecord, "M01\ufffeBANK CENDANA BERHAD"},
      {"Tarvin.Find.Browse", "6|CV3", 0, kHasRecord, "13\ufffeHAULAGE OF TRAILERS\ufffeG\ufffe1"},
      {"TarvinBS.Find.FindExtendedCoverDetails", "PC1|03", 0, kHasRecord,
       "007\ufffeADDITIONAL NAMED DRIVERS\ufffe0.00\ufffe10.00\ufffe0.00\ufffeF"},
      {"Tarvin.Find.FindExtendedCoverDetails", "PC1|03", 0, kRecordCount, "3"}, {"Tarvin.Find.BrowseUOM", "XX", 0},
      {"KivoInsurance.Find.Browse", "99", refused}, {"KivoInsurance.Find.Browse", "", refused},
      {"Tarvin.Find.Browse", "6", refused}, {"Tarvin.Find.FindMotorClass", "3", refused},
      {"Tarvin.Find.FindExtendedCoverDetails", "PC1", refused}, {"KivoGlobal.Client.Find", "4", refused},
      // Look-ups.
      {"KivoInsurance.Find.FindPostCodeDetails", "99999", 0},
      {"KivoInsurance.Find.FindSystemDateTime", "", 0, kExact, "29-Feb-2024 01:05:09 PM"},
      {"KivoInsurance.Maintenance.ReadSystemParameterByCode", "4242", 1},
      {"KivoInsurance.Validation.VehicleModel", "TARUMA", 1, kStatusOnly},
      {"Tarvin.Find.FindVehicleModel", "TRM|", kTooManyMatches},
      {"Tarvin.Find.FindVehicleModel", "TRM|iswara 1.3", 0, kRecordCount, "2"},
      {"Tarvin.Find.FindVehicleModel", "TRM|iswara 1.3", 0, 2, "1299.00"},
      {"Tarvin.Find.FindVehicleModel", "KJG|BUS", 0}, {"Tarvin.Find.GetScopeOfCover", "03", 3},
      {"Tarvin.Find.GetScopeOfCover", "77", 0},
      {"Tarvin.Premium.GetMotorTariffRegionByAgentCode", "A2001", 0, kExact, "E"},
      {"Tarvin.Premium.GetMotorTariffRegionByAgentCode", "ZZZ", 0},
      // Clients: by identity number with or without dashes, or by passport.
      {"KivoGlobal.Client.Read", "C9999999", client_status::kNotFound},
      {"KivoGlobal.Client.Validate", "AHMAD''S|800111-01-1123", 0, kRecordCount, "1"},
      {"KivoGlobal.Client.Validate", "AHMAD''S|800111011123", 0, kRecordCount, "1"},
      {"KivoGlobal.Client.Validate", "AHMAD''S|800111011123", 0, 0, "C0000101"},
      {"KivoGlobal.Client.Validate", "|JM0123456-X", 0, 0, "C0000202"},
      {"KivoGlobal.Client.Validate", "NEW|010101-01-0101", 0}, {"KivoGlobal.Client.Validate", "NEW|--", 0},
      // Cover notes: the number in any case; head office sees every agent's note.
      {kReadAdmin, "cn24000101|A1001|0", read_admin::kAmendable, kStatusOnly},
      {kReadAdmin, "CN24000109|HQ001|0", read_admin::kAmendable, kStatusOnly},
      {"KivoGIUWR.CoverNote.Read", "CN00000000|A1001|1", 1}, {"Tarvin.Policy.Read", "VPC0000000|A1001|1", 1},
      // The enquiry by name matches any part of it in any case.
      {"KivoGIUWR.CoverNote.Enquire", "NAME|tan mei|A1001", 0, kRecordCount, "6"},
      {"KivoGIUWR.CoverNote.Enquire", "NAME|Mei Ling|A1001", 0, kRecordCount, "6"},
      // An unknown command, in any spelling, is a status and not a failure.
      {"KivoGIUWR.CoverNote.Delete", "CN24000101", status::kUnknownCommand}, {"", "", status::kUnknownCommand},
      {"kivogiuwr.covernote.readadmin", "CN24000101|A1001|0", status::kUnknownCommand, kStatusOnly},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.parameters);
    const Result result = Run(c.command, Params(Split(c.parameters, "|")));
    EXPECT_EQ(result.status, c.status);
    const auto records = Records(result.reply);
    std::string actual = c.match == kStatusOnly ? c.expected : result.reply;
    if (c.match == kRecordCount) actual = std::to_string(records.size());
    if (c.match >= 0) actual = Field(result.reply, static_cast<std::size_t>(c.match));
    if (c.match == kHasRecord) {
      for (const auto& entry : records) EXPECT_EQ(Fields(entry).size(), Fields(c.expected).size());
      actual = std::count(records.begin(), records.end(), c.expected) > 0 ? c.expected : "";
    }
    EXPECT_EQ(actual, c.expected);
  }
}

TEST_F(CommandTest, ClientWriteKeepsIdentityAsReadAndAuditsTheContactChange) {
  const auto client = With(ClientWriteRecord(Run("KivoGlobal.Client.Read", "C0000104").reply),
                           {{13, ""}, {16, "0119998888"}, {17, "aisyah.new@example.my"}});
  const std::string write = Params({"C0000104", "ADMIN", JoinFields(client)});
  ASSERT_EQ(Run("KivoGlobal.Client.Write", write), (Result{}));
  const auto read = Fields(Run("KivoGlobal.Client.Read", "C0000104").reply);
  EXPECT_EQ(read[3] + " " + read[17], "990302-14-7820 aisyah.new@example.my");
  EXPECT_EQ(Query("SELECT group_concat(field, ',') FROM (SELECT field FROM amendment_change "
                  "ORDER BY field) AS changed") +
                " " + Query("SELECT document_kind || ' ' || document_no || ' ' || user_id FROM amendment"),
            "email,mobile_tel client C0000104 ADMIN");
  // The same copy again is a write from a stale read.
  EXPECT_EQ(Run("KivoGlobal.Client.Write", write), (Result{"", client_status::kChangedSinceRead}));
}

// The values whose text depends on the store: on either store they read back the same.
TEST_F(CommandTest, StoredTypesReadBackInTheScreensForms) {
  const auto fields = Fields(Run(kReadAdmin, ReadAdminParams()).reply);
  ASSERT_EQ(fields.size(), 178U);
  EXPECT_EQ(fields[0], Stored("id") + ".1");
  EXPECT_TRUE(ReadDateTime(fields[2]));
  EXPECT_EQ(fields[2].size(), std::string("05-Mar-2014 09:35:00 AM").size());
  EXPECT_EQ(ListValues(fields[65]), (std::vector<std::string>{"225.00", "10.00"}));
  // An amount, a flag, no claims.
  EXPECT_EQ(fields[32] + " " + fields[132] + " " + fields[141], "48000.00 False ");
  // The placeholder vehicle number is the system code's.
  EXPECT_EQ(Field(Run(kReadAdmin, ReadAdminParams("CN24000108")).reply, 25), "TBA");
}

}  // namespace
}  // namespace cn::backend::testing
