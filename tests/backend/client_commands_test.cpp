#include "backend/result_codes.h"
#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

using ClientTest = BackendTest;

// A client read whole is pinned by the scenarios.
TEST_F(ClientTest, AnUnknownClientIsNotFound) {
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
  EXPECT_EQ(Query("SELECT document_kind || ' ' || document_no FROM amendment"), "client C0000104");
  // The same copy again is a write from a stale read.
  EXPECT_EQ(Run("KivoGlobal.Client.Write", Params({"C0000104", "ADMIN", JoinFields(client)})),
            (Result{"", client_status::kChangedSinceRead}));
}

// The lists are pinned by the scenarios, the searches through the enquiry dialog.
TEST_F(ClientTest, AnUnknownClientListIsRefused) {
  EXPECT_EQ(Run("KivoGlobal.Client.Find", "4").status, status::kMalformedParameters);
}

}  // namespace
}  // namespace cn::backend::testing
