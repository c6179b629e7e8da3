#pragma once
// The extended-cover table of the premium tabs: one row per optional extension bought
// with the cover note (the extension, its sum insured, percentage and premium). Which
// figures may be typed follows the extension's calculation method; the premium itself
// is always priced by the rating engine. Stored covers are shown read-only; covers added
// on the tab are checked as they are typed, and any accepted change asks for the premium
// to be recomputed.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dom/window.h"
#include "tables/row_table.h"
#include "workspace/workspace.h"

namespace cn {

// A row's controls, in cell order.
inline constexpr std::array<std::string_view, 4> kExtCoverControls = {
    "cboExtendedCoverType", "txtSumInsured", "txtPercentage", "txtPremium"};

// The premium tab's link that removes the highlighted cover.
inline constexpr std::string_view kExtDeleteLinkId = "lnkExtDelete";

class ExtCover final : public RowTable {
 public:
  explicit ExtCover(Workspace& workspace);

  // The header table inside `oExtCoverHeaderCont`; true when done.
  bool BuildHeader(const std::shared_ptr<dom::Element>& oEEC,
                   const std::shared_ptr<dom::Element>& oExtCoverHeaderCont);
  // The empty body table inside `oExtCoverCont`, offering the extensions of
  // `SourceArray` (code, description, percentage, default premium, minimum premium,
  // method); true when done.
  bool BuildUI(const std::shared_ptr<dom::Element>& oEEC,
               const std::shared_ptr<dom::Element>& oExtCoverCont,
               std::vector<std::string> SourceArray);
  // Appends an editable row whose figures open as `sMethod` allows.
  bool Add(std::string_view sExtCoverCode, std::string_view sSumInsured,
           std::string_view sPercentage, std::string_view sPremium, std::string_view sMethod,
           bool UserValuePremium);
  // The row last appended becomes the highlighted one, so that the tab's link offers its
  // removal: a cover the administrator has just added is the one he is working on.
  void HighliteLastRow() { HighliteRow(last_row_index()); }
  // Appends a read-only row (a stored cover).
  bool AddDisplayExtCover(std::string_view sExtCoverCode, std::string_view sSumInsured,
                          std::string_view sPercentage, std::string_view sPremium,
                          bool UserValuePremium);
  // Rows with a cover chosen.
  std::int16_t GetNoOfExtCover() const;
  // Writes the rows with a cover, in row order from index 0, into the caller's arrays,
  // which must be large enough; `Recalculate` tells whether a row changed since Reset.
  void GetExtCover(std::vector<std::string>& ExtCode, std::vector<std::string>& ExtMethod,
                   std::vector<std::string>& ExtPercentage, std::vector<std::string>& ExtPremium,
                   std::vector<std::string>& ExtMinPremium, std::vector<std::string>& ExtSumInsured,
                   std::vector<bool>& UserInExtPrm, bool& Recalculate) const;
  // True when a row holds the NCD-relief extension.
  bool CheckNCDReliefExtendedCoverage() const;
  // Every row of the cover `sExtCoverCode` takes `ExtCoverSI` as its sum insured.
  void AutoDefaultWindscreenSI(std::string_view sExtCoverCode, std::string_view ExtCoverSI);
  // The rows have been priced: no recalculation is asked for until the next change.
  void Reset() { recalculate_ = false; }
  void ClearTable();
  // Removes the highlighted row (the first when none is) by rebuilding the table.
  void RemoveRow();

 protected:
  bool RunCommand(std::string_view command, std::int16_t row_index) override;

 private:
  // Row commands (ext_cover_rules.cpp).
  void HighliteRow(std::int32_t position);
  // The page's link that removes the highlighted row, shown or hidden.
  void ShowDeleteLink(bool shown) const;
  void RefreshExtCover(std::int32_t position);
  void CheckExtPremium(std::int32_t position);
  void CheckExtSumInsured(std::int32_t position);
  void CheckExtPercentage(std::int32_t position);

  // Opens and locks a row's figures for a calculation method.
  void ApplyExtMethod(std::string_view method, const dom::Element& row) const;
  // Empties a refused row: no cover, figures 0, nothing to type.
  void ResetRow(const dom::Element& row) const;
  // Another row than `position` holds `code`.
  bool HeldElsewhere(std::string_view code, std::int32_t position) const;
  // Shows a refusal of a typed figure.
  void Refuse(std::string_view message) const;

  std::shared_ptr<dom::Element> Control(std::int32_t position, std::string_view control_id) const;
  // The last row appended shows a cover (code, sum insured, percentage, premium) and
  // remembers whether its premium was typed.
  void ShowCover(const dom::Element& row, const std::array<std::string_view, 4>& values,
                 bool user_premium);
  std::string SystemCode(std::int32_t code) const;
  dom::Window& PageWindow() const;

  Workspace& workspace_;
  std::vector<std::string> source_;
  std::vector<bool> user_premium_;
  bool recalculate_ = false;
};

}  // namespace cn
