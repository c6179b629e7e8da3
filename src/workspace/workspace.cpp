#include "workspace/workspace.h"

#include "integration/conversions.h"
#include "integration/dates.h"

namespace cn {

DateTime SystemDateTime(const Workspace& workspace) {
  return RequireDateTime(GetSystemDateTime(workspace.components, workspace.local_clock),
                         "SystemDateTime");
}

}  // namespace cn
