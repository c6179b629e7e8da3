#include "backend/store.h"

#include <utility>

namespace cn::backend {

StoreFailure::StoreFailure(int code, std::string description)
    : RuntimeFailure(code, std::move(description), "backend store") {}

bool StoreFailure::Unavailable() const {
  const int code = number();
  return code == store_code::kUnreachable || code == store_code::kLoginRefused ||
         code == store_code::kConnectionLost || code == store_code::kFileGone;
}

}  // namespace cn::backend
