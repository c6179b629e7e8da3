// What a browser posts to a session: the first byte picks the request (event, answer,
// dialog search), the rest up to a zero byte is its JSON body, and what follows the zero byte
// is posted as the answer to a question the request left waiting. A bad body is a refusal,
// never a crash.
#include <spdlog/spdlog.h>

#include <array>
#include <memory>
#include <nlohmann/json.hpp>

#include "../web/test_screen.h"
#include "refusal.h"
#include "web/protocol_error.h"
#include "web/session.h"

namespace {

struct Screen {
  cn::web::testing::TestPages pages;
  std::unique_ptr<cn::web::Session> session;
  Screen() {
    spdlog::set_level(spdlog::level::off);  // handlers failing on purpose are logged
    Restart();
  }
  void Restart() {
    session = std::make_unique<cn::web::Session>(cn::web::Identity{"FUZZ", "A01", "B"},
                                                 cn::web::testing::TestScreenFactory(pages.dir()));
    session->Open();
  }
};

void Post(cn::web::Session& session, std::uint8_t kind, std::string_view text) {
  const auto body = nlohmann::json::parse(text, nullptr, false);
  if (body.is_discarded()) return;
  cn::fuzzing::MayRefuse<cn::web::ProtocolError>([&] {
    constexpr auto kRequests = std::array{&cn::web::Session::Event, &cn::web::Session::Answer,
                                          &cn::web::Session::DialogSearch};
    (void)(session.*kRequests[kind % kRequests.size()])(body);
    (void)session.Render();
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Kept for the life of the process: at exit the fibers' per-thread state is gone before
  // static objects are.
  static Screen& screen = *new Screen;
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t zero = text.find('\0');
  Post(*screen.session, data[0], text.substr(0, zero));
  if (zero != std::string_view::npos && screen.session->WaitingForAnswer())
    Post(*screen.session, 1, text.substr(zero + 1));
  // No handler is left waiting between inputs: one waiting at exit could not be unwound, and
  // its objects would be reported as leaks.
  if (screen.session->WaitingForAnswer()) screen.Restart();
  return 0;
}
