// Filling the record from a ReadAdmin reply (the layouts' positions, the order of the fill's
// steps, replies that are short, empty or hold something unreadable) and reading and writing the
// record's fields by name, as the scenario transcript does.

#include "workspace/record_fill.h"

#include <gtest/gtest.h>

#include <map>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "workspace/cover_note_record.h"
#include "workspace/field_catalogue.h"
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

CoverNoteRecord Fill(const std::map<int, std::string>& values) {
  CoverNoteRecord record;
  FillFromReadAdminReply(record, Reply(values), {});
  return record;
}

// ---- The layouts' positions ---------------------------------------------------------------

// Every position of a reply is read by one field, but for the few read twice (a date and its
// time, the number as replied and as typed) and those no field reads. The golden read scenarios
// pin which field each position fills; this pins that none is lost or read twice.
TEST(ReadLayouts, EachPositionIsReadOnceButTheKnownGapsAndPairs) {
  // clang-format off
  // `read`: first and last positions of each span.
  struct Case { std::string_view name; ReplyLayout layout; std::vector<std::pair<int, int>> read;
                std::vector<int> unread, twice; };
  const Case cases[] = {
      {"ReadAdmin", ReadAdminLayout(), {{0, 177}}, {90, 91, 92, 124, 125}, {1, 2, 28}},
      {"CoverNote.Read", CoverNoteReadLayout(), {{2, 65}, {69, 89}, {93, 101}, {113, 115},
       {117, 118}, {123, 123}, {151, 151}, {163, 163}, {196, 205}}, {}, {2, 28}},
      {"Policy.Read", PolicyReadLayout(), {{2, 102}},
       {13, 14, 15, 23, 26, 27, 72, 80, 81, 82, 83, 94, 95, 96, 97, 101}, {}}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::map<int, int> expected;
    for (const auto& [first, last] : c.read)
      for (int position = first; position <= last; ++position) ++expected[position];
    for (const int position : c.unread) expected.erase(position);
    for (const int position : c.twice) ++expected[position];
    std::map<int, int> actual;
    for (const LayoutRow& row : c.layout) ++actual[row.position];
    EXPECT_EQ(actual, expected);
  }
}

// The rest of the empty-value rules, the lists' lengths and the typed number are pinned by the
// golden read-fill scenario.
TEST(ReadAdminFill, EmptyAmountsStayEmptyAndTimesAndTelephonesAreConverted) {
  EXPECT_EQ(Fill({}).Current.GrossPremium, "");
  EXPECT_EQ(Fill({{58, "1500"}}).Current.GrossPremium, "1,500.00");
  const CoverNoteRecord given = Fill({{28, "05/03/2014 14:05:09"}, {8, "03-1234-5678"}});
  EXPECT_EQ(given.EffectiveTime, "02:05:09 PM");
  EXPECT_EQ(given.Current.HouseTel, "0312345678");
}

// ---- Replies that are short, empty or unreadable ---------------------------------------------

// The steps the fill calls out to, noted in order.
ReadAdminSteps Noting(Texts& steps, const CoverNoteRecord& record) {
  return {
      .ReadPreviousDocument = [&](std::string_view) { steps.push_back("previous"); },
      // clang-format off
      .TypedCoverNoteNo = [&] { steps.push_back("typed number"); return std::string("TYPED"); },
      // clang-format on
      .LoadClientAsRead = [&] { steps.push_back("client '" + record.Current.ClientCode + "'"); }};
}

// A short reply fills what it has and goes on; an empty one leaves the record as the defaults
// made it and calls no step.
TEST(ReadAdminFill, AShortReplyFillsWhatItHasAndAnEmptyOneNothing) {
  CoverNoteRecord record;
  Texts steps;
  FillFromReadAdminReply(record, Reply({{0, "KEY"}, {3, "TAN AH KOW"}}, 21), Noting(steps, record));
  EXPECT_EQ((Texts{record.Current.ClientName, record.Current.GarageCode, record.Current.TownCode,
                   Join(record.Current.DriverNames, ","), Join(record.Current.ClaimAmounts, ",")}),
            (Texts{"TAN AH KOW", "03", "", "", ""}));
  EXPECT_EQ(steps, (Texts{"typed number", "client ''"}));

  record.Current.DriverNames = {"INSURED", "B"};
  const CoverNoteRecord before = record;
  steps.clear();
  FillFromReadAdminReply(record, SplitReplyFields(""), Noting(steps, record));
  EXPECT_EQ(record, before);
  EXPECT_TRUE(steps.empty());
}

