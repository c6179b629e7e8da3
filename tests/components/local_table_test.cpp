#include <gtest/gtest.h>

#include <string>

#include "base/separators.h"
#include "base/text.h"
#include "components/local_table_service.h"
#include "components_fixture.h"

namespace cn::components::testing {
namespace {

class LocalTableTest : public ComponentsTest {
 protected:
  StoreLocalTables tables_{backend_};
};

// Which list each local number is, told by an entry only that list has.
TEST_F(LocalTableTest, EachListNumberGivesTheBackEndListItStandsFor) {
  const std::pair<std::int16_t, const char*> lists[] = {
      {0, "CLERK"},          {1, "BANK CENDANA BERHAD"}, {2, "TARUMA"},
      {3, "SALOON"},         {5, "COMPREHENSIVE"},       {6, "TBA"},
      {8, "SELANGOR"},       {9, "PENINSULAR MALAYSIA"},
  };
  ASSERT_EQ(LocalLists().size(), std::size(lists));
  for (const auto& [number, entry] : lists) {
    std::string reply;
    std::int32_t status = -99;
    tables_.GetList(reply, number, status);
    EXPECT_EQ(status, 0) << number;
    EXPECT_NE(reply.find(entry), std::string::npos) << number;
  }
}

TEST_F(LocalTableTest, MotorClassesByKindAndUnitsByClassMatchTheBackEnd) {
  for (std::int32_t kind = 0; kind <= 2; ++kind) {
    std::string reply;
    std::int32_t status = -99;
    tables_.GetMotorClassList(reply, kind, status);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(reply.empty()) << kind;
    EXPECT_EQ(reply,
              backend_->Execute("Tarvin.Find.FindMotorClass", std::to_string(kind)).reply);
  }
  for (const char* class_code : {"PC1", "CV3"}) {
    std::string reply;
    std::int32_t status = -99;
    tables_.GetUOMList(reply, class_code, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(reply, backend_->Execute("Tarvin.Find.BrowseUOM", class_code).reply);
  }
}

TEST_F(LocalTableTest, WhatTheTableDoesNotHoldIsAStatusWithAnEmptyReply) {
  std::string reply = "stale";
  std::int32_t status = 0;
  tables_.GetList(reply, 4, status);
  EXPECT_EQ(status, kNoSuchList);
  EXPECT_EQ(reply, "");

  reply = "stale";
  tables_.GetMotorClassList(reply, 3, status);
  EXPECT_EQ(status, kNoSuchList);

  tables_.GetUOMList(reply, "ZZ9", status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(reply, "");
}

}  // namespace
}  // namespace cn::components::testing
