#include "web/journal.h"

#include "web/protocol_error.h"

namespace cn::web {
namespace {

using nlohmann::json;

constexpr std::size_t kMostTextBytes = 4096;

[[noreturn]] void Refuse(const std::string& why) {
  throw ProtocolError(400, "journal", "The tab's journal cannot be replayed: " + why + ".");
}

void CheckText(const json& object, const char* name, bool required, std::size_t entry) {
  const auto it = object.find(name);
  if (it == object.end()) {
    if (required) Refuse("entry " + std::to_string(entry) + " has no \"" + name + "\"");
    return;
  }
  if (!it->is_string() || it->get_ref<const std::string&>().size() > kMostTextBytes)
    Refuse("\"" + std::string(name) + "\" of entry " + std::to_string(entry) +
           " is not a short text");
}

void CheckPlace(const json& place, std::size_t entry) {
  if (!place.is_object()) Refuse("entry " + std::to_string(entry) + " names no element");
  CheckText(place, "page", true, entry);
  const std::string& page = place["page"].get_ref<const std::string&>();
  if (page != "workspace" && page != "tab")
    Refuse("entry " + std::to_string(entry) + " names no page");
  CheckText(place, "file", false, entry);
  CheckText(place, "id", true, entry);
  CheckText(place, "row", false, entry);
  if (place.contains("n") && !place["n"].is_number_unsigned())
    Refuse("\"n\" of entry " + std::to_string(entry) + " is not a count");
}

}  // namespace

json CheckedJournal(const json& body) {
  const auto journal = body.find("journal");
  if (journal == body.end() || journal->is_null())
    return json{{"note", nullptr}, {"entries", json::array()}};
  if (!journal->is_object()) Refuse("it is not an object");
  const auto note = journal->find("note");
  if (note != journal->end() && !note->is_null()) {
    if (!note->is_object()) Refuse("its note is not an object");
    CheckText(*note, "number", true, 0);
    CheckText(*note, "key", true, 0);
  }
  const auto entries = journal->find("entries");
  if (entries == journal->end() || !entries->is_array()) Refuse("it has no list of entries");
  if (entries->size() > kMostJournalEntries) {
    Refuse("it holds " + std::to_string(entries->size()) + " actions, more than the " +
           std::to_string(kMostJournalEntries) + " kept");
  }
  std::size_t n = 0;
  for (const json& entry : *entries) {
    ++n;
    if (!entry.is_object()) Refuse("entry " + std::to_string(n) + " is not an object");
    const int kinds = entry.contains("tab") + entry.contains("command") + entry.contains("on") +
                      entry.contains("answer");
    if (kinds != 1) Refuse("entry " + std::to_string(n) + " is not one action");
    if (entry.contains("tab")) CheckText(entry, "tab", true, n);
    if (entry.contains("command")) CheckText(entry, "command", true, n);
    if (entry.contains("on")) {
      CheckPlace(entry["on"], n);
      CheckText(entry, "event", true, n);
    }
    if (entry.contains("answer") && !entry["answer"].is_number_integer() &&
        !entry["answer"].is_string())
      Refuse("the answer of entry " + std::to_string(n) + " is neither a button nor a text");
    if (const auto values = entry.find("values"); values != entry.end()) {
      if (!values->is_array())
        Refuse("the values of entry " + std::to_string(n) + " are not a list");
      for (const json& value : *values) {
        CheckPlace(value, n);
        CheckText(value, "value", true, n);
      }
    }
  }
  return json{{"note", note == journal->end() ? json() : *note}, {"entries", *entries}};
}

}  // namespace cn::web
