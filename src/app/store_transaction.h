#pragma once
// One unit of work of the web layer's records on the shared back end: a transaction of the kind
// given, committed when `work` returns, rolled back when it throws.

#include <utility>

#include "components/shared_backend.h"

namespace cn::app {

template <typename Work>
auto InStoreTransaction(components::SharedBackend& backend, bool writes, Work&& work) {
  return backend.WithDatabase([&](backend::Database& db) {
    backend::Transaction transaction(db, writes ? backend::Transaction::Kind::kImmediate
                                                : backend::Transaction::Kind::kDeferred);
    auto result = std::forward<Work>(work)(db);
    transaction.Commit();
    return result;
  });
}

}  // namespace cn::app
