// The NCD tab: transfer between the record and the page. The previous insurance is a
// table of element and field; the NCD choices and the claims rows have steps of their own.

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/number_format.h"
#include "integration/fill_select.h"
#include "pages/premium/premium_compute.h"
#include "tables/claim.h"
#include "workspace/named_driver_check.h"
#include "workspace/same_value.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

struct NCDField {
  std::string_view element;
  std::string CoverNoteFields::*field;
};

constexpr NCDField kNCDFields[] = {
    {"txtExInsurer", &CoverNoteFields::ExInsurer},
    {"txtExInsurerBranch", &CoverNoteFields::ExInsurerBranch},
    {"txtExPolicyNo", &CoverNoteFields::ExPolicyNo},
    {"txtExVehNo", &CoverNoteFields::ExVehicleNo},
    {"txtExEffDate", &CoverNoteFields::ExEffectiveDate},
    {"txtExExpDate", &CoverNoteFields::ExExpiryDate},
    {"cboExNCD", &CoverNoteFields::ExNCDCode},
    {"txtNoNCDRemarks", &CoverNoteFields::NoNCDRemarks},
};

dom::Element& Get(dom::Document& page, std::string_view id) { return *page.GetElementById(id); }

}  // namespace

void NCDTabRecordToPage(Workspace& workspace, dom::Document& page, std::string_view /*tab_id*/) {
  const CoverNoteFields& current = workspace.record.Current;
  // The previous NCD is chosen among the NCD scale of the cover note's own class.
  PremiumState& premium = workspace.premium;
  if (!current.ClassCode.empty() &&
      (premium.NCDList.empty() || premium.NCDListClassCode != current.ClassCode)) {
    LoadNCDList(workspace, current.ClassCode, false);
  }
  Get(page, "cboExNCD").SetInnerHtml("");
  FillSelect(page.GetElementById("cboExNCD"), premium.NCDList, 0, 1, true, false);

  Get(page, "optExInsurerYes").SetChecked(current.HasExInsurer);
  Get(page, "optExInsurerNo").SetChecked(!current.HasExInsurer);
  for (const NCDField& row : kNCDFields)
    ShowStoredValue(Get(page, row.element), current.*row.field);

  Claim* table = workspace.claims.ClaimTable.get();
  if (table) {
    table->ClearTable();
    if (!current.ClaimAccidentDates.empty() && !current.ClaimAccidentDates.front().empty()) {
      for (std::size_t i = 0; i < current.ClaimAccidentDates.size(); ++i) {
        const auto at = [&](TextArray array) -> std::string_view {
          const std::vector<std::string>& values = current.*array;
          return i < values.size() ? std::string_view(values[i]) : std::string_view();
        };
        table->AddDisplayClaim(
            at(&CoverNoteFields::ClaimAccidentDates), at(&CoverNoteFields::ClaimVehicleNos),
            at(&CoverNoteFields::ClaimInsurers), at(&CoverNoteFields::ClaimNatures),
            at(&CoverNoteFields::ClaimAmounts));
      }
    }
  }
  Get(page, "lnkAccDelete").SetStyle("visibility", "hidden");
}

void NCDTabPageToRecord(Workspace& workspace, dom::Document& page, std::string_view /*tab_id*/) {
  CoverNoteFields& current = workspace.record.Current;
  ShownPage& shown = workspace.transfer.Shown;
  if (shown.Changed(page, "optExInsurerYes") || shown.Changed(page, "optExInsurerNo")) {
    current.HasExInsurer = Get(page, "optExInsurerYes").Checked();
  }
  for (const NCDField& row : kNCDFields) {
    if (shown.Changed(page, row.element)) current.*row.field = Get(page, row.element).Value();
  }
  dom::Element& ncd = Get(page, "cboExNCD");
  if (shown.Changed(page, "cboExNCD") && !ncd.Value().empty() && ncd.SelectedIndex() >= 0) {
    current.ExNCDText = ncd.Options().Item(ncd.SelectedIndex())->Text();
  }
  CheckNamedDriverExtCoverSilently(workspace);

  const Claim* table = workspace.claims.ClaimTable.get();
  if (!table) return;
  const auto claims = static_cast<std::size_t>(std::max(table->GetNoOfClaims(), 0));
  CoverNoteFields rows;
  for (const TextArray array : kClaimArrays) {
    (rows.*array).assign(std::max<std::size_t>(claims, 1), "");
  }
  table->GetClaims(rows.ClaimAccidentDates, rows.ClaimVehicleNos, rows.ClaimInsurers,
                   rows.ClaimNatures, rows.ClaimAmounts);
  // An amount shown grouped is the amount as read; the claims as they were shown stay as they
  // were read.
  for (std::size_t i = 0; i < std::min(rows.ClaimAmounts.size(), current.ClaimAmounts.size());
       ++i) {
    if (rows.ClaimAmounts[i] == FormatFigure(current.ClaimAmounts[i], 2))
      rows.ClaimAmounts[i] = current.ClaimAmounts[i];
  }
  if (SameArrays(rows, current, kClaimArrays)) return;
  for (const TextArray array : kClaimArrays) current.*array = std::move(rows.*array);
}

}  // namespace cn
