// The Cover tab: its handlers against the page's elements.

#include "pages/cover/cnaa_cov.h"

namespace cn {

CNAACov::CNAACov(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : Page(workspace, std::move(document)) {
  Bind();
}

std::unique_ptr<Page> CNAACov::Make(Workspace& workspace,
                                    std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAACov>(workspace, std::move(document));
}

void CNAACov::Bind() {
  static constexpr auto kHandlers = dom::SortedRows({
      // Reading a cover note.
      {"cmdReadCNoteNo", "onclick", Handler<&CNAACov::cmdReadCNoteNo_onclick>},
      {"cmdReadCNoteNo", "onkeydown", Handler<&CNAACov::cmdreadcnoteno_onkeydown>},
      {"txtCoverNoteNumber", "onkeypress", Handler<&CNAACov::txtCoverNoteNumber_onkeypress>},
      // Cover details.
      {"cboClassCode", "onchange", Handler<&CNAACov::cboClassCode_onchange>},
      {"cboMotorCoverCode", "onchange", Handler<&CNAACov::cboMotorCoverCode_onchange>},
      {"cboTransactionType", "onchange", Handler<&CNAACov::cboTransactionType_onchange>},
      {"optPrivateCover", "onclick", Handler<&CNAACov::optPrivateCover_onclick>},
      {"optCommercialCover", "onclick", Handler<&CNAACov::optCommercialCover_onclick>},
      {"optMotorcycleCover", "onclick", Handler<&CNAACov::optMotorcycleCover_onclick>},
      {"optFTZYes", "onclick", Handler<&CNAACov::optFTZYes_onclick>},
      {"optFTZNo", "onclick", Handler<&CNAACov::optFTZNo_onclick>},
      {"txtDateOfIssue", "onblur", Handler<&CNAACov::txtDateOfIssue_onblur>},
      {"txtEffectiveDate", "onblur", Handler<&CNAACov::txtEffectiveDate_onblur>},
      {"txtEffectiveDate", "onkeypress", Handler<&CNAACov::txtEffectiveDate_onkeypress>},
      {"txtExpiryDate", "onblur", Handler<&CNAACov::txtExpiryDate_onblur>},
      {"txtExpiryDate", "onkeypress", Handler<&CNAACov::txtExpiryDate_onkeypress>},
      {"txtLicenseDate", "onblur", Handler<&CNAACov::txtLicenseDate_onblur>},
      {"txtVehicleNumber", "onblur", Handler<&CNAACov::txtVehicleNumber_onblur>},
      {"txtVehicleNumber", "onkeypress", Handler<&CNAACov::txtVehicleNumber_onkeypress>},
      {"txtTrailerNumber", "onblur", Handler<&CNAACov::txtTrailerNumber_onblur>},
      {"cmdSelectMortgagee", "onclick", Handler<&CNAACov::cmdSelectMortgagee_onclick>},
      {"cmdSelectMortgagee", "onkeypress", Handler<&CNAACov::cmdSelectMortgagee_onkeypress>},
      {"cmdSelectMortgagee", "onmouseover", Handler<&CNAACov::cmdSelectMortgagee_onmouseover>},
      {"txtMortgagee", "onkeypress", Handler<&CNAACov::txtMortgagee_onkeypress>},
      // Client details.
      {"cmdReadClientCode", "onclick", Handler<&CNAACov::cmdReadClientCode_onclick>},
      {"cmdReadClientCode", "onkeypress", Handler<&CNAACov::cmdReadClientCode_onkeypress>},
      {"cmdSearchClientCode", "onclick", Handler<&CNAACov::cmdSearchClientCode_onclick>},
      {"cmdSearchClientCode", "onkeypress", Handler<&CNAACov::cmdSearchClientCode_onkeypress>},
      {"txtClientCode", "onkeypress", Handler<&CNAACov::txtClientCode_onkeypress>},
      {"optPersonalType", "onclick", Handler<&CNAACov::optPersonalType_onclick>},
      {"optCompanyType", "onclick", Handler<&CNAACov::optCompanyType_onclick>},
      {"chkNewAdd", "onclick", Handler<&CNAACov::chkNewAdd_onclick>},
      {"txtName", "onblur", Handler<&CNAACov::txtName_onblur>},
      {"txtNRIC", "onblur", Handler<&CNAACov::txtNRIC_onblur>},
      {"txtOldNRIC", "onblur", Handler<&CNAACov::txtOldNRIC_onblur>},
      {"txtOldNRIC", "onclick", Handler<&CNAACov::txtOldNRIC_onclick>},
      {"txtBusinessRegistration", "onblur", Handler<&CNAACov::txtBusinessRegistration_onblur>},
      {"txtAddress", "onblur", Handler<&CNAACov::txtAddress_onblur>},
      {"txtPostal", "onblur", Handler<&CNAACov::txtPostal_onblur>},
      {"txtHouseTel", "onblur", Handler<&CNAACov::txtHouseTel_onblur>},
      {"txtBizTel", "onblur", Handler<&CNAACov::txtBizTel_onblur>},
      {"txtMobileTel", "onblur", Handler<&CNAACov::txtMobileTel_onblur>},
      {"txtEmail", "onblur", Handler<&CNAACov::txtEmail_onblur>},
      {"txtEmail", "onkeypress", Handler<&CNAACov::txtEmail_onkeypress>},
      {"cboState", "onchange", Handler<&CNAACov::cboState_onchange>},
  });
  BindHandlers(kHandlers);
}

}  // namespace cn
