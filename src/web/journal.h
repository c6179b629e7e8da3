#pragma once
// A tab's journal: the administrator's actions on its screen since its cover note was read, in
// order, kept by the browser (sessionStorage) and posted when a server does not hold the screen
// (POST /api/screen). Page keys and node ids do not outlive a screen, so an entry names its
// element as the page logic does: the page ("workspace", or "tab" with its page file), the
// element's id and, in a row table, the row's id (and which of several with that id, "n").
//
// {"note": {"number": "CN24000101", "key": "12.3"} | null,     the note read, and its version
//  "entries": [
//    {"tab": id} | {"command": id}                              a tab or command button
//  | {"on": {"page", "file", "id", "row", "n"}, "event": ...,   an element's event, with its
//     "key", "text", "selection", "value"}                      members as in Session::Event
//  | {"answer": 1|2|6|7|text}                                   the answer to the prompt shown
//  each with "values": [{"page", "file", "id", "row", "n", "value"}] (boxes changed before it)]}
//
// A journal is the browser's word, as any request is: it is replayed through the same
// Session::Event and Session::Answer as live actions, so it can do nothing they cannot.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

namespace cn::web {

inline constexpr std::size_t kMostJournalEntries = 1000;

// Checks the journal's shape (nothing is replayed before all of it is read); a ProtocolError
// 400 "journal" naming what is wrong otherwise. Null or absent: an empty journal.
nlohmann::json CheckedJournal(const nlohmann::json& body);

}  // namespace cn::web
