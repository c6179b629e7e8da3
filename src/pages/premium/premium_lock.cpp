#include "pages/premium/premium_lock.h"

#include <string_view>

#include "integration/locking.h"

namespace cn {
namespace {

// What locking does to each control of the three premium tabs; a tab without the control
// passes it by.
enum class Lock { kReadOnly, kDisabled, kGone };

struct LockRow {
  std::string_view id;
  Lock lock;
};

constexpr LockRow kLocks[] = {
    // Sums insured, premiums, charges and their rates.
    {"txtVehicleSumInsured", Lock::kReadOnly},
    {"txtTrailerSumInsured", Lock::kReadOnly},
    {"txtTariffPremium", Lock::kReadOnly},
    {"txtBasicPremium", Lock::kReadOnly},
    {"txtAllRiderPremium", Lock::kReadOnly},
    {"txtLoadPercentage", Lock::kReadOnly},
    {"txtLoadAmount", Lock::kReadOnly},
    {"txtNCDAmount", Lock::kReadOnly},
    {"txtExcessAmount1", Lock::kReadOnly},
    {"txtGSTGrossPremiumPercentage", Lock::kReadOnly},
    {"txtServiceTaxPercentage", Lock::kReadOnly},
    {"txtGSTTransferFeePercentage", Lock::kReadOnly},
    {"txtOtherCharges", Lock::kReadOnly},
    {"txtGSTOthChargePercentage", Lock::kReadOnly},
    {"txtStampDuty", Lock::kReadOnly},
    {"txtTotalExtSumIns", Lock::kReadOnly},
    {"txtTotalExtPrem", Lock::kReadOnly},
    // The new tariff's rating factors.
    {"txtRMTUseRate", Lock::kReadOnly},
    {"txtRMTStateRate", Lock::kReadOnly},
    {"txtRMTDriverRate", Lock::kReadOnly},
    {"txtRMTGenderRate", Lock::kReadOnly},
    {"txtRMTNCDYearRate", Lock::kReadOnly},
    {"txtRMTVehicleMakeRate", Lock::kReadOnly},
    {"txtRMTCapacityRate", Lock::kReadOnly},
    {"txtRMTVehicleAgeRate", Lock::kReadOnly},
    {"txtRMTSumInsuredRate", Lock::kReadOnly},
    {"txtRMTRate", Lock::kReadOnly},
    // The other premium tab.
    {"txtGrossPremium", Lock::kReadOnly},
    {"txtServiceTaxAmount", Lock::kReadOnly},
    {"txtTotalPremium", Lock::kReadOnly},
    {"txtRemark", Lock::kReadOnly},
    // Lists and check boxes.
    {"cboNCDYear", Lock::kDisabled},
    {"cboRegion", Lock::kDisabled},
    {"chkShortCal", Lock::kDisabled},
    {"chkTrailerNP", Lock::kDisabled},
    // No cover to add, none to remove.
    {"lnkExtAdd", Lock::kGone},
    {"lnkExtDelete", Lock::kGone},
};

}  // namespace

bool CalculateOffered(const Workspace& workspace) {
  return workspace.read.ReadOnlyReason.empty() && !workspace.identity.EnquiresOnly();
}

void LockPremiumTabIfReadOnly(const Workspace& workspace, dom::Window& window,
                              dom::Document& page) {
  if (CalculateOffered(workspace)) return;
  for (const auto& [id, lock] : kLocks) {
    const std::shared_ptr<dom::Element> control = page.FindElementById(id);
    if (!control) continue;
    switch (lock) {
      case Lock::kReadOnly:
        LockInputKeepEnabled(*control);
        break;
      case Lock::kDisabled:
        control->SetDisabled(true);
        break;
      case Lock::kGone:
        control->SetStyle("display", "none");
        break;
    }
  }
  window.SetStatus(workspace.read.ReadOnlyReason.empty() ? std::string(kEnquiryOnly)
                                                         : workspace.read.ReadOnlyReason);
}

}  // namespace cn
