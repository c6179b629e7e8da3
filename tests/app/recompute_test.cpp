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
#include "base/currency.h"
#include "base/date_format.h"
#include "base/separators.h"
#include "integration/components.h"
#include "integration/conversions.h"
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

enum class Engine { kCurrent, kNewTariff };

// Every note the screen can open, rated by the engine in force on its effective date, with
// the status the engine answers; a note answered with figures gets its stored ones back.
struct SampleNote {
  std::string_view number;
  std::string_view agent;
  Engine engine;
  std::int32_t status;
};
constexpr Engine kCur = Engine::kCurrent;
constexpr Engine kNew = Engine::kNewTariff;
constexpr SampleNote kNotes[] = {
    {"CN24000101", "A1001", kNew, 0},
    {"CN24000102", "A1001", kNew, 8},
    {"CN24000103", "A1001", kNew, 0},
    {"CN24000104", "A1001", kNew, 0},
    {"CN24000105", "A1001", kNew, 0},
    {"CN24000106", "A1001", kNew, 0},
    {"CN24000107", "A1001", kNew, 0},
    {"CN24000108", "A1001", kNew, 0},
    {"CN24000109", "A2001", kNew, 0},
    {"CN24000115", "A1001", kNew, 0},
    {"CN24000116", "A1001", kNew, 0},
    {"CN24000117", "A1001", kNew, 0},
    {"CN24000118", "B3001", kNew, 0},
    {"CN24000119", "B3001", kNew, 1},  // no base premium for a trailer on its own
    {"CN24000120", "A2001", kNew, 2},  // six NCD years
    {"CN24000121", "A1001", kNew, 3},  // 40 tonnes
    {"CN24000122", "A1001", kNew, 4},  // 30 years old
    {"CN24000123", "A1001", kNew, 5},  // sum insured over 500,000
    {"CN24000124", "A1001", kNew, 6},  // declined: 22 years old, comprehensive
    {"CN24000125", "A1001", kNew, 7},  // named driver over 80
    {"CN22000201", "A1001", kCur, 2},  // referred, and declined in the load amount
    {"CN22000202", "A1001", kCur, 3},  // no band for 40 tonnes
    {"CN22000203", "B3001", kCur, 4},  // no trailer band for 12 tonnes
    {"CN22000204", "A1001", kCur, 0},  // endorsement
    {"CN22000205", "A1001", kCur, 0},  // extension
    {"CN22000206", "A1001", kCur, 0},  // transfer
};

bool Answered(const SampleNote& note) {
  return note.status == 0 || note.status == (note.engine == kCur ? 2 : 8);
}

TEST(Recompute, EverySampleCoverNoteRatesToItsStoredFiguresOnItsOwnEngine) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("recompute-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const FixedClock clock({*Date::FromYmd(2026, 12, 5), *Time::FromHms(10, 0, 0)});
  {
    backend::Backend backend(dir / "sample.db", clock);
    for (const SampleNote& note : kNotes) {
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
        FillPreviousFromReply(
            ws.record, policy ? PreviousDocument::kPolicy : PreviousDocument::kCoverNote,
            policy ? SplitPolicyReplyFields(answer.reply) : SplitReplyFields(answer.reply));
      }};
      FillFromReadAdminReply(ws.record, SplitReplyFields(read.reply), steps);
      const CoverNoteFields stored = ws.record.Current;

      // As Calculate sends it on the engine's tab.
      const Date today = clock.Now().date;
      const std::string& type = stored.TransactionType;
      const bool current = note.engine == kCur;
      const bool as_change = type == "E" || type == "T" || (current && type == "D");
      if (current) ws.premium.LoadPercentageEntered = ws.premium.StampDutyEntered = true;
      if (current && !as_change) ws.premium.ExcessEntered = true;
      const auto factors = [&](FactorLayout layout, const CoverNoteFields& fields) {
        const std::vector<bool> none;
        const bool previous = &fields == &ws.record.Previous;
        return BuildFactors(layout,
                            {fields, previous ? none : ws.record.ExtUserPremiumMarks, ws, today});
      };
      backend::Result rated;
      if (!as_change) {
        rated = backend.Execute(
            current ? "Tarvin.Premium.ComputeV10" : "Tarvin.Premium.Compute",
            Params({factors(current ? CurrentEngineFactors() : NewTariffFactors(), stored), "0"}));
      } else {
        if (ws.record.Previous.TransactionType != "T") ws.record.Previous.TransferFee = "0.00";
        const std::string start =
            type == "E" ? FormatDate(RequireDate(ws.record.Previous.ExpiryDate, "t").AddDays(1))
                        : stored.EffectiveDate;
        const std::string previous =
            factors(current ? CurrentEnginePreviousFactors() : NewTariffPreviousFactors(),
                    ws.record.Previous);
        const std::string amended =
            factors(current ? CurrentEngineAmendedFactors() : NewTariffFactors(), stored);
        rated =
            backend.Execute(current ? "Tarvin.Premium.ComputeV10Ex" : "Tarvin.Premium.ComputeEx",
                            Params({previous, amended, start,
                                    type == "D"   ? "3"
                                    : type == "E" ? "0"
                                                  : "1"}));
      }
      EXPECT_EQ(rated.status, note.status);
      if (rated.status != note.status || !Answered(note)) {
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
        EXPECT_EQ(Currency::TryParse(recomputed.*field), Currency::TryParse(stored.*field))
            << recomputed.*field << " against " << stored.*field;
      }
      for (std::size_t row = 0; row < stored.ExtCoverPremiums.size(); ++row) {
        EXPECT_EQ(Currency::TryParse(recomputed.ExtCoverPremiums[row]),
                  Currency::TryParse(stored.ExtCoverPremiums[row]));
      }
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cn
