#pragma once
// The product's dialog pages for one session: the enquiry dialog's searches through the
// session's components, and the selection dialog's list from the session's selection file.

#include <memory>
#include <string>

#include "integration/components.h"
#include "web/dialog_pages.h"

namespace cn::app {

// `components` must outlive the result; `installation_path` is the session's own.
std::shared_ptr<web::DialogPages> ProductDialogPages(const Components& components,
                                                     std::string installation_path);

}  // namespace cn::app
