// Settings, system codes and the lookup lists.
#include <gtest/gtest.h>

#include "base/separators.h"
#include "base/text.h"
#include "fake_components.h"
#include "fake_ports.h"
#include "integration/list_search.h"
#include "integration/motor_lists.h"
#include "integration/settings.h"
#include "integration/system_codes.h"
#include "../base/failure_text.h"

namespace cn::testing {
namespace {

using List = std::vector<std::string>;

const std::string kSystemCodes =
    Records({Fields({"1011", "Y"}), Fields({"1031", "WXX9999"}), Fields({"1040", "A1;B2;C3"}),
             Fields({"1060", "*;,"}), Fields({"10311", "wrong"})});

void SetUseLocalTable(FakeWorld& world, std::string value) {
  world.registry.values[{std::string(kUserInterfaceKey), "Use Local Table"}] = std::move(value);
}

TEST(GetSystemCode, SourceFollowsTheNumericValueOfTheSetting) {
  const struct {
    std::string setting;
    bool local, fails;
  } cases[] = {
      {"0", false, false},   {"1", true, false}, {"2", true, false},
      {"0.0", false, false}, {"", false, true},  {"yes", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("Use Local Table = \"" + c.setting + "\"");
    FakeWorld world;
    SetUseLocalTable(world, c.setting);
    world.backend.Answer("KivoInsurance.Find.Browse", "2", kSystemCodes);
    world.local_table.lists[6] = Records({Fields({"1031", "LOCAL"})});
    LookupState state;
    if (c.fails) {
      EXPECT_EQ(FailureText([&] { GetSystemCode(state, world.components, 1031); }).substr(0, 3), "13:");
      EXPECT_TRUE(world.backend.sent().empty());
      continue;
    }
    EXPECT_EQ(GetSystemCode(state, world.components, 1031), c.local ? "LOCAL" : "WXX9999");
    EXPECT_EQ(world.local_table.calls, c.local ? List{"GetList 6"} : List{});
    EXPECT_EQ(world.backend.sent().size(), c.local ? 0u : 1u);
  }
}

TEST(IsInSystemCodeList, MatchesWholeEntriesOfTheValue) {
  FakeWorld world;
  world.backend.Answer("KivoInsurance.Find.Browse", "2", kSystemCodes);
  LookupState state;
  state.UseLocalTable = "0";
  for (const auto& [entry, code, listed] : {std::tuple{"B2", 1040, true}, {"C3", 1040, true}, {"B", 1040, false},
                                            {"", 1040, false}, {"B2", 9999, false}})
    EXPECT_EQ(IsInSystemCodeList(state, world.components, entry, code), listed) << entry << code;
}

TEST(GetMotorClassList, LocalTableOnlyWhenTheSettingIsExactlyOne) {
  const struct {
    std::string setting;
    std::int32_t kind;
    List calls;  // "command parameters" sent, then the local table's calls
  } cases[] = {
      // clang-format off
      {"1", 0, {"GetMotorClassList 0"}}, {"1", 2, {"GetMotorClassList 2"}},
      {"0", 1, {"Tarvin.Find.FindMotorClass 1"}}, {"2", 0, {"Tarvin.Find.FindMotorClass 0"}}, {"1", 3, {}},
      {"0", -1, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting + " kind " + std::to_string(c.kind));
    FakeWorld world;
    SetUseLocalTable(world, c.setting);
    world.backend.AnswerAny("Tarvin.Find.FindMotorClass", Records({"PC", "CV"}));
    world.local_table.motor_classes[c.kind] = Records({"PC", "CV"});
    LookupState state;
    const List list = GetMotorClassList(state, world.components, c.kind);
    List calls;
    for (const SentCommand& sent : world.backend.sent())
      calls.push_back(sent.command + " " + sent.parameters);
    calls.insert(calls.end(), world.local_table.calls.begin(), world.local_table.calls.end());
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(list, c.calls.empty() ? List{} : (List{"PC", "CV"}));
  }
}

std::string CoverParameter(std::string_view class_code) {
  return "6" + std::string(ParamSeparator) + std::string(class_code);
}

TEST(LoadMotorCoverList, EachClassCodeIsFetchedOnce) {
  FakeWorld world;
  world.backend.Answer("Tarvin.Find.Browse", CoverParameter("PC"), Records({"01", "02"}));
  world.backend.Answer("Tarvin.Find.Browse", CoverParameter("CV"), "");
  LookupState state;
  state.UseLocalTable = "0";
  state.MotorCoverListCache = {""};  // as start-up leaves it
  // Nothing found is cached too.
  const std::pair<const char*, List> steps[] = {
      {"PC", {"01", "02"}}, {"CV", {}}, {"PC", {"01", "02"}}, {"CV", {}}};
  for (const auto& [class_code, list] : steps) {
    LoadMotorCoverList(state, world.components, class_code);
    EXPECT_EQ(state.MotorCoverList, list) << class_code;
  }
  EXPECT_EQ(world.backend.sent(),
            (std::vector<SentCommand>{{"Tarvin.Find.Browse", CoverParameter("PC")},
                                      {"Tarvin.Find.Browse", CoverParameter("CV")}}));
  EXPECT_EQ(state.MotorCoverListCache, (List{"PC|~|" + Records({"01", "02"}), "CV|~|"}));
}

TEST(LoadMotorCoverList, TheSearchStopsAtTheFirstEmptySlotAndFillsIt) {
  FakeWorld world;
  world.backend.Answer("Tarvin.Find.Browse", CoverParameter("CV"), "fresh");
  LookupState state;
  state.UseLocalTable = "0";
  state.MotorCoverListCache = {"PC|~|p", "", "CV|~|stale"};
  LoadMotorCoverList(state, world.components, "CV");
  EXPECT_EQ(state.MotorCoverList, List{"fresh"});
  EXPECT_EQ(state.MotorCoverListCache, (List{"PC|~|p", "CV|~|fresh", "CV|~|stale"}));
  EXPECT_EQ(world.backend.sent().size(), 1u);
}

TEST(LoadMotorCoverList, LocalTableModeLeavesTheListAsItIs) {
  FakeWorld world;
  LookupState state;
  state.UseLocalTable = "1";
  state.MotorCoverListCache = {""};
  state.MotorCoverList = {"kept"};
  LoadMotorCoverList(state, world.components, "PC");
  EXPECT_EQ(state.MotorCoverList, List{"kept"});
  EXPECT_TRUE(world.backend.sent().empty());
  state.UseLocalTable = "";
  EXPECT_THROW(LoadMotorCoverList(state, world.components, "PC"), RuntimeFailure);
}

TEST(ListSearch, FindsCodesDescriptionsAndEntryFields) {
  const List list = {Fields({"01", "Comprehensive", "a", "b"}), Fields({"02", "Third Party"}),
                     Fields({"01", "Again", "c", "d"}), "03"};
  // A description is the first entry's.
  EXPECT_EQ((List{FindCodeInList(list, "02"), FindCodeInList(list, "2"), FindDescription("01", list),
                  FindDescription("03", list), FindDescription("04", list)}),
            (List{"02", "", "Comprehensive", "", ""}));

  // A reply searched as it came answers as its split list does.
  const std::string joined = Join(list, RecordSeparator);
  for (const std::string& reply : {joined, joined + std::string(RecordSeparator), std::string()}) {
    for (const char* code : {"01", "02", "03", "04", ""}) {
      EXPECT_EQ(FindDescriptionInReply(code, reply), FindDescription(code, SplitList(reply))) << code;
    }
  }

  std::string field2 = "old2", field3 = "old3";
  FindEntryFields(list, "04", field2, field3);
  EXPECT_EQ(field2 + field3, "old2old3");
  FindEntryFields(list, "01", field2, field3);  // the last one
  EXPECT_EQ(field2 + field3, "cd");
}

TEST(ListSearch, MotorClassFieldsWriteTheAmountWithTwoDecimals) {
  const std::string list =
      Records({Fields({"PC", "Private car", "1234.5", "C", "X", "Y"}),
               Fields({"PC", "Second", "1", "", "", ""}),
               Fields({"MC", "Motorcycle", "", "", "", ""}), Fields({"BAD", "Broken", "abc"})});
  MotorClassFields fields;
  ASSERT_TRUE(FindMotorClassFields(list, "PC", fields));
  EXPECT_EQ(fields.field2 + " " + fields.field5, "1,234.50 Y");
  ASSERT_TRUE(FindMotorClassFields(list, "MC", fields));
  EXPECT_EQ(fields.field2, "");
  EXPECT_FALSE(FindMotorClassFields(list, "XX", fields));
  EXPECT_EQ(fields.field1, "Motorcycle");  // unchanged
  EXPECT_THROW(FindMotorClassFields(list, "BAD", fields), RuntimeFailure);
}

}  // namespace
}  // namespace cn::testing
