// Placeholder bodies until the client details are written.

#include "pages/cover/cnaa_cov.h"

namespace cn {

void CNAACov::cmdReadClientCode_onclick() {}
void CNAACov::cmdReadClientCode_onkeypress() {}
void CNAACov::cmdSearchClientCode_onclick() {}
void CNAACov::cmdSearchClientCode_onkeypress() {}
void CNAACov::txtClientCode_onkeypress() {}
void CNAACov::optPersonalType_onclick() {}
void CNAACov::optCompanyType_onclick() {}
void CNAACov::chkNewAdd_onclick() {}
void CNAACov::txtName_onblur() {}
void CNAACov::txtNRIC_onblur() {}
void CNAACov::txtOldNRIC_onblur() {}
void CNAACov::txtOldNRIC_onclick() {}
void CNAACov::txtBusinessRegistration_onblur() {}
void CNAACov::txtAddress_onblur() {}
void CNAACov::txtPostal_onblur() {}
void CNAACov::txtHouseTel_onblur() {}
void CNAACov::txtBizTel_onblur() {}
void CNAACov::txtMobileTel_onblur() {}
void CNAACov::txtEmail_onblur() {}
void CNAACov::txtEmail_onkeypress() {}
void CNAACov::cboState_onchange() {}
std::string CNAACov::ReadClient(std::string_view /*unused*/) { return {}; }
void CNAACov::ShowClient(std::string_view /*unused*/) {}
void CNAACov::LoadClientAsRead() {}
void CNAACov::ApplyPersonalType() {}
void CNAACov::ApplyCompanyType() {}

}  // namespace cn
