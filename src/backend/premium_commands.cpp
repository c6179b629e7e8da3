// The four premium commands: read the factors, rate them by the tariff and answer
// the figures in the reply layouts, each a table of positions.

#include <array>
#include <span>

#include "backend/command.h"
#include "backend/premium_request.h"
#include "backend/rating.h"
#include "backend/tariff.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

enum class Style { kMoney, kRate, kExtPremiums };

struct ReplyRow {
  int position;
  Currency Figures::*figure;  // nullptr for the per-row extended-cover premiums
  Style style;
};

constexpr std::array kV10Reply = {
    ReplyRow{0, &Figures::vehicle_premium, Style::kMoney},
    ReplyRow{1, &Figures::trailer_premium, Style::kMoney},
    ReplyRow{2, &Figures::tariff_premium, Style::kMoney},
    ReplyRow{3, &Figures::load_percentage, Style::kMoney},
    ReplyRow{4, &Figures::load_amount, Style::kMoney},
    ReplyRow{5, &Figures::ncd_amount, Style::kMoney},
    ReplyRow{6, &Figures::basic_premium, Style::kMoney},
    ReplyRow{7, &Figures::gross_premium, Style::kMoney},
    ReplyRow{8, &Figures::zero, Style::kMoney},
    ReplyRow{9, &Figures::excess, Style::kMoney},
    ReplyRow{14, &Figures::service_tax_percentage, Style::kMoney},
    ReplyRow{15, &Figures::service_tax, Style::kMoney},
    ReplyRow{16, &Figures::stamp_duty, Style::kMoney},
    ReplyRow{17, &Figures::total_premium, Style::kMoney},
    ReplyRow{18, &Figures::commission_rate, Style::kMoney},
    ReplyRow{19, &Figures::commission, Style::kMoney},
    ReplyRow{20, &Figures::net_premium, Style::kMoney},
    ReplyRow{21, &Figures::zero, Style::kMoney},  // all-rider premium
    ReplyRow{22, nullptr, Style::kExtPremiums},
    ReplyRow{23, &Figures::total_ext_premium, Style::kMoney},
    ReplyRow{25, &Figures::zero, Style::kMoney},  // extra loading
    ReplyRow{26, &Figures::zero, Style::kMoney},  // over-the-counter amount
};

// Both parts of the Ex reply: the amended cover, then the transaction.
constexpr std::array kV10ExReply = {
    ReplyRow{1, &Figures::vehicle_premium, Style::kMoney},
    ReplyRow{2, &Figures::trailer_premium, Style::kMoney},
    ReplyRow{3, &Figures::tariff_premium, Style::kMoney},
    ReplyRow{4, &Figures::load_percentage, Style::kMoney},
    ReplyRow{5, &Figures::load_amount, Style::kMoney},
    ReplyRow{6, &Figures::zero, Style::kMoney},  // all-rider premium
    ReplyRow{7, &Figures::ncd_amount, Style::kMoney},
    ReplyRow{8, &Figures::basic_premium, Style::kMoney},
    ReplyRow{9, nullptr, Style::kExtPremiums},
    ReplyRow{10, &Figures::total_ext_premium, Style::kMoney},
    ReplyRow{11, &Figures::total_sum_insured, Style::kMoney},
    ReplyRow{12, &Figures::gross_premium, Style::kMoney},
    ReplyRow{13, &Figures::zero, Style::kMoney},
    ReplyRow{14, &Figures::commission_rate, Style::kMoney},
    ReplyRow{15, &Figures::commission, Style::kMoney},
    ReplyRow{16, &Figures::net_premium, Style::kMoney},
    ReplyRow{17, &Figures::service_tax_percentage, Style::kMoney},
    ReplyRow{18, &Figures::service_tax, Style::kMoney},
    ReplyRow{19, &Figures::transfer_fee, Style::kMoney},
    ReplyRow{20, &Figures::stamp_duty, Style::kMoney},
    ReplyRow{21, &Figures::total_premium, Style::kMoney},
    ReplyRow{22, &Figures::excess, Style::kMoney},
    ReplyRow{23, &Figures::zero, Style::kMoney},  // extra loading
    ReplyRow{24, &Figures::zero, Style::kMoney},  // over-the-counter amount
};

