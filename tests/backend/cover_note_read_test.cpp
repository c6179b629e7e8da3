#include "backend/result_codes.h"
#include "base/date_reader.h"
#include "base/separators.h"
#include "base/text.h"
#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

constexpr std::string_view kReadAdmin = "KivoGIUWR.CoverNote.ReadAdmin";

class ReadAdminTest : public BackendTest {
 protected:
  Result ReadAdmin(const std::string& number, const std::string& agent = "A1001") {
    return Run(kReadAdmin, Params({number, agent, "0"}));
  }
};

struct CodeCase {
  const char* number;
  const char* agent;
  std::int32_t code;
};

TEST_F(ReadAdminTest, ResultCodeFollowsTheStoredState) {
  const CodeCase cases[] = {
      {"CN24000101", "A1001", read_admin::kAmendable},
      {"cn24000101", "A1001", read_admin::kAmendable},
      {"CN24000103", "A1001", read_admin::kAmendable},  // issued: readable, not savable
      {"CN99999999", "A1001", read_admin::kNotFound},
      {"CN24000109", "A1001", read_admin::kOtherAgent},
      {"CN24000109", "HQ001", read_admin::kAmendable},  // head office sees every agent's
      {"CN24000110", "A1001", read_admin::kMissing},
      {"CN24000111", "A1001", read_admin::kSubmitted},
      {"CN24000112", "A1001", read_admin::kUnused},
      {"CN24000113", "A1001", read_admin::kUploaded},
      {"CN24000114", "A1001", read_admin::kVoided},
  };
  for (const CodeCase& c : cases) {
    const Result result = ReadAdmin(c.number, c.agent);
    EXPECT_EQ(result.status, c.code) << c.number << " for " << c.agent;
    EXPECT_EQ(result.reply.empty(), c.code != read_admin::kAmendable) << c.number;
  }
}

TEST_F(ReadAdminTest, ReplyCarriesTheCoverNoteInItsPositions) {
  const Result result = ReadAdmin("CN24000101");
  ASSERT_EQ(result.status, 0);
  const auto fields = Fields(result.reply);
  ASSERT_EQ(fields.size(), 178U);
  EXPECT_EQ(fields[0], Query("SELECT id FROM cover_note WHERE cover_note_no = 'CN24000101'") + ".1");
  EXPECT_EQ(fields[1], "CN24000101");
  const auto issued = ReadDateTime(fields[2]);
  ASSERT_TRUE(issued);
  EXPECT_EQ(fields[2].size(), std::string("05-Mar-2014 09:35:00 AM").size());
  EXPECT_EQ(fields[3], "AHMAD FAIZAL BIN ISMAIL");
  EXPECT_EQ(Split(fields[4], "\r\n").size(), 2U);
  EXPECT_EQ(fields[15], "P");
  EXPECT_EQ(fields[16], "800111-01-1123");
  EXPECT_EQ(fields[20], "01");
  EXPECT_EQ(fields[25], "WQK 4521");
  EXPECT_EQ(fields[27], "PC1");
  EXPECT_EQ(fields[32], "48000.00");
  EXPECT_EQ(fields[48], "1522.00");  // the tariff's, as its recompute test proves
  EXPECT_EQ(fields[41], "1468.00");
  EXPECT_EQ(ListValues(fields[61]),
            (std::vector<std::string>{"THE INSURED", "NUR AMIRA BINTI AHMAD FAIZAL",
                                      "AHMAD ZAKI BIN ISMAIL"}));
  EXPECT_EQ(ListValues(fields[102]).size(), 3U);
  EXPECT_EQ(ListValues(fields[116])[1], "DAUGHTER");
  EXPECT_EQ(ListValues(fields[62]), (std::vector<std::string>{"089", "007"}));
  EXPECT_EQ(ListValues(fields[65]), (std::vector<std::string>{"225.00", "10.00"}));
  EXPECT_EQ(fields[66], "R");
  EXPECT_EQ(fields[67], "N");
  EXPECT_EQ(fields[132], "False");
  EXPECT_EQ(fields[141], "");  // no claims
  EXPECT_EQ(fields[113], "C0000101");
  EXPECT_EQ(fields[177], "PJY");
}

TEST_F(ReadAdminTest, ClaimsAndPreviousInsurerOfARenewal) {
  const auto fields = Fields(ReadAdmin("CN24000102").reply);
  ASSERT_EQ(fields.size(), 178U);
  EXPECT_EQ(fields[15], "C");
  EXPECT_EQ(fields[96], "3");
  EXPECT_EQ(fields[132], "True");
  EXPECT_EQ(fields[134], "PERMATA GENERAL ASSURANCE BERHAD");
  EXPECT_EQ(ListValues(fields[141]), (std::vector<std::string>{"14-Feb-2024", "03-Sep-2024"}));
  EXPECT_EQ(ListValues(fields[145]), (std::vector<std::string>{"8450.00", "3200.00"}));
  EXPECT_EQ(fields[94], "2");
}

