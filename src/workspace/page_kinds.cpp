#include "pages/page.h"
#include "workspace/screen.h"

namespace cn {

// Pages get their logic here as their classes are written.
std::span<const PageKind> PageKinds() {
  return {};
}

}  // namespace cn
