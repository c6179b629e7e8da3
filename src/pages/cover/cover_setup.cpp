// The Cover tab: preparing its elements when it loads.

#include "pages/cover/cnaa_cov.h"

namespace cn {

void CNAACov::DHTMLPage_Load() {}
void CNAACov::SetUpCoverTab() {}
void CNAACov::LockCoverTab() {}

}  // namespace cn
