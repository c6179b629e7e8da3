#pragma once
// The endorsements an administrator opens from the screen (the saved message, the history):
// the PDF kept since the save, or the same content as an HTML print view. Only a logged-in
// session reads one, and only of its own agent's cover notes unless it is the head office.

#include <string>
#include <string_view>

#include "web/user_directory.h"

namespace cn::web {

struct EndorsementFile {
  enum class Outcome { kFound, kNotFound, kOtherAgent };
  Outcome outcome = Outcome::kNotFound;
  std::string number;  // as kept ("CN24000101/E2")
  std::string body;    // the PDF's bytes, or the print view's HTML
};

class Endorsements {
 public:
  virtual ~Endorsements() = default;
  // Called on an I/O thread; must be safe to call from several at once. A store that fails
  // throws.
  virtual EndorsementFile Pdf(const Identity& reader, std::string_view number) const = 0;
  // The print view links the PDF at `pdf_address`.
  virtual EndorsementFile PrintView(const Identity& reader, std::string_view number,
                                    std::string_view pdf_address) const = 0;
};

}  // namespace cn::web
