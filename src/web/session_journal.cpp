// A screen rebuilt from its tab's journal (web/journal.h): each entry names its element as the
// page logic does, and is replayed as the live event it stands for.
#include "dom/element.h"
#include "web/protocol_error.h"
#include "web/session.h"

namespace cn::web {
namespace {

using nlohmann::json;

[[noreturn]] void NotThere(const std::string& what) { throw ProtocolError(409, "journal", what); }

std::string Named(const json& place) {
  std::string name = "\"" + place["id"].get<std::string>() + "\"";
  if (place.contains("row")) name += " in row \"" + place["row"].get<std::string>() + "\"";
  return name;
}

}  // namespace

std::pair<Session::ShownPage*, std::shared_ptr<dom::Element>> Session::Locate(const json& place) {
  ShownPage* page = place["page"] == "workspace" ? &workspace_ : &frame_;
  if (!page->document) NotThere("no tab page is shown");
  const std::string file = place.value("file", "");
  if (page == &frame_ && !file.empty() && file != frame_file_) {
    NotThere("the tab page shown is " + (frame_file_.empty() ? "none" : frame_file_) + ", not " +
             file);
  }
  const std::string id = place["id"].get<std::string>();
  std::vector<std::shared_ptr<dom::Element>> candidates;
  if (place.contains("row")) {
    for (const auto& row : page->document->AllWithId(place["row"].get<std::string>())) {
      if (!row->Is("tr")) continue;
      for (auto& element : row->AllWithId(id)) candidates.push_back(std::move(element));
    }
  } else {
    candidates = page->document->AllWithId(id);
  }
  const std::size_t n = place.value("n", std::size_t{0});
  if (n >= candidates.size()) NotThere("there is no element " + Named(place) + " on the page");
  return {page, candidates[n]};
}

json Session::ReplayEntry(const json& entry) {
  json values = json::object();
  if (const auto posted = entry.find("values"); posted != entry.end()) {
    for (const json& value : *posted) {
      const auto [page, element] = Locate(value);
      values[std::to_string(page->key)][std::to_string(element->node_id())] = value["value"];
    }
  }
  if (entry.contains("answer")) {
    if (!WaitingForAnswer()) NotThere("a message it answered did not come");
    return Answer({{"seen", seq_}, {"prompt", WaitingPromptId()}, {"result", entry["answer"]}});
  }
  json request{{"seen", seq_}, {"values", std::move(values)}};
  if (entry.contains("tab")) {
    request["kind"] = "tab";
    request["id"] = entry["tab"];
  } else if (entry.contains("command")) {
    request["kind"] = "command";
    request["id"] = entry["command"];
  } else {
    const auto [page, element] = Locate(entry["on"]);
    request["kind"] = "element";
    request["page"] = page->key;
    request["node"] = element->node_id();
    for (const char* member : {"event", "key", "text", "selection", "value"}) {
      if (entry.contains(member)) request[member] = entry[member];
    }
  }
  return Event(request);
}

json Session::NoteRead() const {
  if (!note_read_) return nullptr;
  const ReadNote note = note_read_();
  if (note.key.empty()) return nullptr;
  return {{"number", note.number}, {"key", note.key}};
}

std::string Session::SavedSince(std::string_view number) const {
  return saved_since_ ? saved_since_(number) : "";
}

void Session::SetStatus(std::string_view text) {
  if (const auto workspace = shell_->WorkspaceDocument(); workspace && workspace->ParentWindow())
    workspace->ParentWindow()->SetStatus(text);
}

}  // namespace cn::web
