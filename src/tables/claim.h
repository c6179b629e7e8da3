#pragma once
// The claims table of the NCD tab: one row per past accident (date, vehicle number,
// insurer, nature of the loss or injury, amount claimed). Stored claims are shown
// read-only; a row added on the tab opens its other boxes once its date is accepted.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "tables/row_table.h"
#include "workspace/workspace.h"

namespace cn {

// A row's controls, in cell order.
inline constexpr std::array<std::string_view, 5> kClaimControls = {
    "txtACCDATE", "txtVEHNO", "txtINSURER", "txtNATURE", "txtCLAIM"};

class Claim final : public RowTable {
 public:
  explicit Claim(Workspace& workspace);

  bool BuildHeader(const std::shared_ptr<dom::Element>& oEEC,
                   const std::shared_ptr<dom::Element>& oClaimHeaderDiv);
  bool BuildUI(const std::shared_ptr<dom::Element>& oEEC,
               const std::shared_ptr<dom::Element>& oClaimDiv);
  // An editable row; an empty amount shows as 0.
  bool Add(std::string_view sAccDate, std::string_view sVehNo, std::string_view sInsurer,
           std::string_view sNature, std::string_view sClaim);
  // A stored claim, read-only.
  bool AddDisplayClaim(std::string_view sAccDate, std::string_view sVehNo,
                       std::string_view sInsurer, std::string_view sNature,
                       std::string_view sClaim);
  // Writes the rows with an accident date, in row order, into the caller's arrays, which
  // must be large enough.
  void GetClaims(std::vector<std::string>& ClaimDate, std::vector<std::string>& VehicleNo,
                 std::vector<std::string>& Insurer, std::vector<std::string>& NatureOfLoss,
                 std::vector<std::string>& Amount) const;
  // Rows with an accident date.
  std::int32_t GetNoOfClaims() const;
  void ClearTable();
  // Removes the highlighted row; the rows kept come back editable.
  void RemoveRow();

 protected:
  bool RunCommand(std::string_view command, std::int16_t row_index) override;

 private:
  // Appends a row of these cells showing `values`; throws on a failing document call.
  void AddRow(std::span<const RowCell> cells, const std::array<std::string_view, 5>& values);
  void HighliteRow(std::int32_t row_index);
  void ValidateAccidentDate(std::int32_t row_index);
  void ValidateClaimAmount(std::int32_t row_index);
  // The rest of the row follows its date: open with one, emptied and locked without.
  void EnableClaimRow(const dom::Element& row, std::string_view accident_date);
  // Why a readable accident date is refused; "" when it is accepted.
  std::string AccidentDateRefusal(const Date& date) const;

  Workspace& workspace_;
  // Each row's last accepted date and amount, which a refused value gives way to.
  std::vector<std::array<std::string, 2>> accepted_;
};

}  // namespace cn
