#pragma once
// The command service of the product: runs each command in this process on the
// shared back end. An instance is only a handle, so creating one per operation
// costs nothing and opens no connection.

#include <memory>

#include "components/shared_backend.h"
#include "integration/components.h"

namespace cn::components {

class InProcessCommandService final : public BackendCommandService {
 public:
  explicit InProcessCommandService(std::shared_ptr<SharedBackend> backend);

  // The back end's status comes through unchanged, its own ones included
  // (-1 malformed parameters, -2 unknown command). A store failure is thrown.
  void ExecuteCommand(std::string_view command, std::string_view parameters, std::string& reply,
                      std::int32_t& status) override;

 private:
  std::shared_ptr<SharedBackend> backend_;
};

}  // namespace cn::components
