#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

struct ListCase {
  const char* command;
  std::vector<std::string> parameters;
  std::size_t field_count;  // of every entry
  std::vector<std::string> expected_entry;  // one entry of the list, whole
};

using ListTest = BackendTest;

TEST_F(ListTest, EveryListHasItsEntries) {
  const ListCase cases[] = {
      {"KivoInsurance.Find.Browse", {"0"}, 2, {"08", "STUDENT"}},
      {"KivoInsurance.Find.Browse", {"1"}, 2, {"M01", "BANK CENDANA BERHAD"}},
      {"KivoInsurance.Find.Browse", {"2"}, 3, {"1031", "TBA", "vehicle number not yet registered"}},
      {"KivoInsurance.Find.Browse", {"3"}, 2, {"10", "SELANGOR"}},
      {"KivoInsurance.Find.Browse", {"6"}, 2, {"102", "SURIA TAKAFUL BERHAD"}},
      {"KivoInsurance.Find.Browse", {"7"}, 2, {"02", "IMMOBILISER"}},
      {"KivoInsurance.Find.Browse", {"13"}, 3, {"PJY", "PETALING JAYA", "10"}},
      {"Tarvin.Find.Browse", {"0"}, 2, {"TRM", "TARUMA"}},
      {"Tarvin.Find.Browse", {"1"}, 2, {"LRY", "LORRY"}},
      {"Tarvin.Find.Browse", {"3"}, 3, {"03", "THIRD PARTY", "3"}},
      {"Tarvin.Find.Browse", {"6", "CV3"}, 4, {"13", "HAULAGE OF TRAILERS", "G", "1"}},
      {"Tarvin.Find.Browse", {"7"}, 2, {"E", "SABAH, SARAWAK AND LABUAN"}},
      {"Tarvin.Find.FindMotorClass", {"0"}, 6, {"PC1", "PRIVATE CAR", "10000.00", "PRIVATE", "C", "9"}},
      {"Tarvin.Find.FindMotorClass", {"1"}, 6, {"CV1", "GOODS VEHICLE (OWN GOODS)", "15000.00", "COMMERCIAL", "T", "3"}},
      {"Tarvin.Find.FindMotorClass", {"2"}, 6, {"MC1", "MOTORCYCLE", "1000.00", "MOTORCYCLE", "C", "2"}},
      {"Tarvin.Find.BrowseUOM", {"PC1"}, 2, {"KW", "KILOWATT"}},
      {"Tarvin.Find.FindNCD", {"PC1"}, 2, {"3", "38.33"}},
      {"Tarvin.Find.FindNCD", {"MC1"}, 2, {"3", "25.00"}},
      {"Tarvin.Find.FindExtendedCoverDetails", {"PC1", "01"}, 6,
       {"089", "BREAKAGE OF GLASS IN WINDSCREEN", "15.00", "0.00", "20.00", "S"}},
      {"TarvinBS.Find.FindExtendedCoverDetails", {"PC1", "03"}, 6,
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
  EXPECT_EQ(Records(Run("Tarvin.Find.FindExtendedCoverDetails", Params({"PC1", "01"})).reply)
                .size(),
            8U);
  EXPECT_EQ(Records(Run("Tarvin.Find.FindExtendedCoverDetails", Params({"PC1", "03"})).reply)
                .size(),
            3U);
  EXPECT_EQ(Run("Tarvin.Find.BrowseUOM", "XX"), (Result{}));
  EXPECT_EQ(Records(Run("Tarvin.Find.Browse", Params({"6", "PC1"})).reply).size(), 2U);
}

TEST_F(ListTest, UnknownListNumbersAndMissingClassAreRefused) {
  for (const auto& [command, parameters] :
       std::vector<std::pair<std::string, std::string>>{
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
