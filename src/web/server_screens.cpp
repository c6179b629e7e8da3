// The screens of a login session's tabs: a tab opens its screen when it is loaded, and again
// when the server it talks to does not hold it (restarted, another server, let go while idle).
#include <spdlog/spdlog.h>

#include "web/journal.h"
#include "web/log_text.h"
#include "web/protocol_error.h"
#include "web/server_impl.h"

namespace cn::web {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using nlohmann::json;

}  // namespace

namespace {

constexpr std::string_view kRestored = "Reconnected — your unsaved changes were restored.";

// Reads the journal's note again and, when nobody saved it since, replays the journal on
// `screen`; "" when all of it went through. A note that could not be read again, or was saved
// since, is said and the journal not applied; an entry that cannot be replayed is a
// ProtocolError, and the screen is then not to be used.
std::string Replay(Session& screen, const json& journal) {
  screen.Render();  // the pages shown, as the journal's first entry found them
  const json& note = journal["note"];
  if (!note.is_null()) {
    const std::string number = note["number"].get<std::string>();
    screen.ReplayEntry(
        {{"on", {{"page", "tab"}, {"id", "cmdReadCNoteNo"}}},
         {"event", "click"},
         {"values", {{{"page", "tab"}, {"id", "txtCoverNoteNumber"}, {"value", number}}}}});
    const json read = screen.NoteRead();
    if (screen.WaitingForAnswer() || read.is_null() || read["number"] != note["number"]) {
      return "Reconnected, but " + number +
             " could not be read again: your unsaved changes were not applied.";
    }
    if (read["key"] != note["key"]) {
      const std::string who = screen.SavedSince(number);
      return "Reconnected, but " + number + " was saved " +
             (who.empty() ? "by someone else" : "by " + who) +
             " since this tab read it: your unsaved changes were not applied.";
    }
  }
  for (std::size_t i = 0; i < journal["entries"].size(); ++i) {
    try {
      screen.ReplayEntry(journal["entries"][i]);
    } catch (const ProtocolError& refusal) {
      throw ProtocolError(refusal.status(), "journal",
                          "action " + std::to_string(i + 1) + ": " + refusal.what());
    }
  }
  return "";
}

}  // namespace

void Server::Impl::OpenScreen(const Request& request, const SessionStore::Entry& entry,
                              std::string screen_id, json body, Reply reply) {
  if (!body.is_object())
    return reply(ErrorResponse(request, 400, "bad-json", "The body is not a JSON object"));
  json journal;
  try {
    journal = CheckedJournal(body);
  } catch (const ProtocolError& refusal) {
    return reply(ErrorResponse(request, refusal.status(), refusal.code(), refusal.what()));
  }
  const std::size_t home = NextHome();
  asio::post(*contexts_[home], [this, head = HeadOf(request), entry, home,
                                screen_id = std::move(screen_id), journal = std::move(journal),
                                reply = std::move(reply)]() mutable {
    const auto open = [&] {
      auto screen = std::make_shared<Session>(entry.identity, screens_, stacks_);
      screen->home() = home;
      screen->Open();
      return screen;
    };
    const bool rebuilding = !journal["note"].is_null() || !journal["entries"].empty();
    std::shared_ptr<Session> screen;
    try {
      screen = open();
      std::string status;
      if (rebuilding) {
        // Replayed on a screen of its own: one that cannot be replayed whole is let go, never
        // held half-applied.
        try {
          status = Replay(*screen, journal);
          if (status.empty()) status = kRestored;
        } catch (const ProtocolError& refusal) {
          spdlog::info("The journal of a tab of '{}' could not be replayed: {}",
                       LogText(entry.user()), LogText(refusal.what(), 1000));
          status = std::string("Reconnected, but your unsaved changes could not be restored (") +
                   refusal.what() + ").";
          screen->Close();
          screen = open();
        }
        screen->SetStatus(status);
      }
      json state = screen->Render();
      state["csrf"] = entry.csrf;
      if (rebuilding) state["restored"] = status == kRestored;
      // Not restored, the tab's journal starts again from what the screen now shows.
      if (rebuilding && status != kRestored) state["note"] = screen->NoteRead();
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
