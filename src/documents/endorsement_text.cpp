#include <nlohmann/json.hpp>

#include "base/runtime_failure.h"
#include "documents/endorsement.h"

namespace cn::documents {

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Insurer, name, address)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(ChangedField, caption, as_read, as_saved)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(PremiumLine, caption, before, after, change)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Endorsement, insurer, number, date, cover_note_no, insured,
                                   address, vehicle, period, changes, premium, premium_due,
                                   saved_by, saved_at, made_at)

// A kept text that is no UTF-8 is kept with replacement characters rather than failing the
// save that makes the endorsement.
std::string EndorsementText(const Endorsement& endorsement) {
  return nlohmann::json(endorsement).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

Endorsement ReadEndorsementText(std::string_view text) {
  try {
    return nlohmann::json::parse(text).get<Endorsement>();
  } catch (const nlohmann::json::exception& error) {
    throw RuntimeFailure(failure::kInvalidArgument,
                         std::string("A kept endorsement does not read: ") + error.what(),
                         "Endorsement");
  }
}

}  // namespace cn::documents
