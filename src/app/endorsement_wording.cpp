#include "app/endorsement_wording.h"

#include "components/insurer_settings.h"
#include "workspace/save_review.h"

namespace cn::app {

backend::EndorsementWording ProductEndorsementWording(const components::Settings& settings) {
  return {components::InsurerFromSettings(settings), &WritePositionCaption};
}

}  // namespace cn::app
