#pragma once
// How the product's back end words the endorsement of every save: the insurer named in the
// settings, and each changed field under the caption the review and the history show.

#include "backend/endorsement_content.h"
#include "components/settings_file.h"

namespace cn::app {

backend::EndorsementWording ProductEndorsementWording(const components::Settings& settings);

}  // namespace cn::app
