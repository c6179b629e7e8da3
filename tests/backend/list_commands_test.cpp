#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

struct ListCase {
  const char* command;
  std::vector<std::string> parameters;
  std::size_t field_count;                  // of every entry
  std::vector<std::string> expected_entry;  // one entry of the list, whole
};

using ListTest = BackendTest;

TEST_F(ListTest, EveryListHasItsEntries) {
  // The lists the screen reads at start-up are pinned whole by the scenarios on the sample.
  const ListCase cases[] = {
      {"KivoInsurance.Find.Browse", {"1"}, 2, {"M01", "BANK CENDANA BERHAD"}},
      {"Tarvin.Find.Browse", {"6", "CV3"}, 4, {"13", "HAULAGE OF TRAILERS", "G", "1"}},
      {"TarvinBS.Find.FindExtendedCoverDetails",
       {"PC1", "03"},
       6,
       {"007", "ADDITIONAL NAMED DRIVERS", "0.00", "10.00", "0.00", "F"}},
  };
  for (const ListCase& c : cases) {
    const Result result = Run(c.command, Params(c.parameters));
    ASSERT_EQ(result.status, 0) << c.command << " " << c.parameters[0];
    bool found = false;
    for (const auto& entry : Records(result.reply)) {
      const auto fields = Fields(entry);
      EXPECT_EQ(fields.size(), c.field_count) << c.command << " " << entry;
      found = found || fields == c.expected_entry;
    }
    EXPECT_TRUE(found) << c.command << " " << c.parameters[0] << " lacks " << c.expected_entry[0];
  }
}

TEST_F(ListTest, ListsDependOnClassAndCover) {
  EXPECT_EQ(
      Records(Run("Tarvin.Find.FindExtendedCoverDetails", Params({"PC1", "03"})).reply).size(), 3U);
  EXPECT_EQ(Run("Tarvin.Find.BrowseUOM", "XX"), (Result{}));
}

TEST_F(ListTest, UnknownListNumbersAndMissingClassAreRefused) {
  for (const auto& [command, parameters] : std::vector<std::pair<std::string, std::string>>{
           {"KivoInsurance.Find.Browse", "99"},
           {"KivoInsurance.Find.Browse", ""},
           {"Tarvin.Find.Browse", "6"},
           {"Tarvin.Find.FindMotorClass", "3"},
           {"Tarvin.Find.FindExtendedCoverDetails", "PC1"},
       }) {
    EXPECT_EQ(Run(command, parameters), (Result{"", status::kMalformedParameters}))
        << command << " '" << parameters << "'";
  }
}

}  // namespace
}  // namespace cn::backend::testing
