#include "pages/cover/cover_lock.h"

#include <array>

#include "dom/style.h"
#include "integration/locking.h"

namespace cn {
namespace {

// Shown, never edited, on this screen.
constexpr std::array kDisabledOnLock = {
    "cboClassCode", "cboClassUse", "cboCNStatus",  "cboGender",          "cboMaritalStat",
    "cboMotorCoverCode", "cboState", "cboTransactionType", "cboVehGar", "cboInsOcc",
    "cboNatBiz",    "chkNewAdd",   "cboTown",      "cboNationality",
};
constexpr std::array kHiddenOnLock = {"cmdReadClientCode", "cmdSearchClientCode",
                                      "cmdSelectMortgagee"};
constexpr std::array kReadOnlyOnLock = {
    "optCommercialCover", "optCompanyType", "optFTZNo", "optFTZYes", "optMotorcycleCover",
    "optPersonalType", "optPrivateCover", "optGSTRegisteredYes", "optGSTRegisteredNo",
    "optGSTVehBizUseYes", "optGSTVehBizUseNo", "txtGSTRegNo", "txtAddress", "txtAddress2",
    "txtAddress3", "txtAddress4", "txtBizTel", "txtBusinessRegistration", "txtClientCode",
    "txtDateOfIssue", "txtDOB", "txtDrivingLicenseClass", "txtDrivingLicenseNumber",
    "txtEffectiveDate", "txtEmail", "txtExpiryDate", "txtHouseTel", "txtLicenseDate",
    "txtMobileTel", "txtMortgagee", "txtName", "txtEmpName", "txtNRIC", "txtOldNRIC",
    "txtOldPolicy", "txtPostal", "txtTimeOfIssue", "txtTown", "txtTrailerNumber",
    "txtVehicleNumber",
};

}  // namespace

void LockCoverTabPage(dom::Document& page) {
  for (const char* id : kDisabledOnLock) page.GetElementById(id)->SetDisabled(true);
  for (const char* id : kHiddenOnLock) {
    page.GetElementById(id)->SetStyle(dom::StyleName::kVisibility, "hidden");
  }
  for (const char* id : kReadOnlyOnLock) LockInputKeepEnabled(*page.GetElementById(id));
}

}  // namespace cn
