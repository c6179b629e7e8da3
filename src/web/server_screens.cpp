// The screens of a login session's tabs: a tab opens its screen when it is loaded, and again
// when the server it talks to does not hold it (restarted, another server, let go while idle).
#include <spdlog/spdlog.h>

#include "web/log_text.h"
#include "web/protocol_error.h"
#include "web/server_impl.h"

namespace cn::web {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using nlohmann::json;

}  // namespace

void Server::Impl::OpenScreen(const Request& request, const SessionStore::Entry& entry,
                              std::string screen_id, json body, Reply reply) {
  if (!body.is_object())
    return reply(ErrorResponse(request, 400, "bad-json", "The body is not a JSON object"));
  const std::size_t home = NextHome();
  asio::post(*contexts_[home], [this, head = HeadOf(request), entry, home,
                                screen_id = std::move(screen_id), body = std::move(body),
                                reply = std::move(reply)]() mutable {
    std::shared_ptr<Session> screen;
    try {
      screen = std::make_shared<Session>(entry.identity, screens_, stacks_);
      screen->home() = home;
      screen->Open();
      json state = screen->Render();
      state["csrf"] = entry.csrf;
      CloseAll(entry.screens->Hold(std::move(screen_id), screen, Now()));
      reply(JsonResponse(head, http::status::ok, state));
    } catch (const ProtocolError& refusal) {
      if (screen) screen->Close();
      reply(ErrorResponse(head, refusal.status(), refusal.code(), refusal.what()));
    } catch (const std::exception& failure) {
      spdlog::error("The screen of '{}' could not open: {}", LogText(entry.user()),
                    LogText(failure.what(), 1000));
      if (screen) screen->Close();
      reply(ErrorResponse(head, 503, "unavailable",
                          "The screen could not open at the moment; please try again shortly."));
    }
  });
}

}  // namespace cn::web
