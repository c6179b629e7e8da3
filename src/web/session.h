#pragma once
// One administrator's screen in the browser: the shell with its pages, the UI fiber its
// handlers run on, the prompt it waits on, and the numbering of the answers sent.
//
// A session is used from one thread at a time, always the same one (its I/O thread); the
// server sees to that. Every method answers with JSON for the browser; a request the session
// refuses throws ProtocolError and changes nothing.
//
// Answer (render, event, prompt answer):
//   {"seq": n,                         number of this answer (the browser posts it back as "seen")
//    "workspace": page | absent,       whole page (render, or when the workspace page is new)
//    "frame": page | null | absent,    tab page when it was replaced (null: no tab page), with
//                                      "file" (its page file); with "kept": true and no "html"
//                                      when the browser shows again the copy of that file it
//                                      kept when it left it, brought up to date by the page's
//                                      patches (web/page_diff.h); a page left goes with the
//                                      patches of its last changes
//    "patches": {"<page key>": [ops]}, changes of pages the browser already has (web/patch.h)
//    "shell": {...} | absent,          the shell's state when it changed (web/render.h)
//    "status": text,
//    "pending": bool                   the note read has changes not saved (SessionScreen)
//    "note": {"number", "key"} | null | absent   after an event that read a note (null: the
//                                      read failed): a tab's journal starts again from it
//                                      (web/journal.h)
//    "focus": {"page": key, "node": id, "select": bool} | absent,
//    "filters": {...} on render only (web/render.h RenderInputFilters),
//    "prompt": {"id", "type": "message", "text", "style", "title",
//               "offer": {"endorsement": "CN24000101/E2"} | absent (a document to open with it)}
//            | {"id", "type": "dialog", "url", "argument", "features", "content"} | absent}
//   ("content": what the dialog starts with, web/dialog_pages.h; null when none; a message's
//   texts and a dialog's notice name no folder of the server, web/server_paths.h)
//   A page is RenderDocument's object; its "key" names it in events ("page").
//
// Event: {"seen": n, "values": {"<page key>": {"<node id>": "text"}},
//         "kind": "tab", "id": tab id} | {"kind": "command", "id": button id}
//       | {"kind": "element", "page": key, "node": id,
//          "event": "click" | "dblclick" | "focus" | "blur" | "change" | "keypress" | "keydown"
//                   | "keyup",
//          "key": key code (keypress, keydown, keyup), "value": option value (change of a select),
//          "selection": [start, end] (keypress in a text box: where the key goes, in characters),
//          "text": the keys typed in a row, the first of them "key" (keypress; absent: "key")}
// A text box reports "blur" when left (the server raises onchange when its value changed, then
// onblur), a select "change". Keys: a text box whose page handles its keypress sends every
// character key as "keypress" with the code point and its selection and lets the server type
// it there (the handler may rewrite or discard it; the value comes back as a patch); Enter
// and Escape go as "keydown" to elements that handle keys.
//
// Prompt answer: {"seen": n, "prompt": id, "result": 1|2|6|7 (message) or text (dialog)}.
//
// Dialog search, while a dialog waits: {"prompt": id, "query": {...}} -> DialogPages::Search's
// answer; nothing of the screen changes.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "dom/window.h"
#include "shell/host_shell.h"
#include "web/patch.h"
#include "web/dialog_pages.h"
#include "web/ui_fiber.h"
#include "web/user_directory.h"
#include "web/value_guard.h"

namespace cn::web {

struct ReadNote {
  std::string number;
  std::string key;
  std::uint64_t reads = 0;
};

// Builds the screen of a new session: the shell for that administrator, with the session's
// prompts as its dialog host, not yet started (the session starts it on its UI fiber, so that
// a prompt during start-up shows like any other).
struct SessionScreen {
  std::shared_ptr<shell::HostShell> shell;
  std::shared_ptr<DialogPages> dialog_pages;  // null: dialogs open empty and cannot search
  // Command buttons this user may never use (his role reads only), whatever his request says:
  // an event for one is refused with 403 "role" and `refusal`, and nothing runs.
  std::vector<std::string> refused_commands;
  std::string refusal;
  // Whether the note read has changes a Save would write (null: never). Asked after every
  // event but a keypress; after one, `unsaved_typing` is asked of the box typed in alone, so
  // that a key costs no look at the whole page.
  std::function<bool()> unsaved;
  std::function<bool(const dom::Element&)> unsaved_typing;
  // The note read: its number and key ("<id>.<version>"; "" when none is read), and how many
  // reads the screen has made.
  std::function<ReadNote()> note_read;
  // Who saved that note last, and when ("ADMIN at 07-Dec-2026 10:42:00 AM"); "" unknown.
  std::function<std::string(std::string_view number)> saved_since;
};
using ScreenFactory = std::function<SessionScreen(const Identity&, std::shared_ptr<dom::DialogHost>)>;

struct PromptChannel;

class Session {
 public:
  // `stacks`: where the session's fibers take their stacks (the server's pool); none: a pool
  // of the session's own that keeps one.
  Session(Identity identity, const ScreenFactory& factory, std::shared_ptr<FiberStacks> stacks = nullptr);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  const Identity& identity() const { return identity_; }