TEST_F(ReadAdminTest, PlaceholderVehicleNumberIsTheSystemCode) {
  const auto codes = Records(Run("KivoInsurance.Find.Browse", "2").reply);
  std::string placeholder;
  for (const auto& entry : codes) {
    if (Fields(entry)[0] == "1031") placeholder = Fields(entry)[1];
  }
  ASSERT_FALSE(placeholder.empty());
  EXPECT_EQ(Field(ReadAdmin("CN24000108").reply, 25), placeholder);
}

TEST_F(ReadAdminTest, TransferReadsItsPreviousPolicyInTwoParts) {
  const auto note = Fields(ReadAdmin("CN24000104").reply);
  ASSERT_EQ(note[67], "T");
  const Result policy = Run("Tarvin.Policy.Read", Params({note[68], "A1001", "1"}));
  ASSERT_EQ(policy.status, 0);
  const auto parts = Split(policy.reply, ParamSeparator);
  ASSERT_EQ(parts.size(), 2U);
  EXPECT_EQ(Fields(parts[0])[0], "VPC2300011");
  const auto fields = Fields(parts[1]);
  ASSERT_EQ(fields.size(), 103U);
  EXPECT_EQ(fields[2], "TAN MEI LING");
  EXPECT_EQ(fields[24], "WXY 2288");
  EXPECT_EQ(fields[28], "PC1");
  EXPECT_TRUE(ReadDate(fields[29]));
  EXPECT_EQ(fields[35], "55000.00");
  EXPECT_EQ(ListValues(fields[74]).size(), 2U);
  EXPECT_EQ(ListValues(fields[75]), (std::vector<std::string>{"089", "007"}));
  EXPECT_EQ(fields[98], "C0000102");
  EXPECT_EQ(fields[102], "WHITE");
}

TEST_F(ReadAdminTest, ExtensionReadsItsPreviousCoverNote) {
  const auto note = Fields(ReadAdmin("CN24000105").reply);
  ASSERT_EQ(note[67], "E");
  const Result previous = Run("KivoGIUWR.CoverNote.Read", Params({note[68], "A1001", "1"}));
  ASSERT_EQ(previous.status, 0);
  const auto fields = Fields(previous.reply);
  ASSERT_EQ(fields.size(), 206U);
  EXPECT_EQ(fields[25], "AKB 6012");
  EXPECT_EQ(fields[32], "27000.00");
  EXPECT_EQ(fields[93], "M");                     // marital status moves up
  EXPECT_EQ(ListValues(fields[99]).size(), 1U);   // driver identity numbers
  EXPECT_EQ(fields[205], Field(ReadAdmin("CN23009901").reply, 177));

  EXPECT_EQ(Run("KivoGIUWR.CoverNote.Read", Params({"CN00000000", "A1001", "1"})),
            (Result{"", 1}));
  EXPECT_EQ(Run("Tarvin.Policy.Read", Params({"VPC0000000", "A1001", "1"})), (Result{"", 1}));
}

TEST_F(ReadAdminTest, EnquiryFindsCoverNotesTheAgentMaySee) {
  const auto enquire = [&](const std::string& kind, const std::string& text,
                           const std::string& agent) {
    std::vector<std::string> numbers;
    for (const auto& record : Records(Run("KivoGIUWR.CoverNote.Enquire",
                                          Params({kind, text, agent})).reply)) {
      numbers.push_back(Fields(record)[0]);
    }
    return numbers;
  };
  const auto own = enquire("NUMBER", "CN240001", "A1001");
  EXPECT_NE(std::find(own.begin(), own.end(), "CN24000101"), own.end());
  EXPECT_EQ(std::find(own.begin(), own.end(), "CN24000109"), own.end());
  const auto all = enquire("NUMBER", "CN240001", "HQ001");
  EXPECT_NE(std::find(all.begin(), all.end(), "CN24000109"), all.end());
  EXPECT_EQ(enquire("VEHICLE", "AKB", "A1001"),
            (std::vector<std::string>{"CN23009901", "CN24000105"}));
  EXPECT_EQ(enquire("NAME", "tan mei", "A1001").size(), 6U);
  EXPECT_EQ(enquire("NAME", "Mei Ling", "A1001").size(), 6U);  // any part, any case
  EXPECT_TRUE(enquire("NAME", "%", "A1001").empty());  // no wildcards from the user
}

}  // namespace
}  // namespace cn::backend::testing
