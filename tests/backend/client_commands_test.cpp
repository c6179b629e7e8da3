#include "backend/result_codes.h"
#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

using ClientTest = BackendTest;

TEST_F(ClientTest, ReadGivesTheClientInItsPositions) {
  const Result read = Run("KivoGlobal.Client.Read", "C0000201");
  ASSERT_EQ(read.status, client_status::kOk);
  const auto fields = Fields(read.reply);
  ASSERT_EQ(fields.size(), 19U);
  EXPECT_EQ(fields[0], "C0000201");
  EXPECT_EQ(fields[1], "SYARIKAT PENGANGKUTAN MAJU JAYA SDN BHD");
  EXPECT_EQ(fields[4], "201501012345");  // a registration number marks a company
  EXPECT_EQ(fields[9], "LOT 88, JLN PERUSAHAAN 2\r\nKAWASAN PERINDUSTRIAN\r\nSHAH ALAM");
  EXPECT_EQ(fields[11], "40000");
  EXPECT_EQ(fields[12], "10");
  EXPECT_EQ(fields[15], "0355191000");
  EXPECT_EQ(Run("KivoGlobal.Client.Read", "C9999999"), (Result{"", client_status::kNotFound}));
}

TEST_F(ClientTest, ValidateFindsClientsByIdentityNumberWithOrWithoutDashes) {
  for (const char* number : {"800111-01-1123", "800111011123"}) {
    const Result found = Run("KivoGlobal.Client.Validate", Params({"AHMAD''S", number}));
    ASSERT_EQ(found.status, 0);
    const auto records = Records(found.reply);
    ASSERT_EQ(records.size(), 1U) << number;
    EXPECT_EQ(Fields(records[0])[0], "C0000101");
  }
  EXPECT_EQ(Field(Run("KivoGlobal.Client.Validate", Params({"", "JM0123456-X"})).reply, 0),
            "C0000202");
  EXPECT_EQ(Run("KivoGlobal.Client.Validate", Params({"NEW", "010101-01-0101"})), (Result{}));
}

TEST_F(ClientTest, WriteKeepsIdentityAsReadAndAuditsTheContactChange) {
  auto read = Fields(Run("KivoGlobal.Client.Read", "C0000104").reply);
  std::vector<std::string> client(23);
  client[0] = read[18];
  for (int i = 1; i <= 17; ++i) client[i] = read[i];
  client[13] = "";
  client[17] = "aisyah.new@example.my";
  client[16] = "0119998888";
  ASSERT_EQ(Run("KivoGlobal.Client.Write", Params({"C0000104", "ADMIN", JoinFields(client)})),
            (Result{}));
  read = Fields(Run("KivoGlobal.Client.Read", "C0000104").reply);
  EXPECT_EQ(read[17], "aisyah.new@example.my");
  EXPECT_EQ(read[3], "990302-14-7820");
  EXPECT_EQ(Query("SELECT group_concat(field, ',') FROM (SELECT field FROM amendment_change "
                  "ORDER BY field) AS changed"),
            "email,mobile_tel");
  EXPECT_EQ(Query("SELECT document_kind || ' ' || document_no FROM amendment"),
            "client C0000104");
  // The same copy again is a write from a stale read.
  EXPECT_EQ(Run("KivoGlobal.Client.Write", Params({"C0000104", "ADMIN", JoinFields(client)})),
            (Result{"", client_status::kChangedSinceRead}));
}

TEST_F(ClientTest, ClientListsAndSearches) {
  const auto first_codes = [&](const std::string& list) {
    std::vector<std::string> codes;
    for (const auto& entry : Records(Run("KivoGlobal.Client.Find", list).reply)) {
      codes.push_back(Fields(entry)[0]);
    }
    return codes;
  };
  const auto nationalities = first_codes("1");
  EXPECT_NE(std::find(nationalities.begin(), nationalities.end(), "MYS"), nationalities.end());
  EXPECT_FALSE(first_codes("2").empty());
  EXPECT_FALSE(first_codes("3").empty());
  EXPECT_EQ(Run("KivoGlobal.Client.Find", "4").status, status::kMalformedParameters);

  // Any part of the name, whatever its case.
  const auto by_name = Records(Run("KivoGlobal.Client.Enquire", Params({"NAME", "mei l"})).reply);
  ASSERT_EQ(by_name.size(), 1U);
  EXPECT_EQ(Fields(by_name[0])[1], "TAN MEI LING");
  EXPECT_EQ(Field(Run("KivoGlobal.Client.Enquire", Params({"IDNO", "A2345678"})).reply, 0),
            "C0000103");
}

}  // namespace
}  // namespace cn::backend::testing
