#pragma once
// The client master is written back with the cover note only when the administrator changed
// the client's address or contact details (or, for the identity numbers, corrected them).

#include <string>
#include <string_view>

#include "workspace/client_details.h"

namespace cn {

// Whether the edited client differs from the client as read where the save looks: the
// address (letter case ignored), the identity numbers of the client type ("P" or "C"), and
// the telephone numbers and e-mail exactly.
bool ClientChanged(const ClientDetails& edited, const ClientDetails& as_read,
                   std::string_view client_type);

// The parameters of the client write: code, user, and the 23 client fields with identity
// as read and address and contact details as edited.
std::string ClientWriteParameters(const ClientDetails& edited, const ClientDetails& as_read,
                                  std::string_view user_id);

}  // namespace cn
