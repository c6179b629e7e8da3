#include "backend/result_codes.h"
#include "backend_fixture.h"
#include "base/date_reader.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend::testing {
namespace {

constexpr std::string_view kReadAdmin = "KivoGIUWR.CoverNote.ReadAdmin";

class ReadAdminTest : public BackendTest {
 protected:
  Result ReadAdmin(const std::string& number, const std::string& agent = "A1001") {
    return Run(kReadAdmin, Params({number, agent, "0"}));
  }
};

// The result codes of every stored state are pinned by the read scenarios; these two are not.
TEST_F(ReadAdminTest, NumberInAnyCaseAndHeadOfficeSeesEveryAgentsNote) {
  EXPECT_EQ(ReadAdmin("cn24000101").status, read_admin::kAmendable);
  EXPECT_EQ(ReadAdmin("CN24000109", "HQ001").status, read_admin::kAmendable);
}

// The values whose text depends on the store: on either store they read back the same.
TEST_F(ReadAdminTest, StoredTypesReadBackInTheScreensForms) {
  const auto fields = Fields(ReadAdmin("CN24000101").reply);
  ASSERT_EQ(fields.size(), 178U);
  EXPECT_EQ(fields[0],
            Query("SELECT id FROM cover_note WHERE cover_note_no = 'CN24000101'") + ".1");
  ASSERT_TRUE(ReadDateTime(fields[2]));
  EXPECT_EQ(fields[2].size(), std::string("05-Mar-2014 09:35:00 AM").size());
  EXPECT_EQ(fields[32], "48000.00");
  EXPECT_EQ(ListValues(fields[65]), (std::vector<std::string>{"225.00", "10.00"}));
  EXPECT_EQ(fields[132], "False");
  EXPECT_EQ(fields[141], "");  // no claims
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

TEST_F(ReadAdminTest, UnknownPreviousDocumentsAreNotFound) {
  EXPECT_EQ(Run("KivoGIUWR.CoverNote.Read", Params({"CN00000000", "A1001", "1"})), (Result{"", 1}));
  EXPECT_EQ(Run("Tarvin.Policy.Read", Params({"VPC0000000", "A1001", "1"})), (Result{"", 1}));
}

// Who sees which note, by number and vehicle, is checked through the enquiry dialog.
TEST_F(ReadAdminTest, EnquiryByNameMatchesAnyPartInAnyCase) {
  for (const char* text : {"tan mei", "Mei Ling"}) {
    const Result found = Run("KivoGIUWR.CoverNote.Enquire", Params({"NAME", text, "A1001"}));
    EXPECT_EQ(found.status, 0) << text;
    EXPECT_EQ(Records(found.reply).size(), 6U) << text;
  }
}

}  // namespace
}  // namespace cn::backend::testing
