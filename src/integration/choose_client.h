#pragma once
// The client choice dialog, for a client check that matched several clients.

#include <string>

#include "dom/document.h"
#include "integration/lookup_state.h"

namespace cn {

// Shows the matching clients in the enquiry dialog ("dlgEnq.htm", "Client
// Enquiry") and returns the chosen client's whole record, "" when the dialog is
// closed without a choice. `client_records` is replaced by the list the dialog was
// shown. A choice that is none of the records is reported with ShowRuntimeError
// and gives "".
std::string ChooseClient(dom::Document& document, const UserIdentity& identity,
                         std::string& client_records);

}  // namespace cn
