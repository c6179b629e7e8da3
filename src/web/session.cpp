#include "web/session.h"

#include <spdlog/spdlog.h>

#include <algorithm>
#include <set>
#include <utility>
#include <variant>

#include "base/text.h"
#include "dom/element.h"
#include "dom/user_actions.h"
#include "web/first_field.h"
#include "web/page_diff.h"
#include "web/patch.h"
#include "web/protocol_error.h"
#include "web/render.h"
#include "web/log_text.h"
#include "web/server_paths.h"
#include "web/typing.h"

namespace cn::web {
namespace {

using nlohmann::json;

[[noreturn]] void BadRequest(const std::string& message) { throw ProtocolError(400, "bad-request", message); }

// What a prompt answers when nobody can be asked (the session is closing).
int UnaskedAnswer(int style) {
  switch (style % 16) {
    case dom::message_box::kOkCancel: return dom::message_box::kCancel;
    case dom::message_box::kYesNo: return dom::message_box::kNo;
    default: return dom::message_box::kOk;
  }
}

bool IsTextBox(const dom::Element& element) {
  if (element.Is("TEXTAREA")) return true;
  if (!element.Is("INPUT")) return false;
  const std::string type = element.Type();
  return type == "text" || type == "password";
}

// A text member of a request; "" when absent, refused when it is not text.
std::string TextMember(const json& request, const char* name) {
  const auto it = request.find(name);
  if (it == request.end()) return "";
  if (!it->is_string()) BadRequest(std::string("\"") + name + "\" must be text");
  return it->get<std::string>();
}

// A dialog's notice says why a search found nothing, sometimes with a failure's own words.
json WithoutServerPaths(json content) {
  if (content.is_object() && content.contains("notice") && content["notice"].is_string()) {
    content["notice"] = ForTheBrowser(content["notice"].get<std::string>());
  }
  return content;
}

std::uint64_t Seen(const json& request) {
  const auto it = request.find("seen");
  if (it == request.end()) return 0;
  if (!it->is_number_unsigned()) BadRequest("\"seen\" must be a number");
  return it->get<std::uint64_t>();
}

// Where a typed key goes: "selection": [start, end] in characters; absent: the end.
std::optional<TextSelection> SelectionOf(const json& request) {
  const auto it = request.find("selection");
  if (it == request.end()) return std::nullopt;
  const auto position = [](const json& value) {
    return value.is_number_integer() && value.get<std::int64_t>() >= 0;
  };
  if (!it->is_array() || it->size() != 2 || !position((*it)[0]) || !position((*it)[1]) ||
      (*it)[0] > (*it)[1]) {
    BadRequest("\"selection\" must be [start, end] with start <= end");
  }
  return TextSelection{(*it)[0].get<std::size_t>(), (*it)[1].get<std::size_t>()};
}

// The keys of a keypress: "text", the characters typed in a row (the browser sends keys typed
// while it waits as one event), else the one "key".
std::string TypedText(const json& request, int key) {
  constexpr std::size_t kMostKeysAtOnce = 256;
  const std::string text = TextMember(request, "text");
  if (text.empty()) return Utf8(static_cast<char32_t>(key));
  if (Len(text) > kMostKeysAtOnce) BadRequest("Too many keys at once");
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 32 || c == 127) BadRequest("Only characters are typed");
  }
  return text;
}

// The lists an event filled go back to data once the browser has their options: a session
// holds its lists once, shared, whether the page's load or a handler filled them.
void KeepFilledListsAsData(const dom::Document& document,
                           const std::vector<dom::Mutation>& mutations) {
  std::set<dom::NodeId> lists;
  for (const dom::Mutation& change : mutations) {
    if (change.kind == dom::MutationKind::kInsert && change.name == "OPTION") {
      lists.insert(change.parent);
    }
  }
  for (const dom::NodeId id : lists) {
    const auto node = document.FindNode(id);
    if (node && node->IsElement()) static_cast<dom::Element&>(*node).KeepOptionNodesAsData();
  }
}

}  // namespace

// The session's side of its prompts: the fiber to suspend, the prompt shown, the answer.
struct PromptChannel {
  UiFiber* fiber = nullptr;
  // Weak: the dialog pages belong to the screen, whose components hold this channel.
  std::weak_ptr<DialogPages> pages;
  std::optional<json> prompt;
  std::variant<std::monostate, int, std::string> answer;
  int next_prompt = 1;

