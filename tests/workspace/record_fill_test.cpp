// Filling the record from a ReadAdmin reply: the layouts' positions, the order of the fill's
// steps, and replies that are short, empty or hold something unreadable.
#include "workspace/record_fill.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "workspace/read_layouts.h"

namespace cn {
namespace {

using Texts = std::vector<std::string>;

constexpr int kReadAdminPositions = 178;

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

// The rest of the empty-value rules, the lists' lengths and the typed number are pinned by the
// golden read-fill scenario.
TEST(ReadAdminFill, EmptyAmountsReadAsZeroAndTimesAndTelephonesAreConverted) {
  EXPECT_EQ(Fill({}).Current.GrossPremium, "0.00");
  const CoverNoteRecord given = Fill({{28, "05/03/2014 14:05:09"}, {8, "03-1234-5678"}});
  EXPECT_EQ(given.EffectiveTime, "02:05:09 PM");
  EXPECT_EQ(given.Current.HouseTel, "0312345678");
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

  EXPECT_EQ((Texts{record.Current.ClientName, record.Current.GarageCode, record.Current.TownCode}),
            (Texts{"TAN AH KOW", "03", ""}));
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
  for (const auto& [position, value, name] :
       {std::tuple{2, "not a date", "position 2 (IssueDate)"},
        std::tuple{41, "1,5x7", "position 41 (Capacity)"},
        std::tuple{132, "maybe", "position 132 (HasExInsurer)"}}) {
    CoverNoteRecord record;
    try {
      FillFromReadAdminReply(record, Reply({{position, value}}), {});
      ADD_FAILURE() << name << " was accepted";
    } catch (const RuntimeFailure& failure) {
      EXPECT_NE(failure.description().find(name), std::string::npos) << failure.Text();
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
                        Reply({{99, Join({"IC1", "IC2"}, DialogArgSeparator)}}, 206));
  for (const TextArray column : kNamedDriverArrays) {
    EXPECT_EQ(record.Previous.*column, Texts{""});
  }
}

}  // namespace
}  // namespace cn
