#pragma once
// What the endorsement of a saved amendment says, from the cover note as it was before the
// save and as the save wrote it: who and what it covers, each field changed under the
// screen's caption, the premium before and after, and what the insured pays or gets back.

#include <functional>
#include <string>

#include "backend/document_store.h"
#include "base/date.h"
#include "documents/endorsement.h"

namespace cn::backend {

// A position of the saved record in the administrator's words.
using PositionCaption = std::function<std::string(int position)>;

// How the back end words its endorsements; the product gives it from its settings and the
// screen's captions.
struct EndorsementWording {
  documents::Insurer insurer;
  PositionCaption caption;  // "Field N" when not given
};

// What a code kept in a column means ("089" in "ext_cover.code": "BREAKAGE OF GLASS IN
// WINDSCREEN"); "" when it is not known.
using CodeMeaning = std::function<std::string(std::string_view column, std::string_view code)>;

struct SavedAmendment {
  std::string number;  // "CN24000101/E2"
  std::string user;    // as the endorsement names who saved it
  DateTime saved_at;
  CodeMeaning meaning;  // none: codes are printed alone
};

documents::Endorsement EndorsementContent(const EndorsementWording& wording,
                                          const SavedAmendment& amendment,
                                          const FieldValues& before, const FieldValues& after);

}  // namespace cn::backend