  bool CanAsk() const { return fiber != nullptr && fiber->Running(); }
  // Shows the prompt and waits for its answer without holding the thread.
  void Ask(json prompt_to_show) {
    prompt_to_show["id"] = next_prompt++;
    prompt = std::move(prompt_to_show);
    answer = std::monostate{};
    fiber->Suspend();
  }
};

namespace {

class SessionDialogs final : public dom::DialogHost {
 public:
  explicit SessionDialogs(std::shared_ptr<PromptChannel> channel) : channel_(std::move(channel)) {}

  int MessageBox(std::string_view prompt, int style, std::string_view title) override {
    if (!channel_->CanAsk()) return UnaskedAnswer(style);
    channel_->Ask({{"type", "message"},
                   {"text", ForTheBrowser(prompt)},
                   {"style", style},
                   {"title", ForTheBrowser(title)}});
    return std::get<int>(channel_->answer);
  }

  std::string ShowModalDialog(std::string_view url, std::string_view argument,
                              std::string_view features) override {
    if (!channel_->CanAsk()) return "";
    const auto pages = channel_->pages.lock();
    json content = WithoutServerPaths(pages ? pages->Opening(url, argument) : json());
    channel_->Ask({{"type", "dialog"},
                   {"url", url},
                   {"argument", argument},
                   {"features", features},
                   {"content", std::move(content)}});
    return std::get<std::string>(channel_->answer);
  }

 private:
  std::shared_ptr<PromptChannel> channel_;
};

}  // namespace

Session::Session(Identity identity, const ScreenFactory& factory, std::shared_ptr<FiberStacks> stacks)
    : identity_(std::move(identity)),
      channel_(std::make_shared<PromptChannel>()),
      stacks_(stacks ? std::move(stacks) : std::make_shared<FiberStacks>(1)) {
  dialogs_ = std::make_shared<SessionDialogs>(channel_);
  SessionScreen screen = factory(identity_, dialogs_);
  if (!screen.shell) throw std::runtime_error("The screen factory gave no shell");
  shell_ = std::move(screen.shell);
  dialog_pages_ = std::move(screen.dialog_pages);
  refused_commands_ = std::move(screen.refused_commands);
  refusal_ = std::move(screen.refusal);
  unsaved_ = std::move(screen.unsaved);
  unsaved_typing_ = std::move(screen.unsaved_typing);
  note_read_ = std::move(screen.note_read);
  saved_since_ = std::move(screen.saved_since);
  channel_->pages = dialog_pages_;
}

Session::~Session() {
  // A handler still waiting is unwound here, before the shell it runs in goes.
  channel_->fiber = nullptr;
  fiber_.reset();
}

void Session::Open() {
  Run([shell = shell_] { shell->Start(); });
}

bool Session::WaitingForAnswer() const { return channel_->prompt.has_value(); }

int Session::WaitingPromptId() const {
  return channel_->prompt ? (*channel_->prompt)["id"].get<int>() : 0;
}

void Session::Run(std::function<void()> work) {
  // An unexpected failure is shown as the shell shows its own, and the screen stays usable.
  auto dialogs = dialogs_;
  fiber_ = std::make_unique<UiFiber>([work = std::move(work), dialogs] {
    try {
      work();
    } catch (const std::exception& failure) {
      spdlog::warn("A handler failed: {}", failure.what());
      dialogs->MessageBox(failure.what(), dom::message_box::kExclamation, "");
    }
  }, stacks_);
  channel_->fiber = fiber_.get();
  Continue();
}

void Session::Continue() {
  const bool finished = fiber_->Resume();
  if (finished) {
    channel_->fiber = nullptr;
    fiber_.reset();
  }
}

bool Session::Follow(ShownPage& page, std::shared_ptr<dom::Document> now) {
  if (page.document == now) return false;
  page.document = std::move(now);
  page.key = next_key_++;
  page.guard = ValueGuard{};
  page.removed.reset();
  if (page.document) {
    page.removed = std::make_unique<RemovedElements>(*page.document);
    page.document->SetRecording(true);
    page.document->TakeMutations();
  }
  return true;
}

Session::ShownPage* Session::PageByKey(int key) {
  if (workspace_.document && workspace_.key == key) return &workspace_;
  if (frame_.document && frame_.key == key) return &frame_;
  return nullptr;
}

json Session::Render() {
  NotePending();
  return BuildAnswer(true);
}

void Session::NotePending(const dom::Element* typed_in) {
  if (!unsaved_) return;
  try {
    if (typed_in) {
      pending_ = pending_ || (unsaved_typing_ && unsaved_typing_(*typed_in));
      return;
    }
    pending_ = unsaved_();
  } catch (const std::exception& failure) {
    spdlog::warn("Whether the note has unsaved changes could not be told: {}", failure.what());
  }
}

