// The Cover tab: its handlers against the page's elements.

#include "pages/cover/cnaa_cov.h"

#include <array>

namespace cn {

namespace {

struct HandlerBinding {
  std::string_view id;
  std::string_view event;
  void (CNAACov::*handler)();
};

}  // namespace

CNAACov::CNAACov(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : Page(workspace, std::move(document)) {
  Bind();
}

std::unique_ptr<Page> CNAACov::Make(Workspace& workspace,
                                    std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAACov>(workspace, std::move(document));
}

void CNAACov::Bind() {
  static constexpr std::array<HandlerBinding, 45> kBindings{{
      // Reading a cover note.
      {"cmdReadCNoteNo", "onclick", &CNAACov::cmdReadCNoteNo_onclick},
      {"cmdReadCNoteNo", "onkeydown", &CNAACov::cmdreadcnoteno_onkeydown},
      {"txtCoverNoteNumber", "onkeypress", &CNAACov::txtCoverNoteNumber_onkeypress},
      // Cover details.
      {"cboClassCode", "onchange", &CNAACov::cboClassCode_onchange},
      {"cboMotorCoverCode", "onchange", &CNAACov::cboMotorCoverCode_onchange},
      {"cboTransactionType", "onchange", &CNAACov::cboTransactionType_onchange},
      {"optPrivateCover", "onclick", &CNAACov::optPrivateCover_onclick},
      {"optCommercialCover", "onclick", &CNAACov::optCommercialCover_onclick},
      {"optMotorcycleCover", "onclick", &CNAACov::optMotorcycleCover_onclick},
      {"optFTZYes", "onclick", &CNAACov::optFTZYes_onclick},
      {"optFTZNo", "onclick", &CNAACov::optFTZNo_onclick},
      {"txtDateOfIssue", "onblur", &CNAACov::txtDateOfIssue_onblur},
      {"txtEffectiveDate", "onblur", &CNAACov::txtEffectiveDate_onblur},
      {"txtEffectiveDate", "onkeypress", &CNAACov::txtEffectiveDate_onkeypress},
      {"txtExpiryDate", "onblur", &CNAACov::txtExpiryDate_onblur},
      {"txtExpiryDate", "onkeypress", &CNAACov::txtExpiryDate_onkeypress},
      {"txtLicenseDate", "onblur", &CNAACov::txtLicenseDate_onblur},
      {"txtVehicleNumber", "onblur", &CNAACov::txtVehicleNumber_onblur},
      {"txtVehicleNumber", "onkeypress", &CNAACov::txtVehicleNumber_onkeypress},
      {"txtTrailerNumber", "onblur", &CNAACov::txtTrailerNumber_onblur},
      {"cmdSelectMortgagee", "onclick", &CNAACov::cmdSelectMortgagee_onclick},
      {"cmdSelectMortgagee", "onkeypress", &CNAACov::cmdSelectMortgagee_onkeypress},
      {"cmdSelectMortgagee", "onmouseover", &CNAACov::cmdSelectMortgagee_onmouseover},
      {"txtMortgagee", "onkeypress", &CNAACov::txtMortgagee_onkeypress},
      // Client details.
      {"cmdReadClientCode", "onclick", &CNAACov::cmdReadClientCode_onclick},
      {"cmdReadClientCode", "onkeypress", &CNAACov::cmdReadClientCode_onkeypress},
      {"cmdSearchClientCode", "onclick", &CNAACov::cmdSearchClientCode_onclick},
      {"cmdSearchClientCode", "onkeypress", &CNAACov::cmdSearchClientCode_onkeypress},
      {"txtClientCode", "onkeypress", &CNAACov::txtClientCode_onkeypress},
      {"optPersonalType", "onclick", &CNAACov::optPersonalType_onclick},
      {"optCompanyType", "onclick", &CNAACov::optCompanyType_onclick},
      {"chkNewAdd", "onclick", &CNAACov::chkNewAdd_onclick},
      {"txtName", "onblur", &CNAACov::txtName_onblur},
      {"txtNRIC", "onblur", &CNAACov::txtNRIC_onblur},
      {"txtOldNRIC", "onblur", &CNAACov::txtOldNRIC_onblur},
      {"txtOldNRIC", "onclick", &CNAACov::txtOldNRIC_onclick},
      {"txtBusinessRegistration", "onblur", &CNAACov::txtBusinessRegistration_onblur},
      {"txtAddress", "onblur", &CNAACov::txtAddress_onblur},
      {"txtPostal", "onblur", &CNAACov::txtPostal_onblur},
      {"txtHouseTel", "onblur", &CNAACov::txtHouseTel_onblur},
      {"txtBizTel", "onblur", &CNAACov::txtBizTel_onblur},
      {"txtMobileTel", "onblur", &CNAACov::txtMobileTel_onblur},
      {"txtEmail", "onblur", &CNAACov::txtEmail_onblur},
      {"txtEmail", "onkeypress", &CNAACov::txtEmail_onkeypress},
      {"cboState", "onchange", &CNAACov::cboState_onchange},
  }};
  for (const HandlerBinding& binding : kBindings) {
    On(binding.id, binding.event, binding.handler);
  }
}

}  // namespace cn