TEST(ReadAdminFill, AnUnreadableValueNamesItsPositionAndField) {
  for (const auto& [position, value, name] : {std::tuple{2, "not a date", "position 2 (IssueDate)"},
                                              {41, "1,5x7", "position 41 (Capacity)"},
                                              {132, "maybe", "position 132 (HasExInsurer)"}}) {
    CoverNoteRecord record;
    try {
      FillFromReadAdminReply(record, Reply({{position, value}}), {});
      ADD_FAILURE() << name << " was accepted";
    } catch (const RuntimeFailure& failure) {
      EXPECT_NE(failure.description().find(name), std::string::npos) << failure.Text();
    }
  }
}

// An empty reply leaves the previous document alone; empty driver names give one empty row.
TEST(PreviousFill, AnEmptyReplyLeavesPreviousAloneAndEmptyDriverNamesGiveOneEmptyRow) {
  CoverNoteRecord record;
  record.Previous.Change([](CoverNoteFields& fields) { fields.ClassCode = "A1"; });
  const CoverNoteRecord before = record;
  FillPreviousFromReply(record, PreviousDocument::kCoverNote, {});
  FillPreviousFromReply(record, PreviousDocument::kPolicy, SplitPolicyReplyFields("x"));
  EXPECT_EQ(record, before);
  FillPreviousFromReply(record, PreviousDocument::kCoverNote,
                        Reply({{99, Join({"IC1", "IC2"}, DialogArgSeparator)}}, 206));
  const CoverNoteFields previous = record.Previous.Unpack();
  for (const TextArray column : kNamedDriverArrays) EXPECT_EQ(previous.*column, Texts{""});
}

TEST(FieldCatalogue, TextFormsOfTheFieldKinds) {
  CoverNoteRecord record;
  const std::string two = "A" + std::string(DialogArgSeparator) + "B";
  for (const auto& [name, text] : {std::pair<std::string_view, std::string>{"ScopeOfCover", "-3"},
                                    {"HasExInsurer", "true"}, {"DriverNames", two}, {"ClaimAmounts", ""},
                                    {"ExtUserPremiumMarks", "True" + std::string(DialogArgSeparator) + "0"}})
    SetFieldText(record, Instance::kCurrent, name, text);
  EXPECT_EQ(record.Current.ScopeOfCover, -3);
  EXPECT_TRUE(record.Current.HasExInsurer);
  EXPECT_EQ(record.Current.DriverNames, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(record.Current.ClaimAmounts, std::vector<std::string>{""});
  EXPECT_EQ(record.ExtUserPremiumMarks, (std::vector<bool>{true, false}));
  // Reading them back as text is what every golden transcript does.
}

TEST(FieldCatalogue, BadNamesAndValuesAreRefusedWithoutAChange) {
  CoverNoteRecord record;
  record.Current.ScopeOfCover = 7;
  EXPECT_THROW(GetFieldText(record, Instance::kCurrent, "NoSuchField"), RuntimeFailure);
  for (const auto& [name, text] : {std::pair{"clientname", "x"}, {"ScopeOfCover", "7a"}, {"ScopeOfCover", ""},
                                   {"HasExInsurer", "yes"}})
    EXPECT_THROW(SetFieldText(record, Instance::kCurrent, name, text), RuntimeFailure) << name << " " << text;
  EXPECT_EQ(record.Current.ScopeOfCover, 7);
  EXPECT_EQ(record.Current.ClientName, "");
}

// The earlier document is kept packed: every field comes back as it was, long texts and lists
// of empty texts included.
TEST(PackedFields, GivesBackEveryFieldAsItWas) {
  CoverNoteRecord record;
  const std::string sep(DialogArgSeparator);
  int n = 0;
  for (const Instance instance : {Instance::kCurrent, Instance::kPrevious}) {
    for (const FieldInfo& field : kFieldCatalogue) {
      const std::string value = std::to_string(++n * (field.BesideRecord() ? 1 : -1));
      const std::string text = field.kind == FieldKind::kBoolean     ? "True"
                               : field.kind == FieldKind::kFlagArray ? "True" + sep + "False" + sep + "0"
                               : field.kind == FieldKind::kTextArray ? value + sep + sep + std::string(n % 300, 'x')
                                                                     : value;
      if (field.BesideRecord() && instance == Instance::kPrevious) continue;
      SetFieldText(record, instance, field, text);
      if (field.kind != FieldKind::kFlagArray) {
        EXPECT_EQ(GetFieldText(record, instance, field), text) << field.name;
      }
    }
  }
  record.Current.ScopeOfCover = -123456;
  EXPECT_EQ(PackedFields(record.Current).Unpack(), record.Current);
  EXPECT_EQ(PackedFields(CoverNoteFields{}), PackedFields());
}

}  // namespace
}  // namespace cn
