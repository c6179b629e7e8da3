// A tab's journal as a browser posts it to rebuild its screen: checked whole, then replayed
// entry by entry on a fresh screen. A journal that cannot be replayed is a refusal, never a
// crash, and never leaves a handler waiting for a message nobody will answer.
#include <spdlog/spdlog.h>

#include <memory>
#include <nlohmann/json.hpp>

#include "../web/test_screen.h"
#include "refusal.h"
#include "web/journal.h"
#include "web/protocol_error.h"
#include "web/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static cn::web::testing::TestPages& pages = *new cn::web::testing::TestPages;
  spdlog::set_level(spdlog::level::off);  // handlers failing on purpose are logged
  const auto body = nlohmann::json::parse(
      std::string_view(reinterpret_cast<const char*>(data), size), nullptr, false);
  if (body.is_discarded() || !body.is_object()) return 0;
  cn::fuzzing::MayRefuse<cn::web::ProtocolError>([&] {
    const nlohmann::json journal = cn::web::CheckedJournal(body);
    cn::web::Session screen(cn::web::Identity{"FUZZ", "A01", "B"},
                            cn::web::testing::TestScreenFactory(pages.dir()));
    screen.Open();
    (void)screen.Render();
    for (const auto& entry : journal["entries"]) (void)screen.ReplayEntry(entry);
    (void)screen.Render();
  });
  return 0;
}
