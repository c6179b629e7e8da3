// Placeholder bodies until the cover details rules are written.

#include "pages/cover/cnaa_cov.h"

namespace cn {

void CNAACov::GetUse() {}
void CNAACov::cboClassCode_onchange() {}
void CNAACov::cboMotorCoverCode_onchange() {}
void CNAACov::cboTransactionType_onchange() {}
void CNAACov::optPrivateCover_onclick() {}
void CNAACov::optCommercialCover_onclick() {}
void CNAACov::optMotorcycleCover_onclick() {}
void CNAACov::optFTZYes_onclick() {}
void CNAACov::optFTZNo_onclick() {}
void CNAACov::txtDateOfIssue_onblur() {}
void CNAACov::txtEffectiveDate_onblur() {}
void CNAACov::txtEffectiveDate_onkeypress() {}
void CNAACov::txtExpiryDate_onblur() {}
void CNAACov::txtExpiryDate_onkeypress() {}
void CNAACov::txtLicenseDate_onblur() {}
void CNAACov::txtVehicleNumber_onblur() {}
void CNAACov::txtVehicleNumber_onkeypress() {}
void CNAACov::txtTrailerNumber_onblur() {}
void CNAACov::cmdSelectMortgagee_onclick() {}
void CNAACov::cmdSelectMortgagee_onkeypress() {}
void CNAACov::cmdSelectMortgagee_onmouseover() {}
void CNAACov::txtMortgagee_onkeypress() {}
void CNAACov::ApplyCoverType(CoverKind /*unused*/) {}
void CNAACov::MarkClassChanged() {}
void CNAACov::ChoosePremiumTabByDate() {}

}  // namespace cn
