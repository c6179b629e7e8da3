#include "play/transcript_changes.h"

#include <algorithm>
#include <set>
#include <vector>

namespace cn::play {

namespace {

// A reviewer needs the gist, not every name: lists stop after this many.
constexpr std::size_t kNamed = 6;

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < kNamed; ++i)
    text += (i == 0 ? "" : ", ") + names[i];
  if (names.size() > kNamed) text += " and " + std::to_string(names.size() - kNamed) + " more";
  return text;
}

void AddOnce(std::vector<std::string>& names, std::string name) {
  if (std::ranges::find(names, name) == names.end()) names.push_back(std::move(name));
}

std::string Text(const Json& event, const char* key) {
  const auto it = event.find(key);
  return it != event.end() && it->is_string() ? it->get<std::string>() : "";
}

// What an event is about, as a reviewer names it.
std::string Named(const Json& event) {
  const std::string kind = Text(event, "event");
  if (kind == "command") return "command " + Text(event, "name");
  if (kind == "msgbox") return "box \"" + Text(event, "title") + "\"";
  if (kind == "message" && event.contains("number")) return "message " + event["number"].dump();
  if (kind == "dialog") return "dialog " + Text(event, "url");
  if (kind == "fieldRule" || kind == "inputCheck") return kind + " " + Text(event, "operation");
  return kind;
}

// The step each event belongs to (0: start-up), from the step markers before it.
std::vector<int> StepsOf(const Json& events) {
  std::vector<int> steps;
  int step = 0;
  for (const Json& event : events) {
    if (Text(event, "event") == "step" && event["step"].is_number_integer())
      step = event["step"].get<int>();
    steps.push_back(step);
  }
  return steps;
}

struct EventChanges {
  std::size_t out = 0;  // events of the old transcript no longer there
  std::size_t in = 0;   // events of the new one not there before
  std::set<int> steps;
  std::vector<std::string> names;
};

// The events each side has that the other does not, by the longest run they share in order.
// Beyond this many pairs of differing events the table would be large: each side's events
// between the common start and end count as changed.
constexpr std::size_t kLargestTable = 4'000'000;

EventChanges CompareEvents(const Json& before, const Json& after) {
  std::vector<std::string> old_lines, new_lines;
  for (const Json& event : before) old_lines.push_back(event.dump());
  for (const Json& event : after) new_lines.push_back(event.dump());
  // Most changes are local: the events before and after them are left out of the table.
  std::size_t first = 0, n = old_lines.size(), m = new_lines.size();
  while (first < n && first < m && old_lines[first] == new_lines[first]) ++first;
  while (n > first && m > first && old_lines[n - 1] == new_lines[m - 1]) --n, --m;
  const bool tabled = (n - first) * (m - first) <= kLargestTable;
  // shared[i][j]: how many events the two sides share in order from old i and new j on.
  std::vector<std::vector<std::size_t>> shared(
      tabled ? n - first + 1 : 0, std::vector<std::size_t>(tabled ? m - first + 1 : 0, 0));
  for (std::size_t i = n; tabled && i-- > first;) {
    for (std::size_t j = m; j-- > first;) {
      const std::size_t a = i - first, b = j - first;
      shared[a][b] = old_lines[i] == new_lines[j] ? shared[a + 1][b + 1] + 1
                                                  : std::max(shared[a + 1][b], shared[a][b + 1]);
    }
  }
  const std::vector<int> old_steps = StepsOf(before), new_steps = StepsOf(after);
  EventChanges changes;
  std::size_t i = first, j = first;
  while (i < n || j < m) {
    if (i < n && j < m && old_lines[i] == new_lines[j]) {
      ++i, ++j;
    } else if (j < m && (i == n || !tabled ||
                         shared[i - first][j - first + 1] >= shared[i - first + 1][j - first])) {
      ++changes.in;
      changes.steps.insert(new_steps[j]);
      AddOnce(changes.names, Named(after[j++]));
    } else {
      ++changes.out;
      changes.steps.insert(old_steps[i]);
      AddOnce(changes.names, Named(before[i++]));
    }
  }
  return changes;
}

// "record Current.VehicleNo", "page txtName", "shell buttons.cmdSave" from a JSON path.
std::string Part(const std::string& path) {
  std::vector<std::string> keys;
  for (std::size_t at = 1; at <= path.size();) {
    const std::size_t slash = std::min(path.find('/', at), path.size());
    keys.push_back(path.substr(at, slash - at));
    at = slash + 1;
  }
  if (keys.empty()) return "final";
  if (keys[0] == "page" && keys.size() >= 3) {
    return "page " + (keys[1] == "rows" && keys.size() >= 4 ? keys[2] + "." + keys[3] : keys[2]);
  }
  std::string text = keys[0];
  for (std::size_t k = 1; k < keys.size() && k < 3; ++k) text += (k == 1 ? " " : ".") + keys[k];
  return text;
}

}  // namespace

std::string TranscriptChanges(const Json& before, const Json& after) {
  const Json none = Json::array();
  const auto part = [&](const Json& transcript, const char* key) -> const Json& {
    return transcript.is_object() && transcript.contains(key) ? transcript[key] : none;
  };
  const EventChanges events = CompareEvents(part(before, "events"), part(after, "events"));
  std::vector<std::string> finals;
  for (const auto& change : Json::diff(part(before, "final"), part(after, "final")))
    AddOnce(finals, Part(change["path"].get<std::string>()));
  const std::size_t old_failures = part(before, "failures").size();
  const std::size_t new_failures = part(after, "failures").size();

  std::string text;
  if (events.in + events.out > 0) {
    std::vector<std::string> steps;
    for (int step : events.steps) {
      if (step != 0) steps.push_back(std::to_string(step));
    }
    const bool start_up = events.steps.contains(0);
    text += std::string(start_up ? "start-up" : "") + (start_up && !steps.empty() ? " and " : "") +
            (steps.empty() ? "" : (steps.size() == 1 ? "step " : "steps ") + Listed(steps)) + ": " +
            std::to_string(events.out) + " events out, " + std::to_string(events.in) + " in (" +
            Listed(events.names) + ")";
  }
  if (!finals.empty()) text += (text.empty() ? "" : "; ") + std::string("final: ") + Listed(finals);
  if (old_failures != new_failures) {
    text += (text.empty() ? "" : "; ") + std::string("failures ") + std::to_string(old_failures) +
            " -> " + std::to_string(new_failures);
  }
  return text.empty() ? "unchanged" : text;
}

}  // namespace cn::play
