#include "pages/premium/premium_replies.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "workspace/field_catalogue.h"

namespace cn {
namespace {

// {position, field}; a figure of the current engine is stored with two decimals, one of
// the new tariff as it comes.
struct FigureRow {
  consteval FigureRow(int position, std::string_view field)
      : position(position), field(FieldNamed(field).text) {
    if (FieldNamed(field).kind != FieldKind::kText) throw "a figure fills a text field";
  }
  int position;
  std::string CoverNoteFields::*field;
};

struct ReplyShape {
  std::span<const FigureRow> figures;
  int extended_premiums;  // position of the per-row premiums
  int excess;             // position of the proposed excess
  std::size_t length;     // positions the reply must have
};

constexpr FigureRow kCurrentEngineFigures[] = {
    {0, "PremiumField46"},  {1, "PremiumField47"},        {2, "TariffPremium"},
    {3, "LoadPercentage"},  {4, "LoadAmount"},            {5, "NCDAmount"},
    {6, "BasicPremium"},    {7, "GrossPremium"},          {8, "PremiumField59"},
    {14, "ServiceTaxPercentage"}, {15, "ServiceTaxAmount"}, {16, "StampDuty"},
    {17, "TotalPremium"},   {21, "AllRiderPremium"},      {23, "TotalExtPremium"},
    {25, "ExtraLoading"},   {26, "OTCAmount"},
};
constexpr ReplyShape kCurrentEngine{kCurrentEngineFigures, 22, 9, 27};

constexpr FigureRow kCurrentEngineExFigures[] = {
    {1, "PremiumField46"},   {2, "PremiumField47"},       {3, "TariffPremium"},
    {4, "LoadPercentage"},   {5, "LoadAmount"},           {6, "AllRiderPremium"},
    {7, "NCDAmount"},        {8, "BasicPremium"},         {10, "TotalExtPremium"},
    {11, "TotalSumInsured"}, {12, "GrossPremium"},        {13, "PremiumField59"},
    {17, "ServiceTaxPercentage"}, {18, "ServiceTaxAmount"}, {19, "TransferFee"},
    {20, "StampDuty"},       {21, "TotalPremium"},        {23, "ExtraLoading"},
    {24, "OTCAmount"},
};
constexpr ReplyShape kCurrentEngineEx{kCurrentEngineExFigures, 9, 22, 25};
constexpr FigureRow kCurrentEngineTransaction[] = {
    {11, "PremiumField87"}, {12, "AltGrossPremium"}, {13, "PremiumField89"}};
constexpr std::size_t kCurrentEngineTransactionLength = 14;

constexpr FigureRow kNewTariffFigures[] = {
    {1, "PremiumField46"},      {2, "PremiumField47"},      {3, "TariffPremium"},
    {4, "RMTUseRate"},          {5, "RMTStateRate"},        {6, "RMTDriverRate"},
    {7, "RMTGenderRate"},       {8, "RMTNCDYearRate"},      {9, "RMTVehicleMakeRate"},
    {10, "RMTCapacityRate"},    {11, "RMTVehicleAgeRate"},  {12, "RMTSumInsuredRate"},
    {13, "RMTRate"},            {14, "BasicPremium"},       {16, "TotalExtPremium"},
    {17, "TotalSumInsured"},    {18, "GrossPremium"},       {19, "PremiumField70"},
    {20, "PremiumField71"},     {21, "ServiceTaxPercentage"}, {22, "ServiceTaxAmount"},
    {23, "TransferFee"},        {24, "StampDuty"},          {25, "TotalPremium"},
};
constexpr ReplyShape kNewTariff{kNewTariffFigures, 15, 26, 27};
constexpr FigureRow kNewTariffTransaction[] = {{17, "PremiumField87"}, {18, "AltGrossPremium"}};
constexpr std::size_t kNewTariffTransactionLength = 19;

bool IsFigure(std::string_view text) { return text.empty() || Currency::TryParse(text); }

// The figure as it is kept: two decimals from the current engine (an empty one is 0).
std::string Kept(RatingEngine engine, std::string_view text) {
  if (engine == RatingEngine::kNewTariff) return std::string(text);
  return FormatMoney2(text.empty() ? Currency() : *Currency::TryParse(text));
}

bool AllFigures(std::span<const FigureRow> rows, const std::vector<std::string>& values) {
  return std::all_of(rows.begin(), rows.end(),
                     [&](const FigureRow& row) { return IsFigure(values[row.position]); });
}

void Store(CoverNoteFields& current, RatingEngine engine, std::span<const FigureRow> rows,
           const std::vector<std::string>& values) {
  for (const FigureRow& row : rows) current.*row.field = Kept(engine, values[row.position]);
}

}  // namespace

RatingReply SplitRatingReply(RatingEngine engine, bool ex_command, std::string_view reply) {
  if (!ex_command) return {engine, Split(reply, FieldSeparator), std::nullopt};
  const std::vector<std::string> parts = Split(reply, ParamSeparator);
  RatingReply split{engine, Split(parts.empty() ? std::string() : parts[0], FieldSeparator),
                    std::vector<std::string>()};
  if (parts.size() > 1) split.transaction = Split(parts[1], FieldSeparator);
  return split;
}

bool StoreRatingReply(CoverNoteFields& current, const RatingReply& reply, bool excess_entered) {
  const bool ex = reply.transaction.has_value();
  const bool current_engine = reply.engine == RatingEngine::kCurrent;
  const ReplyShape& shape = current_engine ? (ex ? kCurrentEngineEx : kCurrentEngine) : kNewTariff;
  const std::span<const FigureRow> transaction_rows =
      current_engine ? std::span<const FigureRow>(kCurrentEngineTransaction)
                     : std::span<const FigureRow>(kNewTariffTransaction);
  const std::size_t transaction_length =
      current_engine ? kCurrentEngineTransactionLength : kNewTariffTransactionLength;

  const std::vector<std::string>& figures = reply.figures;
  if (figures.size() < shape.length || !AllFigures(shape.figures, figures)) return false;
  if (!excess_entered && !IsFigure(figures[shape.excess])) return false;
  if (ex && (reply.transaction->size() < transaction_length ||
             !AllFigures(transaction_rows, *reply.transaction))) {
    return false;
  }
  const std::vector<std::string> premiums = Split(figures[shape.extended_premiums],
                                                  DialogArgSeparator);
  if (!std::all_of(premiums.begin(), premiums.end(), IsFigure)) return false;

  Store(current, reply.engine, shape.figures, figures);
  if (ex) Store(current, reply.engine, transaction_rows, *reply.transaction);
  if (!excess_entered) current.ExcessAmount = Kept(reply.engine, figures[shape.excess]);

  if (current_engine) {
    // A compulsory excess is the motorcyclist's or the driver's.
    const Currency excess = Currency::TryParse(current.ExcessAmount).value_or(Currency());
    current.ExcessCode =
        excess.units() <= 0 ? "" : (current.CoverType == "MOTORCYCLE" ? "MC" : "DC");
  }

  // A row the engine did not price keeps the premium it had; a price for no row is dropped.
  const std::size_t rows = std::min(premiums.size(), current.ExtCoverPremiums.size());
  for (std::size_t row = 0; row < rows; ++row) {
    if (!premiums[row].empty()) current.ExtCoverPremiums[row] = Kept(reply.engine, premiums[row]);
  }
  Currency sum_insured;
  for (const std::string& value : current.ExtCoverSumInsured) {
    if (!value.empty()) sum_insured += Currency::TryParse(value).value_or(Currency());
  }
  current.TotalExtSumInsured = FormatMoney2(sum_insured);
  return true;
}

}  // namespace cn
