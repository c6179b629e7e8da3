#pragma once
// The Cover tab ("CNAACov.htm", tab id "COVCover"): reading a cover note for amendment,
// its cover details and their rules, the client details and the tab's set-up. On this
// administrator screen the tab is shown locked; only the cover note number and its read
// button stay usable, and the rules below run when the page logic itself triggers them.

#include <memory>
#include <string>
#include <string_view>

#include "pages/page.h"

namespace cn {

class CNAACov : public Page {
 public:
  CNAACov(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // The maker the screen's page factory lists for "CNAACov.htm".
  static std::unique_ptr<Page> Make(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // Fills "cboClassUse" with the uses of the record's class code.
  void GetUse();

 protected:
  // Tab set-up: the load prepares every element, shows the record, runs a pending read and
  // locks the tab.
  void DHTMLPage_Load() override;

 private:
  enum class CoverKind { kPrivate, kCommercial, kMotorcycle };

  // Every handler of the tab against its element and event.
  void Bind();

  // Tab set-up.
  void SetUpCoverTab();
  void LockCoverTab();

  // Reading a cover note.
  void cmdReadCNoteNo_onclick();
  void cmdreadcnoteno_onkeydown();
  void txtCoverNoteNumber_onkeypress();
  int ReadCoverNoteAdmin(std::string_view cover_note_no);
  void ReadPreviousDocument(std::string_view document_no);
  void ShowRecordOnCoverTab();
  std::string WhySaveIsOff();

  // Cover details rules.
  void cboClassCode_onchange();
  void cboMotorCoverCode_onchange();
  void cboTransactionType_onchange();
  void optPrivateCover_onclick();
  void optCommercialCover_onclick();
  void optMotorcycleCover_onclick();
  void optFTZYes_onclick();
  void optFTZNo_onclick();
  void txtDateOfIssue_onblur();
  void txtEffectiveDate_onblur();
  void txtEffectiveDate_onkeypress();
  void txtExpiryDate_onblur();
  void txtExpiryDate_onkeypress();
  void txtLicenseDate_onblur();
  void txtVehicleNumber_onblur();
  void txtVehicleNumber_onkeypress();
  void txtTrailerNumber_onblur();
  void cmdSelectMortgagee_onclick();
  void cmdSelectMortgagee_onkeypress();
  void cmdSelectMortgagee_onmouseover();
  void txtMortgagee_onkeypress();
  void ApplyCoverType(CoverKind kind);
  void MarkClassChanged();
  void ChoosePremiumTabByDate(std::string_view transaction_type);
  // The click of a cover type option and of a free-trade-zone option.
  void ChooseCoverKind(CoverKind kind);
  void ChooseFreeTradeZone(std::string_view option_id);

  // Client details.
  void cmdReadClientCode_onclick();
  void cmdReadClientCode_onkeypress();
  void cmdSearchClientCode_onclick();
  void cmdSearchClientCode_onkeypress();
  void txtClientCode_onkeypress();
  void optPersonalType_onclick();
  void optCompanyType_onclick();
  void chkNewAdd_onclick();
  void txtName_onblur();
  void txtNRIC_onblur();
  void txtOldNRIC_onblur();
  void txtOldNRIC_onclick();
  void txtBusinessRegistration_onblur();
  void txtAddress_onblur();
  void txtPostal_onblur();
  void txtHouseTel_onblur();
  void txtBizTel_onblur();
  void txtMobileTel_onblur();
  void txtEmail_onblur();
  void txtEmail_onkeypress();
  void cboState_onchange();
  std::string ReadClient(std::string_view client_code);
  void ShowClient(std::string_view reply);
  // Reads the client master of the record's client code into the client as read and
  // refreshes the client the save will write. Also the last step of a cover note read.
  void LoadClientAsRead();
  void ApplyPersonalType();
  void ApplyCompanyType();
  // Offers the clients the back end already holds under the name and this identity number.
  void FindExistingClient(std::string_view identity_number);

  // True while the load runs: the record is shown without leaving the premium flags changed.
  bool loading_ = false;
  // The behaviour attached to "txtLicenseDate" by the transaction type, detached before
  // another is attached.
  int licence_behaviour_id_ = 0;
  // The trailer number at its last change.
  std::string last_trailer_no_;
};

}  // namespace cn
