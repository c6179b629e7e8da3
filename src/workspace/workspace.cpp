#include "workspace/workspace.h"

#include <optional>
#include <string>

#include "base/date_reader.h"
#include "base/runtime_failure.h"
#include "integration/dates.h"

namespace cn {

DateTime SystemDateTime(const Workspace& workspace) {
  const std::string now = GetSystemDateTime(workspace.components, workspace.local_clock);
  const std::optional<DateTime> read = ReadDateTime(now);
  if (!read) {
    throw RuntimeFailure(failure::kTypeMismatch, "Type mismatch: \"" + now + "\" is not a date",
                         "SystemDateTime");
  }
  return *read;
}

}  // namespace cn
