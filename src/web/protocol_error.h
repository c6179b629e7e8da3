#pragma once
// A request the server refuses: the HTTP status and a short code for the browser, with a
// message for people. The session it was meant for stays as it was.

#include <stdexcept>
#include <string>

namespace cn::web {

class ProtocolError : public std::runtime_error {
 public:
  ProtocolError(int status, std::string code, const std::string& message)
      : std::runtime_error(message), status_(status), code_(std::move(code)) {}
  int status() const { return status_; }
  const std::string& code() const { return code_; }

 private:
  int status_;
  std::string code_;
};

}  // namespace cn::web
