#pragma once
// The page logic's way to the back end. A gateway lives for one operation (create
// it at the start, let it go at the end): its first command creates a command
// service, later commands of the same operation reuse it one after the other, and
// the instance is released when the gateway goes — or at once when a call fails.
// Nothing is retried.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "integration/components.h"

namespace cn {

struct CommandReply {
  std::string reply;        // empty when nothing was found
  std::int32_t status = 0;  // 0 success; other values belong to the command
};

class ServiceGateway {
 public:
  explicit ServiceGateway(const Components& components);
  ~ServiceGateway();

  ServiceGateway(const ServiceGateway&) = delete;
  ServiceGateway& operator=(const ServiceGateway&) = delete;

  // A non-zero status is an answer, not a failure. A call the component reports
  // as failed throws RuntimeFailure and no part of its reply is used.
  CommandReply ExecuteCommand(std::string_view command, std::string_view parameters);

 private:
  const Components& components_;
  std::unique_ptr<BackendCommandService> service_;
};

}  // namespace cn
