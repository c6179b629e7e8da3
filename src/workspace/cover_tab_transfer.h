#pragma once
// Rules of the Cover tab's transfer that the Cover tab's own handlers share.

#include <string>
#include <vector>

#include "workspace/workspace.h"

namespace cn {

// True when the vehicle or the trailer number of Current is the placeholder number of a
// vehicle not yet registered (system code 1031), compared ignoring case. Such a cover
// note carries no real period of cover and cannot be saved here.
bool HasPlaceholderVehicleNumber(Workspace& workspace);
// That number, upper-cased.
std::string PlaceholderVehicleNumber(Workspace& workspace);

enum class CoverTypeKind { kPrivate = 0, kCommercial = 1, kMotorcycle = 2 };

// The motor class list of a cover type, fetched on first use and kept in the workspace.
const std::vector<std::string>& CoverTypeClassList(Workspace& workspace, CoverTypeKind kind);

// The client the save writes, taken again from Current's client fields.
void RefreshClientCopy(Workspace& workspace);

}  // namespace cn
