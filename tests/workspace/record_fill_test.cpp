// Filling the record from a ReadAdmin reply: the empty-value rules, the arrays'
// re-dimensioning, the order of the fill's steps, and replies that are short,
// empty or hold something unreadable.
#include "workspace/record_fill.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "workspace/read_layouts.h"

namespace cn {
namespace {

using Texts = std::vector<std::string>;

constexpr int kReadAdminPositions = 178;

std::string List(std::initializer_list<std::string_view> elements) {
  std::string text;
  bool first = true;
  for (const std::string_view element : elements) {
    if (!first) text += DialogArgSeparator;
    text += element;
    first = false;
  }
  return text;
}

// A full-length reply, empty except at the given positions.
Texts Reply(const std::map<int, std::string>& values, int size = kReadAdminPositions) {
  Texts reply(static_cast<std::size_t>(size));
  for (const auto& [position, value] : values) reply[static_cast<std::size_t>(position)] = value;
  return reply;
}

CoverNoteRecord Fill(const std::map<int, std::string>& values, const ReadAdminSteps& steps = {}) {
  CoverNoteRecord record;
  FillFromReadAdminReply(record, Reply(values), steps);
  return record;
}

// ---- The layouts' positions ---------------------------------------------------------------

// Every position of a reply is read by one field, but for the few read twice (a date and its
// time, the number as replied and as typed) and those no field reads. The golden read scenarios
// pin which field each position fills; this pins that none is lost or read twice.
TEST(ReadLayouts, EachPositionIsReadOnceButTheKnownGapsAndPairs) {
  struct Span {
    int first, last;
  };
  struct Case {
    std::string_view name;
    ReplyLayout layout;
    std::vector<Span> read;
    std::vector<int> unread, twice;
  };
  const Case cases[] = {
      {"ReadAdmin", ReadAdminLayout(), {{0, 177}}, {90, 91, 92, 124, 125}, {1, 2, 28}},
      {"CoverNote.Read",
       CoverNoteReadLayout(),
       {{2, 65}, {69, 89}, {93, 101}, {113, 115}, {117, 118}, {123, 123}, {151, 151}, {163, 163},
        {196, 205}},
       {},
       {2, 28}},
      {"Policy.Read",
       PolicyReadLayout(),
       {{2, 102}},
       {13, 14, 15, 23, 26, 27, 72, 80, 81, 82, 83, 94, 95, 96, 97, 101},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::map<int, int> expected;
    for (const Span& span : c.read) {
      for (int position = span.first; position <= span.last; ++position) ++expected[position];
    }
    for (const int position : c.unread) expected.erase(position);
    for (const int position : c.twice) ++expected[position];
    std::map<int, int> actual;
    for (const LayoutRow& row : c.layout) ++actual[row.position];
    EXPECT_EQ(actual, expected);
  }
}

// ---- Named drivers ----------------------------------------------------------------------

TEST(ReadAdminFill, EmptyDriverNamesGiveOneEmptyRowInAllEightColumns) {
  const CoverNoteRecord record = Fill({{102, "850101-01-5555"}, {119, "D123"}});
  for (const TextArray column : kNamedDriverArrays) {
    EXPECT_EQ(record.Current.*column, Texts{""});
  }
}

TEST(ReadAdminFill, DriverColumnsTakeTheLengthOfTheNames) {
  const CoverNoteRecord record =
      Fill({{61, List({"ALI", "BEN"})}, {119, List({"L1", "L2", "L3"})}, {120, "01-01-2000"}});
  const CoverNoteFields& current = record.Current;
  EXPECT_EQ(current.DriverNames, (Texts{"ALI", "BEN"}));
  EXPECT_EQ(current.DriverICNos, (Texts{"", ""}));                   // empty: emptied to the names
  EXPECT_EQ(current.DriverLicenceNos, (Texts{"L1", "L2"}));          // longer: cut
  EXPECT_EQ(current.DriverLicenceDates, (Texts{"01-01-2000", ""}));  // shorter: padded
  for (const TextArray column : kNamedDriverArrays) {
    EXPECT_EQ((current.*column).size(), 2u);
  }
}

// ---- Extended covers ----------------------------------------------------------------------

TEST(ReadAdminFill, ExtendedCoversFollowTheirCodes) {
  const CoverNoteRecord record =
      Fill({{62, List({"101", "112"})}, {63, List({"5000", "0"})}, {65, "150.00"}});
  const CoverNoteFields& current = record.Current;
  EXPECT_EQ(current.ExtCoverPercentages, (Texts{"", ""}));
  EXPECT_EQ(current.ExtCoverPremiums, (Texts{"150.00", ""}));
  EXPECT_EQ(current.ExtCoverMethods, (Texts{"", ""}));
  EXPECT_EQ(record.ExtUserPremiumMarks, (std::vector<bool>{false, false}));
}

TEST(ReadAdminFill, NoExtendedCoverCodesEmptyEveryExtendedCoverColumn) {
  const CoverNoteRecord record = Fill({{63, List({"5000", "0"})}, {65, "150.00"}});
  for (const TextArray column : kExtCoverArrays) {
    EXPECT_EQ(record.Current.*column, Texts{""});
  }
  EXPECT_EQ(record.ExtUserPremiumMarks, std::vector<bool>{false});
}

// ---- Claims ------------------------------------------------------------------------------

TEST(ReadAdminFill, ClaimColumnsKeepTheirOwnLengths) {
  const CoverNoteRecord record =
      Fill({{141, List({"01-02-2012", "03-04-2013"})}, {142, "WXY1234"}, {145, List({"1", "2"})}});
  const CoverNoteFields& current = record.Current;
  EXPECT_EQ(current.ClaimVehicleNos, Texts{"WXY1234"});
  EXPECT_EQ(current.ClaimInsurers, Texts{""});
  EXPECT_EQ(current.ClaimAmounts, (Texts{"1", "2"}));
}

TEST(ReadAdminFill, NoAccidentDatesEmptyEveryClaimColumn) {
  const CoverNoteRecord record = Fill({{142, "WXY1234"}, {145, "100"}});
  for (const TextArray column : kClaimArrays) {
    EXPECT_EQ(record.Current.*column, Texts{""});
  }
}

// ---- Values that stand in for an empty reply value ---------------------------------------

TEST(ReadAdminFill, MaritalStatusFollowsTheClientType) {
  struct Case {
    std::string client_type;
    std::string reply_value;
    std::string expected;
  };
  const Case cases[] = {
      {"P", "", "S"},  // a person without a status is single
      {"P", "M", "M"},
      {"C", "M", "3"},  // a company has no marital status, whatever the reply says
      {"C", "", "3"},
  };
  for (const Case& c : cases) {
    const CoverNoteRecord record = Fill({{15, c.client_type}, {96, c.reply_value}});
    EXPECT_EQ(record.Current.MaritalStatus, c.expected)
        << "client type " << c.client_type << ", reply \"" << c.reply_value << "\"";
  }
}

TEST(ReadAdminFill, EmptyGarageLockAndSafetyValuesGetTheirDefaults) {
  const CoverNoteRecord empty = Fill({});
  EXPECT_EQ(empty.Current.GarageCode, "03");
  EXPECT_EQ(empty.Current.GSLock, "0");
  EXPECT_EQ(empty.Current.LockType, "0");
  EXPECT_EQ(empty.Current.SafetyFeature, "99");

  EXPECT_EQ(Fill({{97, "01"}}).Current.GarageCode, "01");
}

TEST(ReadAdminFill, EmptyDatesStayEmptyAndEmptyAmountsReadAsZero) {
  const CoverNoteRecord empty = Fill({});
  EXPECT_EQ(empty.Current.MaintenanceFrom, "");
  EXPECT_EQ(empty.EffectiveTime, "");
  EXPECT_EQ(empty.Current.ExtraLoading, "");  // no extra loading, rather than a zero one
  EXPECT_EQ(empty.Current.Capacity, "0.00");
  EXPECT_EQ(empty.Current.GrossPremium, "0.00");

  const CoverNoteRecord given = Fill({{147, "2014-03-05"},
                                      {148, "05/03/2015"},
                                      {154, "12.5"},
                                      {28, "05/03/2014 14:05:09"},
                                      {8, "03-1234-5678"}});
  EXPECT_EQ(given.Current.MaintenanceFrom, "05-Mar-2014");
  EXPECT_EQ(given.Current.MaintenanceTo, "05-Mar-2015");
  EXPECT_EQ(given.Current.ExtraLoading, "12.50");
  EXPECT_EQ(given.EffectiveTime, "02:05:09 PM");
  EXPECT_EQ(given.Current.HouseTel, "0312345678");
}

TEST(ReadAdminFill, ExInsurerIsABoolean) {
  EXPECT_TRUE(Fill({{132, "-1"}}).Current.HasExInsurer);
  EXPECT_FALSE(Fill({{132, "0"}}).Current.HasExInsurer);
  EXPECT_FALSE(Fill({}).Current.HasExInsurer);
}

// ---- The cover note number ------------------------------------------------------------------

TEST(ReadAdminFill, TheTypedNumberReplacesTheRepliedOne) {
  const CoverNoteRecord record =
      Fill({{1, "cn0001234"}}, {.TypedCoverNoteNo = [] { return std::string("CN0001234"); }});
  EXPECT_EQ(record.Current.ReadCoverNoteNo, "cn0001234");
  EXPECT_EQ(record.Current.CoverNoteNo, "CN0001234");
}

// ---- The previous document and the order of the steps ----------------------------------------

struct StepLog {
  std::vector<std::string> steps = {};
  CoverNoteRecord* record = nullptr;

  ReadAdminSteps Steps() {
    return {
        .ReadPreviousDocument =
            [this](std::string_view number) {
              steps.push_back("previous '" + std::string(number) + "' client code '" +
                              record->Current.ClientCode + "'");
            },
        .TypedCoverNoteNo =
            [this] {
              steps.push_back("typed number");
              return std::string("TYPED");
            },
        .LoadClientAsRead =
            [this] { steps.push_back("client '" + record->Current.ClientCode + "'"); },
    };
  }
};

// ---- Replies that are short, empty or unreadable ---------------------------------------------

TEST(ReadAdminFill, AShortReplyFillsWhatItHasAndGoesOn) {
  CoverNoteRecord record;
  StepLog log{.record = &record};
  FillFromReadAdminReply(record, Reply({{0, "KEY"}, {3, "TAN AH KOW"}}, 21), log.Steps());

  EXPECT_EQ(record.Current.ClientName, "TAN AH KOW");
  EXPECT_EQ(record.Current.GarageCode, "03");
  EXPECT_EQ(record.Current.TownCode, "");
  EXPECT_EQ(record.Current.DriverNames, Texts{""});
  EXPECT_EQ(record.Current.ClaimAmounts, Texts{""});
  EXPECT_EQ(log.steps, (Texts{"typed number", "client ''"}));
}

TEST(ReadAdminFill, AnEmptyReplyLeavesTheRecordAsTheDefaultsMadeIt) {
  CoverNoteRecord record;
  record.Current.GarageCode = "01";
  record.Current.DriverNames = {"INSURED"};
  const CoverNoteRecord before = record;
  StepLog log{.record = &record};

  FillFromReadAdminReply(record, SplitReplyFields(""), log.Steps());

  EXPECT_EQ(record, before);
  EXPECT_TRUE(log.steps.empty());
}

TEST(ReadAdminFill, AnUnreadableValueNamesItsPositionAndField) {
  const std::map<int, std::string> bad_values[] = {
      {{2, "not a date"}}, {{41, "1,5x7"}}, {{132, "maybe"}}};
  const char* names[] = {"position 2 (IssueDate)", "position 41 (Capacity)",
                         "position 132 (HasExInsurer)"};
  for (std::size_t i = 0; i < std::size(bad_values); ++i) {
    CoverNoteRecord record;
    try {
      FillFromReadAdminReply(record, Reply(bad_values[i]), {});
      ADD_FAILURE() << names[i] << " was accepted";
    } catch (const RuntimeFailure& failure) {
      EXPECT_NE(failure.description().find(names[i]), std::string::npos) << failure.Text();
    }
  }
}

TEST(PreviousFill, AnEmptyReplyLeavesPreviousAlone) {
  CoverNoteRecord record;
  record.Previous.ClassCode = "A1";
  const CoverNoteRecord before = record;
  FillPreviousFromReply(record, PreviousDocument::kCoverNote, {});
  FillPreviousFromReply(record, PreviousDocument::kPolicy, SplitPolicyReplyFields("x"));
  EXPECT_EQ(record, before);
}

TEST(PreviousFill, EmptyDriverNamesGiveOneEmptyDriverRow) {
  CoverNoteRecord record;
  FillPreviousFromReply(record, PreviousDocument::kCoverNote,
                        Reply({{99, List({"IC1", "IC2"})}}, 206));
  for (const TextArray column : kNamedDriverArrays) {
    EXPECT_EQ(record.Previous.*column, Texts{""});
  }
}

}  // namespace
}  // namespace cn
