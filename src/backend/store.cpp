#include "backend/store.h"

#include <utility>

namespace cn::backend {

StoreFailure::StoreFailure(int code, std::string description)
    : RuntimeFailure(code, std::move(description), "backend store") {}

}  // namespace cn::backend
