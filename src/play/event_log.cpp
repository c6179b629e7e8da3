#include "play/event_log.h"

namespace cn::play {

void EventLog::Add(std::string_view kind, Json fields) {
  Json event = Json::object();
  event["event"] = kind;
  for (auto& [key, value] : fields.items()) event[key] = std::move(value);
  events_.push_back(std::move(event));
}

}  // namespace cn::play