// Both parts of the new tariff's Ex reply too.
constexpr std::array kNewTariffReply = {
    ReplyRow{1, &Figures::vehicle_premium, Style::kMoney},
    ReplyRow{2, &Figures::trailer_premium, Style::kMoney},
    ReplyRow{3, &Figures::tariff_premium, Style::kMoney},
    ReplyRow{4, &Figures::use_rate, Style::kRate},
    ReplyRow{5, &Figures::state_rate, Style::kRate},
    ReplyRow{6, &Figures::driver_rate, Style::kRate},
    ReplyRow{7, &Figures::gender_rate, Style::kRate},
    ReplyRow{8, &Figures::ncd_years_rate, Style::kRate},
    ReplyRow{9, &Figures::make_rate, Style::kRate},
    ReplyRow{10, &Figures::capacity_rate, Style::kRate},
    ReplyRow{11, &Figures::vehicle_age_rate, Style::kRate},
    ReplyRow{12, &Figures::sum_insured_rate, Style::kRate},
    ReplyRow{13, &Figures::combined_rate, Style::kRate},
    ReplyRow{14, &Figures::basic_premium, Style::kMoney},
    ReplyRow{15, nullptr, Style::kExtPremiums},
    ReplyRow{16, &Figures::total_ext_premium, Style::kMoney},
    ReplyRow{17, &Figures::total_sum_insured, Style::kMoney},
    ReplyRow{18, &Figures::gross_premium, Style::kMoney},
    ReplyRow{19, &Figures::zero, Style::kMoney},
    ReplyRow{20, &Figures::zero, Style::kMoney},
    ReplyRow{21, &Figures::service_tax_percentage, Style::kMoney},
    ReplyRow{22, &Figures::service_tax, Style::kMoney},
    ReplyRow{23, &Figures::transfer_fee, Style::kMoney},
    ReplyRow{24, &Figures::stamp_duty, Style::kMoney},
    ReplyRow{25, &Figures::total_premium, Style::kMoney},
    ReplyRow{26, &Figures::excess, Style::kMoney},
};

// Two decimals without grouping: 1234.50.
std::string Money(Currency amount) { return Replace(FormatMoney2(amount), ",", ""); }

std::string BuildReply(std::span<const ReplyRow> layout, const Figures& figures) {
  std::vector<std::string> fields(static_cast<std::size_t>(layout.back().position + 1));
  for (const ReplyRow& row : layout) {
    std::string& field = fields[static_cast<std::size_t>(row.position)];
    switch (row.style) {
      case Style::kMoney:
        field = Money(figures.*row.figure);
        break;
      case Style::kRate:
        field = (figures.*row.figure).ToPlainText();
        break;
      case Style::kExtPremiums: {
        std::vector<std::string> premiums;
        for (const auto& premium : figures.ext_premiums) {
          premiums.push_back(premium ? Money(*premium) : std::string());
        }
        field = Join(premiums, DialogArgSeparator);
        break;
      }
    }
  }
  return Join(fields, FieldSeparator);
}

// The factors of one cover and the closing "0" of the plain commands.
std::optional<Factors> PlainRequest(std::span<const RequestRow> layout,
                                    std::string_view parameters) {
  const auto values = Split(parameters, ParamSeparator);
  if (values.size() != 2 || values[1] != "0") return std::nullopt;
  return ReadFactors(layout, values[0]);
}