void Session::KeepLeftPage(json& patches) {
  const auto& left = frame_.document;
  if (!left || frame_file_.empty()) return;
  const auto mutations = left->TakeMutations();
  if (!mutations.empty()) {
    auto ops = BuildPatches(*left, mutations, frame_.removed.get());
    if (!ops.empty()) patches[std::to_string(frame_.key)] = std::move(ops);
  }
  left->SetRecording(false);
  kept_pages_.insert_or_assign(frame_file_, left);
}

json Session::RenderFrame(json& patches) {
  const auto& now = *frame_.document;
  const auto* tab = shell_->FindTab(shell_->ShownTabId());
  frame_file_ = tab ? tab->page_file : "";
  const auto kept = kept_pages_.find(frame_file_);
  json diff;
  if (kept != kept_pages_.end()) {
    diff = DiffPages(*kept->second, now);
    kept_pages_.erase(kept);
  }
  json page;
  if (diff.is_null()) {
    page = RenderDocument(now, frame_.key);
  } else {
    std::string wiring;
    AddWiring(*now.Body(), wiring);
    page = {{"key", frame_.key},
            {"body", now.Body()->node_id()},
            {"bodyClass", now.Body()->ClassName()},
            {"wiring", std::move(wiring)},
            {"kept", true}};
    if (!diff.empty()) patches[std::to_string(frame_.key)] = std::move(diff);
  }
  page["file"] = frame_file_;
  return page;
}

json Session::BuildAnswer(bool whole) {
  json out{{"seq", ++seq_}};
  json patches = json::object();
  std::optional<json> focus;
  // A reload starts the browser without any page kept.
  if (whole) kept_pages_.clear();
  for (auto* page : {&workspace_, &frame_}) {
    const bool is_frame = page == &frame_;
    const auto now = is_frame ? shell_->TabDocument() : shell_->WorkspaceDocument();
    if (is_frame && !whole && page->document != now) KeepLeftPage(patches);
    const bool replaced = Follow(*page, now);
    const char* name = is_frame ? "frame" : "workspace";
    if (whole || replaced) {
      if (!page->document) {
        out[name] = nullptr;
        if (is_frame) frame_file_.clear();
        continue;
      }
      page->document->TakeMutations();
      page->removed->Clear();
      out[name] = is_frame ? RenderFrame(patches) : RenderDocument(*page->document, page->key);
      auto active = page->document->ActiveElement();
      // A tab page opened takes the keyboard to its first field, unless its logic chose one.
      if ((!active || active->Is("BODY")) && is_frame) active = FirstField(*page->document);
      if (active && !active->Is("BODY")) focus = json{{"page", page->key}, {"node", active->node_id()}, {"select", false}};
      continue;
    }
    if (!page->document) continue;
    const auto mutations = page->document->TakeMutations();
    if (mutations.empty()) continue;
    page->guard.Note(*page->document, mutations, seq_);
    auto ops = BuildPatches(*page->document, mutations, page->removed.get());
    page->removed->Clear();
    if (!ops.empty()) patches[std::to_string(page->key)] = std::move(ops);
    KeepFilledListsAsData(*page->document, mutations);
    if (const auto last = LastFocus(*page->document, mutations)) {
      const auto node = page->document->FindNode(last->node);
      const bool body = node && node->IsElement() && static_cast<const dom::Element&>(*node).Is("BODY");
      if (!body) focus = json{{"page", page->key}, {"node", last->node}, {"select", last->select}};
    }
  }
  if (!patches.empty()) out["patches"] = std::move(patches);
  if (whole) out["filters"] = RenderInputFilters();
  if (whole || shell_revision_sent_ != shell_->Revision()) {
    out["shell"] = RenderShell(*shell_);
    shell_revision_sent_ = shell_->Revision();
  }
  out["status"] = shell_->Status();
  out["pending"] = pending_;
  if (note_read_) {
    const std::uint64_t reads = note_read_().reads;
    if (!whole && reads != reads_told_) out["note"] = NoteRead();
    reads_told_ = reads;
  }
  if (focus) out["focus"] = std::move(*focus);
  // An endorsement the page offered goes with the message it shows next ("saved").
  if (channel_->prompt && (*channel_->prompt)["type"] == "message") {
    if (auto offered = shell_->TakeOfferedEndorsement()) {
      (*channel_->prompt)["offer"] = {{"endorsement", std::move(*offered)}};
    }
  }
  if (channel_->prompt) out["prompt"] = *channel_->prompt;
  return out;
}

