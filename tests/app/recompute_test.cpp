// The sample cover notes and the tariff agree, through the whole road a Calculate takes: the
// screen reads a note, builds the rating factors from it as it sends them, the embedded back
// end rates them, and the figures that come back are the note's own, to the cent.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "base/clock.h"
#include "base/date_format.h"
#include "base/separators.h"
#include "integration/conversions.h"
#include "integration/components.h"
#include "pages/premium/premium_replies.h"
#include "pages/premium/premium_requests.h"
#include "workspace/record_fill.h"
#include "workspace/workspace.h"

namespace cn {
namespace {

std::string Params(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) {
    if (!text.empty() || part.data() != parts.begin()->data()) text += ParamSeparator;
    text += part;
  }
  return text;
}

struct SampleNote {
  std::string_view number;
  std::string_view agent;
};

TEST(Recompute, EverySampleCoverNoteRatesToItsStoredFigures) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("recompute-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const FixedClock clock({*Date::FromYmd(2026, 12, 5), *Time::FromHms(10, 0, 0)});
  {
    backend::Backend backend(dir / "sample.db", clock);
    const SampleNote notes[] = {
        {"CN24000101", "A1001"}, {"CN24000102", "A1001"}, {"CN24000103", "A1001"},
        {"CN24000104", "A1001"}, {"CN24000105", "A1001"}, {"CN24000106", "A1001"},
        {"CN24000107", "A1001"}, {"CN24000108", "A1001"}, {"CN24000109", "A2001"},
        {"CN24000115", "A1001"}, {"CN24000116", "A1001"},
        {"CN24000117", "A1001"}, {"CN24000118", "B3001"},
    };
    for (const SampleNote& note : notes) {
      SCOPED_TRACE(std::string(note.number));
      const Components components;
      Workspace ws(components, clock);
      ws.identity.CurrentAgentCode = std::string(note.agent);
      ws.startup.SystemCodes = {{1031, "TBA"}, {1026, "10.00"}};
      const backend::Result read =
          backend.Execute("KivoGIUWR.CoverNote.ReadAdmin", Params({note.number, note.agent, "0"}));
      ASSERT_EQ(read.status, 0);
      const ReadAdminSteps steps{.ReadPreviousDocument = [&](std::string_view previous) {
        const bool policy = previous.substr(0, 2) != "CN";
        const backend::Result answer =
            backend.Execute(policy ? "Tarvin.Policy.Read" : "KivoGIUWR.CoverNote.Read",
                            Params({previous, note.agent, "1"}));
        FillPreviousFromReply(ws.record, policy ? PreviousDocument::kPolicy
                                                : PreviousDocument::kCoverNote,
                              policy ? SplitPolicyReplyFields(answer.reply)
                                     : SplitReplyFields(answer.reply));
      }};
      FillFromReadAdminReply(ws.record, SplitReplyFields(read.reply), steps);
      const CoverNoteFields stored = ws.record.Current;

      // As Calculate sends it on the current engine.
      ws.premium.LoadPercentageEntered = ws.premium.ExcessEntered = true;
      ws.premium.StampDutyEntered = true;
      const Date today = clock.Now().date;
      const std::string& type = stored.TransactionType;
      const bool as_change = type == "E" || type == "T" || type == "D";
      backend::Result rated;
      if (!as_change) {
        const std::string factors = BuildFactors(
            CurrentEngineFactors(), {stored, ws.record.ExtUserPremiumMarks, ws, today});
        rated = backend.Execute("Tarvin.Premium.ComputeV10", Params({factors, "0"}));
      } else {
        if (ws.record.Previous.TransactionType != "T") ws.record.Previous.TransferFee = "0.00";
        const std::vector<bool> none;
        const std::string start =
            type == "E" ? FormatDate(RequireDate(ws.record.Previous.ExpiryDate, "t").AddDays(1))
                        : stored.EffectiveDate;
        rated = backend.Execute(
            "Tarvin.Premium.ComputeV10Ex",
            Params({BuildFactors(CurrentEnginePreviousFactors(), {ws.record.Previous, none, ws, today}),
                    BuildFactors(CurrentEngineAmendedFactors(),
                                 {stored, ws.record.ExtUserPremiumMarks, ws, today}),
                    start, type == "D" ? "3" : type == "E" ? "0" : "1"}));
      }
      ASSERT_TRUE(rated.status == 0 || rated.status == 2) << rated.status;
      CoverNoteFields recomputed = stored;
      ASSERT_TRUE(StoreRatingReply(
          recomputed, SplitRatingReply(RatingEngine::kCurrent, as_change, rated.reply), true));
      for (const auto field : {&CoverNoteFields::TariffPremium, &CoverNoteFields::LoadAmount,
                               &CoverNoteFields::NCDAmount, &CoverNoteFields::BasicPremium,
                               &CoverNoteFields::TotalExtPremium, &CoverNoteFields::GrossPremium,
                               &CoverNoteFields::ServiceTaxAmount, &CoverNoteFields::TotalPremium}) {
        EXPECT_EQ(recomputed.*field, stored.*field);
      }
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cn