struct ExRequest {
  Factors previous;
  Factors amended;
  Date start;
  int mode = 0;
};
std::optional<ExRequest> ReadExRequest(std::span<const RequestRow> previous_layout,
                                       std::span<const RequestRow> amended_layout,
                                       std::string_view parameters, int highest_mode) {
  const auto values = Split(parameters, ParamSeparator);
  if (values.size() != 4) return std::nullopt;
  auto previous = ReadFactors(previous_layout, values[0]);
  auto amended = ReadFactors(amended_layout, values[1]);
  const auto start = ReadDate(values[2]);
  const bool mode_reads = values[3].size() == 1 && values[3][0] >= '0' &&
                          values[3][0] <= static_cast<char>('0' + highest_mode);
  if (!previous || !amended || !start || !EqualsIgnoreCase(FormatDate(*start), values[2]) ||
      !mode_reads) {
    return std::nullopt;
  }
  return ExRequest{std::move(*previous), std::move(*amended), *start, values[3][0] - '0'};
}

// A decline on the plain command is answered in the load amount.
Result ComputeV10(CommandContext& context, std::string_view parameters) {
  const auto factors = PlainRequest(V10RequestLayout(), parameters);
  if (!factors) return Malformed();
  Tariff tariff(context.db);
  auto rating = RateCurrentEngine(tariff, *factors);
  if (!rating) return Malformed();
  if (rating->status >= current_engine::kNoBand) return Result{{}, rating->status};
  if (rating->declined) {
    rating->figures.load_amount = Currency::FromWhole(current_engine::kDeclinedLoadAmount);
  }
  return Result{BuildReply(kV10Reply, rating->figures), rating->status};
}

// The Ex form has no decline of its own: a declined risk is referred.
Result ComputeV10Ex(CommandContext& context, std::string_view parameters) {
  const auto request =
      ReadExRequest(V10PreviousRequestLayout(), V10ExRequestLayout(), parameters, 3);
  if (!request) return Malformed();
  Tariff tariff(context.db);
  const auto rating = RateCurrentEngine(tariff, request->amended);
  if (!rating) return Malformed();
  if (rating->status >= current_engine::kNoBand) return Result{{}, rating->status};
  const auto transaction = RateTransaction(tariff, rating->figures, request->amended,
                                           request->previous, request->start, request->mode);
  if (!transaction) return Malformed();
  return Result{BuildReply(kV10ExReply, rating->figures) + std::string(ParamSeparator) +
                    BuildReply(kV10ExReply, *transaction),
                rating->declined ? current_engine::kReferred : rating->status};
}

bool Answered(std::int32_t status) {
  return status == new_tariff::kRated || status == new_tariff::kReferred;
}

Result Compute(CommandContext& context, std::string_view parameters) {
  const auto factors = PlainRequest(NewTariffRequestLayout(), parameters);
  if (!factors) return Malformed();
  Tariff tariff(context.db);
  const auto rating = RateNewTariff(tariff, *factors);
  if (!rating) return Malformed();
  if (!Answered(rating->status)) return Result{{}, rating->status};
  return Result{BuildReply(kNewTariffReply, rating->figures), rating->status};
}

Result ComputeEx(CommandContext& context, std::string_view parameters) {
  const auto request =
      ReadExRequest(NewTariffPreviousRequestLayout(), NewTariffRequestLayout(), parameters, 1);
  if (!request) return Malformed();
  Tariff tariff(context.db);
  const auto rating = RateNewTariff(tariff, request->amended);
  if (!rating) return Malformed();
  if (!Answered(rating->status)) return Result{{}, rating->status};
  const auto transaction = RateTransaction(tariff, rating->figures, request->amended,
                                           request->previous, request->start, request->mode);
  if (!transaction) return Malformed();
  return Result{BuildReply(kNewTariffReply, rating->figures) + std::string(ParamSeparator) +
                    BuildReply(kNewTariffReply, *transaction),
                rating->status};
}

constexpr std::array kCommands = {
    CommandEntry{"Tarvin.Premium.ComputeV10", ComputeV10, Access::kRead},
    CommandEntry{"Tarvin.Premium.ComputeV10Ex", ComputeV10Ex, Access::kRead},
    CommandEntry{"Tarvin.Premium.Compute", Compute, Access::kRead},
    CommandEntry{"Tarvin.Premium.ComputeEx", ComputeEx, Access::kRead},
};

}  // namespace

std::span<const CommandEntry> PremiumCommands() { return kCommands; }

}  // namespace cn::backend
