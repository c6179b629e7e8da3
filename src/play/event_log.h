#pragma once
// The events of one run, in the order they happened, as they appear in the transcript:
// commands sent, prompts and their answers, shell script statements, status texts, checks
// asked of the outside components, selection files written and the step markers.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>

namespace cn::play {

// Key order is insertion order, so that transcripts come out the same every time.
using Json = nlohmann::ordered_json;

class EventLog {
 public:
  // Adds {"event": kind, ...fields}.
  void Add(std::string_view kind, Json fields = Json::object());
  // Puts a whole event in the place of an earlier one (an event written before its outcome).
  void Replace(std::size_t position, Json event) { events_.at(position) = std::move(event); }

  // The step running now (0 during start-up); prompts answered wrongly name it.
  int step() const { return step_; }
  void set_step(int step) { step_ = step; }

  const Json& events() const { return events_; }

 private:
  Json events_ = Json::array();
  int step_ = 0;
};

}  // namespace cn::play
