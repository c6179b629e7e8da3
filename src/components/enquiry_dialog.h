#pragma once
// The enquiry dialog ("dlgEnq.htm"). Its argument says what it is for:
//   "CoverNote Enquiry" <U+FFFD> agent code <U+FFFD> user id
//       find a cover note by its number, vehicle number or client name; returns the number;
//   "Client Enquiry" <U+FFFD> agent code <U+FFFD> user id [<U+FFFD> list]
//       choose a client from the list given (code, name, old IC, new IC, business
//       registration, address, town, postcode, state per entry), or find one by name or
//       identity number; returns the client code.
// Searches go to the back end under the session's own components; a cover-note search sees
// only the agent's own cover notes unless the agent is the head office.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "components/dialog_list.h"
#include "integration/components.h"

namespace cn::components {

enum class EnquiryKind { kCoverNote, kClient, kUnknown };

struct EnquiryArgument {
  EnquiryKind kind = EnquiryKind::kUnknown;
  std::string agent_code;
  std::string user_id;
  bool has_list = false;
  std::string list;
};

EnquiryArgument ParseEnquiryArgument(std::string_view argument);

// What the dialog may search by: the back end's keyword and the label the administrator sees.
struct EnquirySearch {
  std::string_view by;
  std::string_view label;
};
std::span<const EnquirySearch> EnquirySearches(EnquiryKind kind);

// What the dialog shows as it opens: headings, and the rows of a list it was given.
DialogList EnquiryOpening(const EnquiryArgument& argument);

// A query the dialog does not offer (an unknown "by", an overlong text).
class BadEnquiry : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Runs one search. Nothing found, too many found and a failed command come back as the
// list's notice; a query the dialog does not offer throws BadEnquiry.
DialogList SearchEnquiry(const Components& components, const EnquiryArgument& argument,
                         std::string_view by, std::string_view text);

}  // namespace cn::components
