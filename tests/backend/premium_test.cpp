// The premium commands: the requests they read, the tariff they rate by and the
// replies they give.

#include <gtest/gtest.h>

#include <span>

#include "backend/premium_request.h"
#include "backend/rating.h"
#include "backend_fixture.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend::testing {
namespace {

// `count` empty fields but the one at `position`.
std::string Record(std::size_t count, std::size_t position, std::string_view value) {
  return JoinFields(With(Texts(count), {{static_cast<int>(position), std::string(value)}}));
}

TEST(PremiumRequest, EachLayoutReadsItsOwnCountOfFieldsAndChecksEachValue) {
  const std::string list = Join({"1500", "", "2.5"}, DialogArgSeparator);
  const auto v10 = V10RequestLayout();
  const struct {
    std::span<const RequestRow> layout;
    std::size_t count, position;
    std::string value;
    bool reads;
  } cases[] = {
      // Sum insured, dates in dd-MMM-yyyy only, claims, the trailer flag, an extended sum
      // insured list, a separator in a value.
      // clang-format off
      {v10, 51, 5, "48000.5", true},         {v10, 51, 5, "48,000.50", true},
      {v10, 51, 5, "4800O", false},          {v10, 51, 8, "01-Mar-2025", true},
      {v10, 51, 8, "2025-03-01", false},     {v10, 51, 8, "31-Apr-2025", false},
      {v10, 51, 10, "2x", false},            {v10, 51, 6, "yes", false},
      {v10, 51, 26, list, true},             {v10, 51, 26, list + "x", false},
      {v10, 51, 0, "PC" + std::string(DialogArgSeparator), false},
      // clang-format on
      {V10ExRequestLayout(), 45, 16, "2", false},           // "entered" flag
      {V10PreviousRequestLayout(), 57, 40, "lots", false},  // total premium
      {NewTariffRequestLayout(), 44, 19, "five", false},    // NCD years
      {NewTariffPreviousRequestLayout(), 51, 49, "soon", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " @" + std::to_string(c.position) + " " + c.value);
    EXPECT_EQ(ReadFactors(c.layout, Record(c.count, c.position, c.value)).has_value(), c.reads);
    // One field more or less is never read.
    EXPECT_TRUE(ReadFactors(c.layout, Record(c.count, 0, "")));
    EXPECT_FALSE(ReadFactors(c.layout, Record(c.count - 1, 0, "")));
    EXPECT_FALSE(ReadFactors(c.layout, Record(c.count + 1, 0, "")));
  }
}

// "-1" in the current request, "1" in the entered flag of the amended one.
TEST(PremiumRequest, NotEnteredFiguresAreLeftEmptyInBothEncodings) {
  const std::pair<std::span<const RequestRow>, std::string> cases[] = {
      {V10RequestLayout(), JoinFields(With(Texts(51), {{14, "-1"}, {21, "350.25"}}))},
      {V10ExRequestLayout(),
       JoinFields(With(Texts(45), {{15, "10"}, {16, "1"}, {18, "350.25"}, {19, "0"}}))}};
  for (const auto& [layout, record] : cases) {
    const auto factors = ReadFactors(layout, record);
    ASSERT_TRUE(factors);
    EXPECT_FALSE(factors->Has(Factor::kLoadPercentage));
    EXPECT_EQ(factors->Amount(Factor::kTariffPremium), Currency::Parse("350.25"));
  }
}

// One row per rule of the tariff: the factors changed from the sample car, the
// status and one figure of the reply.
struct TariffCase {
  const char* rule;
  Changes changes;
  std::int32_t status;
  std::size_t position;
  std::string figure;
};

class TariffTest : public BackendTest {
 protected:
  void ExpectEach(std::string_view command, const std::vector<std::string>& car,
                  std::span<const TariffCase> cases) {
    for (const TariffCase& c : cases) {
      SCOPED_TRACE(c.rule);
      const Result result = Run(command, Params({JoinFields(With(car, c.changes)), "0"}));
      EXPECT_EQ(result.status, c.status);
      EXPECT_EQ(result.reply.empty() ? "" : Field(result.reply, c.position), c.figure);
    }
  }
};

TEST_F(TariffTest, CurrentEngineRatesByTheTariffTables) {
  const std::string list(DialogArgSeparator);
  // clang-format off
  const TariffCase cases[] = {
      {"band premium plus rate per thousand", {}, 0, 2, "1579.50"},
      {"service tax and stamp duty", {}, 0, 17, "1684.27"}, {"commission", {}, 0, 19, "157.95"},
      {"other tariff region", {{36, "E"}}, 0, 2, "1269.65"},
      {"region of the agent", {{36, ""}, {2, "A2001"}}, 0, 2, "1269.65"},
      {"fire and theft, rounded once", {{1, "02"}}, 0, 2, "1184.63"},
      {"third party", {{1, "03"}}, 0, 2, "183.30"}, {"band's upper edge", {{3, "1400"}}, 0, 2, "1547.80"},
      {"next band", {{3, "1400.01"}}, 0, 2, "1579.50"},
      {"capacity beyond every band", {{0, "CV1"}, {4, "T"}, {3, "20"}}, 3, 0, ""},
      {"trailer", {{0, "CV3"}, {4, "T"}, {3, "7.5"}, {6, "-1"}, {7, "30000"}}, 0, 1, "700.00"},
      {"trailer beyond its bands", {{0, "CV3"}, {4, "T"}, {3, "12"}, {6, "-1"}}, 4, 0, ""},
      {"no trailer: TP", {{0, "CV3"}, {1, "03"}, {4, "T"}, {3, "7.5"}, {6, "-1"}}, 0, 1, "0.00"},
      {"typed tariff premium", {{21, "1000"}, {3, "99999999"}}, 0, 6, "1000.00"},
      {"loading", {{14, "10"}}, 0, 4, "157.95"}, {"loading cut to its limit", {{14, "80"}}, 0, 3, "50.00"},
      {"NCD", {{15, "25"}}, 0, 5, "394.88"}, {"rounded once: 0.634959 is 0.63", {{15, "0.0402"}}, 0, 5, "0.63"},
      {"extended cover, own sum insured", {{25, "089"}, {26, "1500"}, {27, "15"}}, 0, 22, "225.00"},
      {"extended cover's minimum", {{25, "089"}, {26, "100"}, {27, "15"}}, 0, 22, "20.00"},
      {"extended cover on the vehicle's sum insured", {{25, "025"}}, 0, 22, "150.00"},
      {"fixed extended cover", {{25, "072"}}, 0, 23, "7.50"},
      {"typed extended premium", {{24, "-1" + list}, {25, "072" + list}, {28, "99" + list}}, 0, 22, "99.00" + list},
      {"compulsory excess", {{0, "CV1"}, {4, "T"}, {3, "3"}}, 0, 9, "500.00"},
      {"stamp duty and tax by default", {{31, ""}, {32, ""}}, 0, 17, "1684.27"},
      {"young insured", {{11, "19"}}, 2, 2, "1579.50"}, {"new licence", {{12, "1"}}, 2, 2, "1579.50"},
      {"young named driver", {{22, "1"}, {48, "20"}, {49, "2"}}, 2, 2, "1579.50"},
      {"first of two drivers, licence new", {{22, "2"}, {48, "26"}, {49, "0"}}, 2, 2, "1579.50"},
      // The screen's one empty row when nobody is named: no birth date (26), no licence (0).
      {"no named driver", {{22, "1"}, {48, "26"}, {49, "0"}}, 0, 2, "1579.50"},
      {"two claims", {{10, "2"}}, 2, 2, "1579.50"}, {"vehicle too old: declined", {{50, "21"}}, 0, 4, "-9999.00"},
      {"old vehicle, third party", {{50, "21"}, {1, "03"}}, 0, 4, "0.00"},
      {"unknown class", {{0, "XX1"}}, -1, 0, ""}, {"unknown cover", {{1, "09"}}, -1, 0, ""},
      {"unknown extended cover", {{25, "999"}}, -1, 0, ""}};
  // clang-format on
  ExpectEach("Tarvin.Premium.ComputeV10", V10Factors(), cases);
}

TEST_F(TariffTest, NewTariffRatesByFactorsAndSaysWhichIsNotConfigured) {
  // clang-format off
  const TariffCase cases[] = {
      {"base premium", {}, 0, 3, "1574.00"},       {"factors times the base", {}, 0, 14, "1727.07"},
      {"combined rate", {}, 0, 13, "109.725"},     {"use", {{10, ""}}, 0, 4, "100"},
      {"state", {{2, "10"}}, 0, 5, "105"},         {"driver age", {{36, "70"}}, 0, 6, "115"},
      {"gender", {{3, "F"}}, 0, 7, "95"},          {"NCD years", {{19, "3"}}, 0, 8, "61.67"},
      {"make", {{14, "MRK"}}, 0, 9, "110"},        {"capacity", {{16, "2500"}}, 0, 10, "110"},
      {"vehicle age", {{43, "12"}}, 0, 11, "115"}, {"sum insured", {{12, "80000"}}, 0, 12, "105"},
      {"typed basic premium", {{20, "900"}, {21, "0"}}, 0, 14, "900.00"}, {"referred", {{38, "2"}}, 8, 3, "1574.00"},
      {"NCD not configured", {{19, "9"}}, 2, 0, ""}, {"capacity not configured", {{16, "0"}}, 3, 0, ""},
      {"vehicle age not configured", {{43, "30"}}, 4, 0, ""},
      {"sum insured not configured", {{12, "600000"}}, 5, 0, ""},
      {"declined", {{43, "21"}}, 6, 0, ""},    {"driver not configured", {{36, "90"}}, 7, 0, ""}};
  // clang-format on
  ExpectEach("Tarvin.Premium.Compute", NewTariffFactors(), cases);
  backend_->database().ExecuteScript("DELETE FROM new_tariff_base WHERE class_code = 'PC1';");
  const TariffCase no_base[] = {{"base not configured", {}, 1, 0, ""}};
  ExpectEach("Tarvin.Premium.Compute", NewTariffFactors(), no_base);
}

// The amended car for a year from 1 Mar 2026; the transaction from `start`, by mode.
TEST_F(TariffTest, ExCommandsChargeTheTransactionForItsPeriod) {
  constexpr std::string_view kV10Ex = "Tarvin.Premium.ComputeV10Ex",
                             kEx = "Tarvin.Premium.ComputeEx";
  const struct {
    const char* rule;
    std::string_view command;
    Changes previous;
    std::string start, mode;
    std::size_t part, position;
    std::string figure;
  } cases[] = {
      {"amended cover for the year", kV10Ex, {}, "01-Sep-2026", "0", 0, 12, "1579.50"},
      {"extension pro rata, 181 days", kV10Ex, {}, "01-Sep-2026", "0", 1, 12, "783.26"},
      {"short-period scale, 181 days at 75%", kV10Ex, {}, "01-Sep-2026", "2", 1, 12, "1184.63"},
      {"transfer: the difference", kV10Ex, {{24, "1000"}}, "01-Mar-2026", "1", 1, 8, "579.50"},
      {"endorsement: the difference", kV10Ex, {{24, "1000"}}, "01-Mar-2026", "3", 1, 8, "579.50"},
      {"tax on the transaction", kV10Ex, {}, "01-Sep-2026", "0", 1, 18, "47.00"},
      {"new tariff extension", kEx, {}, "01-Sep-2026", "0", 1, 14, "856.44"},
      {"new tariff transfer", kEx, {{33, "1000"}}, "01-Mar-2026", "1", 1, 14, "727.07"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rule);
    const bool current = c.command == kV10Ex;
    const std::string previous = JoinFields(With(Texts(current ? 57 : 51), c.previous));
    const auto amended = JoinFields(current ? V10ExFactors() : NewTariffFactors());
    const Result result = Run(c.command, Params({previous, amended, c.start, c.mode}));
    ASSERT_EQ(result.status, 0);
    const auto parts = Split(result.reply, ParamSeparator);
    ASSERT_EQ(parts.size(), 2U);
    EXPECT_EQ(Field(parts[c.part], c.position), c.figure);
  }
  // A decline has no answer of its own here: the risk is referred.
  const auto declined = JoinFields(With(V10ExFactors(), {{44, "21"}}));
  EXPECT_EQ(Run(kV10Ex, Params({JoinFields(Texts(57)), declined, "01-Mar-2026", "0"})).status, 2);
}

}  // namespace
}  // namespace cn::backend::testing
