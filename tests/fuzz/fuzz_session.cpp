// What a browser posts to a session: the first byte picks the request (event, answer,
// dialog search), the rest is its JSON body. A bad body is a refusal, never a crash.
#include <spdlog/spdlog.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <string_view>

#include "../web/test_screen.h"
#include "web/protocol_error.h"
#include "web/session.h"

namespace {

struct Screen {
  cn::web::testing::TestPages pages;
  std::unique_ptr<cn::web::Session> session;
  Screen() {
    spdlog::set_level(spdlog::level::off);  // handlers failing on purpose are logged
    session = std::make_unique<cn::web::Session>(cn::web::Identity{"FUZZ", "A01", "B"},
                                                 cn::web::testing::TestScreenFactory(pages.dir()));
    session->Open();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Kept for the life of the process: at exit the fibers' per-thread state is gone before
  // static objects are, and a session with a waiting handler could not unwind it.
  static Screen& screen = *new Screen;
  if (size < 1) return 0;
  const auto body = nlohmann::json::parse(data + 1, data + size, nullptr, false);
  if (body.is_discarded()) return 0;
  try {
    switch (data[0] % 3) {
      case 0:
        (void)screen.session->Event(body);
        break;
      case 1:
        (void)screen.session->Answer(body);
        break;
      default:
        (void)screen.session->DialogSearch(body);
        break;
    }
    (void)screen.session->Render();
  } catch (const cn::web::ProtocolError&) {
  }
  return 0;
}
