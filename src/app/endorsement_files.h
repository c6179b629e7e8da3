#pragma once
// The endorsements the web front end opens, read from the product's back end: the PDF as
// kept, or the print view made from the content kept beside it.

#include <memory>

#include "components/shared_backend.h"
#include "web/endorsements.h"

namespace cn::app {

std::shared_ptr<const web::Endorsements> ProductEndorsements(
    std::shared_ptr<components::SharedBackend> backend);

}  // namespace cn::app