json Session::Event(const json& request) {
  if (!request.is_object()) BadRequest("An event must be a JSON object");
  if (WaitingForAnswer()) throw ProtocolError(409, "prompt-waiting", "A message is waiting for its answer");
  const std::uint64_t seen = Seen(request);
  const std::string kind = TextMember(request, "kind");

  // Everything is checked before anything changes.
  std::function<void()> action;
  if (kind == "tab" || kind == "command") {
    const auto id = request.find("id");
    if (id == request.end() || !id->is_string()) BadRequest("A " + kind + " event needs the \"id\" text");
    auto shell = shell_;
    if (kind == "tab") {
      action = [shell, tab = id->get<std::string>()] { shell->ClickTab(tab); };
    } else {
      if (std::find(refused_commands_.begin(), refused_commands_.end(), id->get<std::string>()) !=
          refused_commands_.end()) {
        spdlog::warn("Refused the command {} of '{}': his role is {}", LogText(id->get<std::string>(), 64),
                     LogText(identity_.user_id), identity_.role);
        throw ProtocolError(403, "role", refusal_);
      }
      action = [shell, button = id->get<std::string>()] { shell->ClickCommand(button); };
    }
  } else if (kind == "element") {
    action = ElementAction(request);
  } else {
    BadRequest("Unknown event kind \"" + kind + "\"");
  }

  std::vector<std::pair<ShownPage*, std::vector<BrowserValue>>> posted;
  if (const auto values = request.find("values"); values != request.end()) {
    if (!values->is_object()) BadRequest("\"values\" must be an object");
    for (const auto& [page_key, fields] : values->items()) {
      if (!fields.is_object()) BadRequest("The values of a page must be an object");
      int key = 0;
      try {
        key = std::stoi(page_key);
      } catch (const std::exception&) {
        BadRequest("A page key must be a number");
      }
      std::vector<BrowserValue> page_values;
      for (const auto& [node, value] : fields.items()) {
        if (!value.is_string()) BadRequest("A field value must be text");
        try {
          page_values.push_back({std::stoll(node), value.get<std::string>()});
        } catch (const std::exception&) {
          BadRequest("A node id must be a number");
        }
      }
      // Values of a page no longer shown went with it.
      if (ShownPage* page = PageByKey(key)) posted.emplace_back(page, std::move(page_values));
    }
  }

  for (auto& [page, values] : posted) {
    page->document->TakeMutations();  // nothing is pending between answers; be sure
    ApplyBrowserValues(*page->document, page->guard, values, seen);
    page->document->TakeMutations();  // the browser shows these already
  }
  Run(std::move(action));
  if (TextMember(request, "event") != "keypress") {
    NotePending();
  } else if (const auto* page = PageByKey(request["page"].get<int>())) {
    const auto node = page->document->FindNode(request["node"].get<dom::NodeId>());
    if (node && node->IsElement()) NotePending(static_cast<const dom::Element*>(node.get()));
  }
  return BuildAnswer(false);
}

