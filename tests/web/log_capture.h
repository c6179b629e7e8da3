#pragma once
// What the process logs while a capture lives, as text.

#include <spdlog/sinks/ostream_sink.h>
#include <spdlog/spdlog.h>

#include <memory>
#include <sstream>
#include <string>

namespace cn::web::testing {

// What the server logs while it lives, as text.
class LogCapture {
 public:
  LogCapture() : before_(spdlog::default_logger()) {
    auto capture = std::make_shared<spdlog::logger>(
        "capture", std::make_shared<spdlog::sinks::ostream_sink_mt>(text_));
    capture->set_pattern("%v");
    spdlog::set_default_logger(capture);
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  ~LogCapture() { spdlog::set_default_logger(before_); }
  std::string Text() const { return text_.str(); }

 private:
  std::shared_ptr<spdlog::logger> before_;
  std::ostringstream text_;
};

}  // namespace cn::web::testing
