// Accounts on either store: roles the back end enforces itself, the agent check of every read,
// and the accounts' own rows (backend/accounts.h).
#include "backend/accounts.h"
#include "backend/result_codes.h"
#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

class AccountsTest : public BackendTest {
 protected:
  // READER may only enquire, GONE is disabled; both work for the agent A1001.
  void SetUp() override {
    BackendTest::SetUp();
    if (IsSkipped()) return;
    Database& db = backend_->database();
    Transaction adding(db, Transaction::Kind::kImmediate);
    accounts::Add(db, "READER", "A READER", "A1001", accounts::kEnquire, "", false);
    accounts::Add(db, "GONE", "A LEAVER", "A1001", accounts::kAmend, "", false);
    accounts::SetDisabled(db, "GONE", true);
    adding.Commit();
    db.ResetStatements();
  }
};

// Whatever a request says, a user who may only enquire (or is disabled, or unknown) writes
// nothing: neither the cover note nor its client.
TEST_F(AccountsTest, OnlyAnAmendingUserWrites) {
  const Texts record = SaveRecord(Run(kReadAdmin, ReadAdminParams()).reply);
  for (const char* user : {"READER", "GONE"})
    EXPECT_EQ(Run(kWriteAdmin, SaveParams(record, user)).status, write_admin::kNotAllowed) << user;
  EXPECT_EQ(Run(kWriteAdmin, SaveParams(record, "TERATAI01")).status, write_admin::kSaved);
  const auto client = ClientWriteRecord(Run("KivoGlobal.Client.Read", "C0000104").reply);
  for (const char* user : {"READER", "GONE", "NOBODY"}) {
    EXPECT_EQ(Run("KivoGlobal.Client.Write", Params({"C0000104", user, JoinFields(client)})).status,
              client_status::kNotAllowed)
        << user;
  }
  EXPECT_EQ(Query("SELECT count(*) FROM amendment WHERE user_id IN ('READER', 'GONE', 'NOBODY')"), "0");
}

// The previous cover note and the policy are read only for their own agent and the head office.
TEST_F(AccountsTest, EveryReadChecksTheAgent) {
  for (const auto& [command, number] : {std::pair{"KivoGIUWR.CoverNote.Read", "CN24000101"},
                                        std::pair{"Tarvin.Policy.Read", "VPC2300011"}}) {
    EXPECT_EQ(Run(command, Params({number, "A1001", "1"})).status, 0) << command;
    EXPECT_EQ(Run(command, Params({number, "HQ001", "1"})).status, 0) << command;
    EXPECT_EQ(Run(command, Params({number, "A2001", "1"})), (Result{"", 2})) << command;
    EXPECT_EQ(Run(command, Params({number, "", "1"})), (Result{"", 2})) << command;
  }
}

// A code's time step is taken once, a recovery code used once; a reset removes both.
TEST_F(AccountsTest, CodesAreTakenOnceAndAResetRemovesTheSecondFactor) {
  Database& db = backend_->database();
  Transaction changing(db, Transaction::Kind::kImmediate);
  accounts::BeginTotp(db, "READER", "JBSWY3DPEHPK3PXP");
  accounts::ConfirmTotp(db, "READER", 100, {"hash-one", "hash-two"});
  EXPECT_FALSE(accounts::TakeTotpStep(db, "READER", 100));
  EXPECT_TRUE(accounts::TakeTotpStep(db, "READER", 101));
  EXPECT_FALSE(accounts::TakeTotpStep(db, "READER", 100));
  EXPECT_TRUE(accounts::UseRecoveryCode(db, "READER", "hash-one", "2026-12-05T10:00:00Z"));
  EXPECT_FALSE(accounts::UseRecoveryCode(db, "READER", "hash-one", "2026-12-05T10:00:01Z"));
  EXPECT_EQ(accounts::RecoveryCodesLeft(db, "READER"), 1);
  accounts::ResetMfa(db, "READER");
  const auto reader = accounts::Find(db, "READER");
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->totp_secret, std::nullopt);
  EXPECT_EQ(reader->totp_confirmed, false);
  EXPECT_EQ(accounts::RecoveryCodesLeft(db, "READER"), 0);
  changing.Commit();
}

}  // namespace
}  // namespace cn::backend::testing
