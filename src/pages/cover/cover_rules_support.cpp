#include "pages/cover/cover_rules_support.h"

#include <cstdint>
#include <string>

#include "base/text.h"
#include "integration/fill_select.h"
#include "integration/system_codes.h"

namespace cn {
namespace {

constexpr std::int32_t kInsuredAsDriver = 1030;
constexpr std::int32_t kCoversWithInsuredDriver = 1061;
constexpr int kLastCodePoint = 0x10FFFF;

}  // namespace

void ForgetTypedFigures(PremiumState& premium) {
  premium.TariffPremiumEntered = false;
  premium.LoadPercentageEntered = false;
  premium.ExcessEntered = false;
}

void ReplaceOptions(dom::Document& page, std::string_view select_id,
                    const std::vector<std::string>& list) {
  const std::shared_ptr<dom::Element> select = page.GetElementById(select_id);
  select->SetInnerHtml("");
  FillSelect(select, list, 0, 1, true, false);
}

void ResetDriversForMotorCover(Workspace& workspace, dom::Document& page) {
  CoverNoteFields& fields = workspace.record.Current;
  ResetNamedDrivers(fields);
  const bool personal = page.GetElementById("optPersonalType")->Checked();
  const std::string motor_cover = page.GetElementById("cboMotorCoverCode")->Value();
  if (personal && IsInSystemCodeList(workspace.lookup, workspace.components, motor_cover,
                                     kCoversWithInsuredDriver)) {
    fields.DriverNames.front() =
        GetSystemCode(workspace.lookup, workspace.components, kInsuredAsDriver);
  }
}

// UCase's letters (ASCII and Latin-1) each have their capital 32 code points below.
int UpperCaseKey(int key_code) {
  if (key_code <= 0 || key_code > kLastCodePoint) return key_code;
  const std::string typed = Utf8(static_cast<char32_t>(key_code));
  return UCase(typed) == typed ? key_code : key_code - 32;
}

}  // namespace cn