std::function<void()> Session::ElementAction(const json& request) {
  const auto page_key = request.find("page");
  const auto node_id = request.find("node");
  if (page_key == request.end() || !page_key->is_number_integer() || node_id == request.end() ||
      !node_id->is_number_integer()) {
    BadRequest("An element event needs \"page\" and \"node\" numbers");
  }
  ShownPage* page = PageByKey(page_key->get<int>());
  if (page == nullptr) throw ProtocolError(409, "stale-page", "That page is no longer shown");
  const auto node = page->document->FindNode(node_id->get<dom::NodeId>());
  if (!node || !node->IsElement() || !node->IsConnected()) {
    throw ProtocolError(404, "unknown-node", "No element " + node_id->dump() + " on that page");
  }
  auto element = std::static_pointer_cast<dom::Element>(node);
  const std::string event = TextMember(request, "event");
  int key = 0;
  if (event == "keypress" || event == "keydown" || event == "keyup") {
    const auto key_code = request.find("key");
    if (key_code == request.end() || !key_code->is_number_integer()) BadRequest("A key event needs \"key\"");
    const auto code = key_code->get<std::int64_t>();
    if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) BadRequest("Not a key code");
    key = static_cast<int>(code);
  }
  const auto document = page->document;
  auto shell = shell_;
  auto run = [shell, document, element](std::function<void()> act) {
    return [shell, document, element, act = std::move(act)] { shell->RunUserAction(act); };
  };
  if (event == "click") return run([element] { dom::UserClick(*element); });
  if (event == "dblclick") {
    return run([element] {
      if (dom::UserFocus(*element)) element->FireEvent("ondblclick");
    });
  }
  if (event == "focus") return run([element] { dom::UserFocus(*element); });
  if (event == "change" && element->Is("SELECT")) {
    const auto value = request.find("value");
    if (value == request.end() || !value->is_string()) BadRequest("A select's change needs its \"value\"");
    bool known = false;
    for (const auto& option : element->Options().ToVector()) known = known || option->Value() == value->get<std::string>();
    if (!known) throw ProtocolError(404, "unknown-option", "The select has no option " + value->dump());
    return run([element, chosen = value->get<std::string>()] { dom::ChooseOption(*element, chosen); });
  }
  if (event == "blur" || event == "change") {
    // The value before the administrator's edit, to tell whether leaving changes it.
    return run([element, document, before = element->Value()] {
      if (document->ActiveElement() != element) {
        element->Focus();
        element->SetValueAtUserFocus(before);
      }
      dom::UserBlur(*element);
    });
  }
  if (event == "keypress") {
    const bool types = IsTextBox(*element) && key >= 32 && key != 127;
    return run(
        [element, key, types, selection = SelectionOf(request), text = TypedText(request, key)] {
          if (types) {
            TypeAtSelection(*element, text, selection);
          } else {
            dom::PressKey(*element, key);
          }
        });
  }
  if (event == "keydown") return run([element, key] { dom::PressKey(*element, key); });
  if (event == "keyup") {
    return run([element, key] {
      dom::Event key_event("keyup", element, key);
      element->FireEvent(key_event);
    });
  }
  BadRequest("Unknown element event \"" + event + "\"");
}

json Session::Answer(const json& request) {
  if (!request.is_object()) BadRequest("An answer must be a JSON object");
  Seen(request);
  if (!channel_->prompt || !fiber_) throw ProtocolError(409, "no-prompt", "No message is waiting for an answer");
  const auto id = request.find("prompt");
  if (id == request.end() || !id->is_number_integer() || *id != (*channel_->prompt)["id"]) {
    throw ProtocolError(409, "no-prompt", "That message is no longer waiting");
  }
  const auto result = request.find("result");
  if (result == request.end()) BadRequest("An answer needs its \"result\"");
  if ((*channel_->prompt)["type"] == "message") {
    const int style = (*channel_->prompt)["style"].get<int>();
    const int buttons = style % 16;
    std::vector<int> allowed{dom::message_box::kOk};
    if (buttons == dom::message_box::kOkCancel) allowed = {dom::message_box::kOk, dom::message_box::kCancel};
    if (buttons == dom::message_box::kYesNo) allowed = {dom::message_box::kYes, dom::message_box::kNo};
    if (!result->is_number_integer() ||
        std::find(allowed.begin(), allowed.end(), result->get<int>()) == allowed.end()) {
      BadRequest("That is not an answer this message offers");
    }
    channel_->answer = result->get<int>();
  } else {
    if (!result->is_string()) BadRequest("A dialog's result must be text");
    channel_->answer = result->get<std::string>();
  }
  channel_->prompt.reset();
  Continue();
  NotePending();
  return BuildAnswer(false);
}

json Session::DialogSearch(const json& request) {
  if (!request.is_object()) BadRequest("A search must be a JSON object");
  const auto& prompt = channel_->prompt;
  const auto id = request.find("prompt");
  if (!prompt || (*prompt)["type"] != "dialog" || id == request.end() || !id->is_number_integer() ||
      *id != (*prompt)["id"]) {
    throw ProtocolError(409, "no-dialog", "That dialog is no longer open");
  }
  const auto query = request.find("query");
  if (query == request.end() || !query->is_object()) BadRequest("A search needs its \"query\" object");
  if (!dialog_pages_) throw ProtocolError(404, "no-search", "This dialog cannot search");
  const auto url = (*prompt)["url"].get<std::string>();
  const auto argument = (*prompt)["argument"].get<std::string>();
  return WithoutServerPaths(dialog_pages_->Search(url, argument, *query));
}

void Session::Close() {
  channel_->prompt.reset();
  channel_->fiber = nullptr;
  fiber_.reset();  // unwinds a handler still waiting
  kept_pages_.clear();
  shell_->Close();
}

}  // namespace cn::web
