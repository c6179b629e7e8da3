#pragma once
// The driving licence field of the Cover tab: a new cover note records the date
// the licence was issued, any other transaction the years of driving.

#include <cstdint>
#include <string>
#include <string_view>

#include "dom/document.h"
#include "workspace/workspace.h"

namespace cn {

// Label and length of "txtLicenseDate" for the transaction type "cboTransactionType"
// shows: a date (42 characters) for "N", years of driving (2 characters) otherwise.
void ShowLicenceLabel(dom::Document& cover_page);

// Whole years from the licence date's year to the system date's year, ignoring
// day and month; 0 for an empty date. A text that is not a date throws
// RuntimeFailure.
std::int32_t LicenceYears(const Workspace& workspace, std::string_view licence_date);

// 1 January of the system date's year less `years`, as date text: 3 years in
// 2014 give 01-Jan-2011.
std::string LicenceDateFromYears(const Workspace& workspace, std::int32_t years);

}  // namespace cn