  // Starts the screen; call once, before anything else.
  void Open();
  // The whole current state (first load and reload), with the prompt still waiting, if any.
  nlohmann::json Render();
  nlohmann::json Event(const nlohmann::json& request);
  nlohmann::json Answer(const nlohmann::json& request);
  nlohmann::json DialogSearch(const nlohmann::json& request);
  // Ends the screen: a waiting handler is abandoned, the pages unload.
  void Close();

  // ---- Rebuilt from a tab's journal (session_journal.cpp, web/journal.h) ----
  // Replays one entry of a checked journal as the live event or answer it stands for; a
  // ProtocolError when it cannot be (its element or message is not there, or the event is
  // refused as it would be live).
  nlohmann::json ReplayEntry(const nlohmann::json& entry);
  // The note read: {"number", "key"}, or null.
  nlohmann::json NoteRead() const;
  std::string SavedSince(std::string_view number) const;
  // The status bar's text, until the screen sets another.
  void SetStatus(std::string_view text);

  bool WaitingForAnswer() const;
  // A handler is suspended on the session's fiber, which may go on only on the thread it
  // started on.
  bool HandlerSuspended() const { return fiber_ != nullptr; }

  // The server's I/O thread the session lives on. Only that thread touches the session, and
  // only it moves the session to another, between requests.
  std::atomic<std::size_t>& home() { return home_; }

 private:
  struct ShownPage {
    std::shared_ptr<dom::Document> document;
    int key = 0;
    ValueGuard guard;
    std::unique_ptr<RemovedElements> removed;
  };

  void Run(std::function<void()> work);
  void Continue();
  nlohmann::json BuildAnswer(bool whole);
  // Asks the screen whether the note has changes not saved (after keys typed in `typed_in`,
  // only whether that box now makes them).
  void NotePending(const dom::Element* typed_in = nullptr);
  // Brings the slot up to the document now shown; true when it changed.
  bool Follow(ShownPage& page, std::shared_ptr<dom::Document> now);
  // The tab page being left goes to the kept pages, with its last changes for the browser.
  void KeepLeftPage(nlohmann::json& patches);
  // The tab page now shown: from the kept copy of its file when there is one, else whole.
  nlohmann::json RenderFrame(nlohmann::json& patches);
  ShownPage* PageByKey(int key);
  int WaitingPromptId() const;
  // The shown page and element a journal entry names.
  std::pair<ShownPage*, std::shared_ptr<dom::Element>> Locate(const nlohmann::json& place);
  std::function<void()> ElementAction(const nlohmann::json& request);

  Identity identity_;
  std::shared_ptr<PromptChannel> channel_;
  std::shared_ptr<dom::DialogHost> dialogs_;
  std::shared_ptr<shell::HostShell> shell_;
  std::shared_ptr<DialogPages> dialog_pages_;
  std::vector<std::string> refused_commands_;
  std::string refusal_;
  std::function<bool()> unsaved_;
  std::function<bool(const dom::Element&)> unsaved_typing_;
  std::function<ReadNote()> note_read_;
  std::function<std::string(std::string_view)> saved_since_;
  bool pending_ = false;
  std::uint64_t reads_told_ = 0;  // the reads the browser was told of
  std::shared_ptr<FiberStacks> stacks_;
  std::unique_ptr<UiFiber> fiber_;
  std::atomic<std::size_t> home_{0};
  ShownPage workspace_;
  ShownPage frame_;
  std::string frame_file_;
  // The tab pages the browser keeps since it left them, by page file, as it holds them.
  std::map<std::string, std::shared_ptr<dom::Document>, std::less<>> kept_pages_;
  int next_key_ = 1;
  std::uint64_t seq_ = 0;
  std::optional<std::uint64_t> shell_revision_sent_;
};

}  // namespace cn::web
