// The sample cover notes and the tariff agree, through the whole road a Calculate takes: the
// screen reads a note, builds the rating factors from it as it sends them, the embedded back
// end rates them, and the figures that come back are the note's own, to the cent.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "integration/components.h"
#include "integration/conversions.h"
#include "pages/premium/premium_replies.h"
#include "pages/premium/premium_requests.h"
#include "sample_database.h"
#include "workspace/record_fill.h"
#include "workspace/workspace.h"

namespace cn {
namespace {

using testing::Params;

// Every note the screen can open and the status its engine answers (docs/rating.md says
// why): the current engine for a note effective before the new tariff, else the new tariff.
// A note answered with figures gets its stored figures back.
constexpr std::pair<std::string_view, std::int32_t> kNotes[] = {
    {"CN24000101", 0}, {"CN24000102", 8}, {"CN24000103", 0}, {"CN24000104", 0}, {"CN24000105", 0},
    {"CN24000106", 0}, {"CN24000107", 0}, {"CN24000108", 0}, {"CN24000109", 0}, {"CN24000115", 0},
    {"CN24000116", 0}, {"CN24000117", 0}, {"CN24000118", 0}, {"CN24000119", 1}, {"CN24000120", 2},
    {"CN24000121", 3}, {"CN24000122", 4}, {"CN24000123", 5}, {"CN24000124", 6}, {"CN24000125", 7},
    {"CN22000201", 0}, {"CN22000202", 3}, {"CN22000203", 4}, {"CN22000204", 0}, {"CN22000205", 0},
    {"CN22000206", 0},
};
// Head office reads every agent's notes; the figures do not depend on the agent.
constexpr std::string_view kAgent = "HQ001";

TEST(Recompute, EverySampleCoverNoteRatesToItsStoredFiguresOnItsOwnEngine) {
  const testing::SampleDatabase sample("recompute");
  const Clock& clock = sample.clock;
  backend::Backend& backend = *sample.backend;
  for (const auto& [number, status] : kNotes) {
    SCOPED_TRACE(std::string(number));
    const Components components;
    Workspace ws(components, clock);
    ws.identity.CurrentAgentCode = std::string(kAgent);
    ws.startup.SystemCodes = {{1031, "TBA"}, {1026, "10.00"}};
    const backend::Result read =
        backend.Execute("KivoGIUWR.CoverNote.ReadAdmin", Params({number, kAgent, "0"}));
    ASSERT_EQ(read.status, 0);
    const ReadAdminSteps steps{.ReadPreviousDocument = [&](std::string_view previous) {
      const bool policy = previous.substr(0, 2) != "CN";
      const backend::Result answer =
          backend.Execute(policy ? "Tarvin.Policy.Read" : "KivoGIUWR.CoverNote.Read",
                          Params({previous, kAgent, "1"}));
      FillPreviousFromReply(
          ws.record, policy ? PreviousDocument::kPolicy : PreviousDocument::kCoverNote,
          policy ? SplitPolicyReplyFields(answer.reply) : SplitReplyFields(answer.reply));
    }};
    FillFromReadAdminReply(ws.record, SplitReplyFields(read.reply), steps);
    const CoverNoteFields stored = ws.record.Current;

    // As Calculate sends it on the engine's tab.
    const Date today = clock.Now().date;
    const std::string& type = stored.TransactionType;
    const bool current = *ReadDate(stored.EffectiveDate) < *Date::FromYmd(2022, 7, 1);
    const bool as_change = type == "E" || type == "T" || (current && type == "D");
    if (current) ws.premium.LoadPercentageEntered = ws.premium.StampDutyEntered = true;
    if (current && !as_change) ws.premium.ExcessEntered = true;
    const std::vector<bool> none;
    const auto factors = [&](FactorLayout layout, const CoverNoteFields& fields, bool previous) {
      return BuildFactors(layout,
                          {fields, previous ? none : ws.record.ExtUserPremiumMarks, ws, today});
    };
    const std::string amended =
        factors(!current ? NewTariffFactors()
                         : (as_change ? CurrentEngineAmendedFactors() : CurrentEngineFactors()),
                stored, false);
    std::string command = current ? "Tarvin.Premium.ComputeV10" : "Tarvin.Premium.Compute";
    std::string parameters = Params({amended, "0"});
    if (as_change) {
      CoverNoteFields earlier = ws.record.Previous.Unpack();
      if (earlier.TransactionType != "T") earlier.TransferFee = "0.00";
      const std::string start = type == "E"
                                    ? FormatDate(RequireDate(earlier.ExpiryDate, "t").AddDays(1))
                                    : stored.EffectiveDate;
      command += "Ex";
      parameters =
          Params({factors(current ? CurrentEnginePreviousFactors() : NewTariffPreviousFactors(),
                          earlier, true),
                  amended, start, type == "D" ? "3" : (type == "E" ? "0" : "1")});
    }
    const backend::Result rated = backend.Execute(command, parameters);
    EXPECT_EQ(rated.status, status);
    if (rated.status != status || (status != 0 && status != (current ? 2 : 8))) {
      EXPECT_EQ(rated.reply, "");
      continue;
    }
    CoverNoteFields recomputed = stored;
    ASSERT_TRUE(StoreRatingReply(
        recomputed,
        SplitRatingReply(current ? RatingEngine::kCurrent : RatingEngine::kNewTariff, as_change,
                         rated.reply),
        ws.premium.ExcessEntered));
    for (const auto field : {&CoverNoteFields::TariffPremium, &CoverNoteFields::LoadAmount,
                             &CoverNoteFields::NCDAmount, &CoverNoteFields::BasicPremium,
                             &CoverNoteFields::TotalExtPremium, &CoverNoteFields::GrossPremium,
                             &CoverNoteFields::ServiceTaxAmount, &CoverNoteFields::TotalPremium,
                             &CoverNoteFields::RMTRate}) {
      // The new tariff's figures are kept as its reply writes them: compare amounts.
      EXPECT_EQ(Currency::TryParse(recomputed.*field), Currency::TryParse(stored.*field));
    }
  }
}

}  // namespace
}  // namespace cn
