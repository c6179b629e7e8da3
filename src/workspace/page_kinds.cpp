#include "pages/claims/cnaa_claims.h"
#include "pages/cover/cnaa_cov.h"
#include "pages/page.h"
#include "pages/premium/cnaa_nprm.h"
#include "pages/premium/cnaa_prm.h"
#include "pages/vehicle/cnaa_veh.h"
#include "workspace/cnaa_main.h"
#include "workspace/screen.h"

namespace cn {

// Pages get their logic here as their classes are written.
std::span<const PageKind> PageKinds() {
  static constexpr PageKind kKinds[] = {
      {"CNAAMain.htm", &CNAAMain::Make},
      {"CNAACov.htm", &CNAACov::Make},
      {"CNAAVeh.htm", &CNAAVeh::Make},
      {"CNAAClm.htm", &CNAAClaims::Make},
      {"CNAAPrm.htm", &CNAAPrm::Make},
      {"CNAANPrm.htm", &CNAANPrm::Make},
      {"CNAAOPrm.htm", &CNAAOPrm::Make},
  };
  return kKinds;
}

}  // namespace cn
