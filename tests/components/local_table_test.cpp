#include "components/local_table_service.h"
#include "components_fixture.h"

namespace cn::components::testing {
namespace {

class LocalTableTest : public ComponentsTest {
 protected:
  StoreLocalTables tables_{backend_};
  // "status reply" of one call, whose reply starts stale.
  template <typename Key>
  std::string Answer(void (StoreLocalTables::*call)(std::string&, Key, std::int32_t&), Key key) {
    std::string reply = "stale";
    std::int32_t status = -99;
    (tables_.*call)(reply, key, status);
    return std::to_string(status) + " " + reply;
  }
};

// Which list each local number is, told by an entry only that list has.
TEST_F(LocalTableTest, EachListNumberGivesTheBackEndListItStandsFor) {
  const std::pair<std::int16_t, const char*> lists[] = {
      {0, "CLERK"}, {1, "BANK CENDANA BERHAD"}, {2, "TARUMA"}, {3, "SALOON"},
      {5, "COMPREHENSIVE"}, {6, "TBA"}, {8, "SELANGOR"}, {9, "PENINSULAR MALAYSIA"},
  };
  ASSERT_EQ(LocalLists().size(), std::size(lists));
  for (const auto& [number, entry] : lists) {
    const std::string answer = Answer(&StoreLocalTables::GetList, number);
    EXPECT_EQ(answer.substr(0, 2), "0 ") << number;
    EXPECT_NE(answer.find(entry), std::string::npos) << number;
  }
}

TEST_F(LocalTableTest, MotorClassesAndUnitsMatchTheBackEndAndWhatIsNotHeldIsAStatus) {
  for (std::int32_t kind = 0; kind <= 2; ++kind) {
    const std::string listed =
        backend_->Execute("Tarvin.Find.FindMotorClass", std::to_string(kind)).reply;
    EXPECT_FALSE(listed.empty()) << kind;
    EXPECT_EQ(Answer(&StoreLocalTables::GetMotorClassList, kind), "0 " + listed);
  }
  for (const std::string_view class_code : {"PC1", "CV3"}) {
    EXPECT_EQ(Answer(&StoreLocalTables::GetUOMList, class_code),
              "0 " + backend_->Execute("Tarvin.Find.BrowseUOM", class_code).reply);
  }
  const std::string no_such_list = std::to_string(kNoSuchList) + " ";
  EXPECT_EQ(Answer(&StoreLocalTables::GetList, std::int16_t{4}), no_such_list);
  EXPECT_EQ(Answer(&StoreLocalTables::GetMotorClassList, std::int32_t{3}), no_such_list);
  EXPECT_EQ(Answer(&StoreLocalTables::GetUOMList, std::string_view("ZZ9")), "0 ");
}

}  // namespace
}  // namespace cn::components::testing
