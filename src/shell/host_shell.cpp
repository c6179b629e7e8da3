#include "shell/host_shell.h"

#include <algorithm>
#include <utility>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "dom/element.h"

namespace cn::shell {

namespace {

constexpr std::int32_t kScriptError = 5;        // invalid call of a shell function
constexpr std::int32_t kPageNotFound = 53;      // the page file is not there
constexpr int kMostTabChangesInARow = 16;       // a page that keeps asking for tabs is a fault

[[noreturn]] void Refuse(std::string_view why, const ScriptStatement& statement) {
  throw RuntimeFailure(kScriptError, std::string(why) + " in " + statement.function + "(...)",
                       "HostShell");
}

const std::string& TextArgument(const ScriptStatement& statement, std::size_t index) {
  const auto* text = std::get_if<std::string>(&statement.arguments[index]);
  if (text == nullptr) Refuse("argument " + std::to_string(index + 1) + " must be quoted text", statement);
  return *text;
}

bool FlagArgument(const ScriptStatement& statement, std::size_t index) {
  const auto* flag = std::get_if<bool>(&statement.arguments[index]);
  if (flag == nullptr) Refuse("argument " + std::to_string(index + 1) + " must be true or false", statement);
  return *flag;
}

// Page files are plain names in the pages folder; nothing may reach outside it.
bool IsPlainPageName(std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
  });
}

// Lets every page window reach the shell without keeping it alive.
class ShellScriptHost final : public dom::ScriptHost {
 public:
  explicit ShellScriptHost(std::weak_ptr<HostShell> shell) : shell_(std::move(shell)) {}
  void RunScript(dom::Window& window, std::string_view script) override {
    const auto shell = shell_.lock();
    if (!shell) throw RuntimeFailure(kScriptError, "The shell has closed", "HostShell");
    shell->RunScript(window, script);
  }

 private:
  std::weak_ptr<HostShell> shell_;
};

}  // namespace

// Every way into the shell counts its depth; leaving the outermost performs the tab changes
// that handlers asked for, so that no page is replaced while its own handler still runs.
class HostShell::Scope {
 public:
  explicit Scope(HostShell& shell) : shell_(shell) { ++shell_.depth_; }
  ~Scope() { --shell_.depth_; }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;
  void Finish() {
    if (shell_.depth_ == 1) shell_.PerformNavigations();
  }

 private:
  HostShell& shell_;
};

std::shared_ptr<HostShell> HostShell::Create(Options options) {
  auto shell = std::make_shared<HostShell>(Key{}, std::move(options));
  shell->script_host_ = std::make_shared<ShellScriptHost>(shell);
  return shell;
}

HostShell::HostShell(Key /*only Create*/, Options options) : options_(std::move(options)) {}

HostShell::~HostShell() = default;

void HostShell::Start() {
  Scope scope(*this);
  try {
    workspace_ = OpenPage(kWorkspacePage);
    // The cookies a separate enquiry screen left for this one.
    for (const std::string& pair : Split(options_.cookies, "; ")) {
      if (!pair.empty()) workspace_->SetCookie(pair);
    }
    if (options_.page_factory) workspace_logic_ = options_.page_factory(kWorkspacePage, workspace_);
    if (workspace_logic_) workspace_logic_->Load();
  } catch (const std::exception& failure) {
    Report(failure);
  }
  scope.Finish();
}

void HostShell::Close() {
  Scope scope(*this);
  pending_tabs_.clear();
  try {
    UnloadTabPage();
    if (workspace_logic_) workspace_logic_->Unload();
  } catch (const std::exception& failure) {
    Report(failure);
  }
  workspace_logic_.reset();
}

void HostShell::ClickTab(std::string_view tab_id) {
  const TabButton* tab = FindTab(tab_id);
  if (tab == nullptr || !tab->shown || tab->id == shown_tab_) return;
  Scope scope(*this);
  try {
    ShowTab(tab_id);
  } catch (const std::exception& failure) {
    Report(failure);
  }
  scope.Finish();
}

void HostShell::ClickCommand(std::string_view button_id) {
  const CommandButton* button = FindButton(button_id);
  if (button == nullptr || !button->enabled || !button->shown) return;
  Scope scope(*this);
  try {
    Post(button_id);
  } catch (const std::exception& failure) {
    Report(failure);
  }
  scope.Finish();
}

void HostShell::RunUserAction(const std::function<void()>& action) {
  Scope scope(*this);
  action();
  scope.Finish();
}

const TabButton* HostShell::FindTab(std::string_view id) const {
  const auto it = std::find_if(tabs_.begin(), tabs_.end(), [&](const TabButton& t) { return t.id == id; });
  return it == tabs_.end() ? nullptr : &*it;
}

const CommandButton* HostShell::FindButton(std::string_view id) const {
  const auto it =
      std::find_if(buttons_.begin(), buttons_.end(), [&](const CommandButton& b) { return b.id == id; });
  return it == buttons_.end() ? nullptr : &*it;
}

TabButton& HostShell::Tab(std::string_view id) {
  const auto it = std::find_if(tabs_.begin(), tabs_.end(), [&](const TabButton& t) { return t.id == id; });
  if (it == tabs_.end()) throw RuntimeFailure(kScriptError, "No tab '" + std::string(id) + "'", "HostShell");
  return *it;
}

CommandButton& HostShell::Button(std::string_view id) {
  const auto it =
      std::find_if(buttons_.begin(), buttons_.end(), [&](const CommandButton& b) { return b.id == id; });
  if (it == buttons_.end()) {
    throw RuntimeFailure(kScriptError, "No command button '" + std::string(id) + "'", "HostShell");
  }
  return *it;
}

std::shared_ptr<dom::Document> HostShell::TabDocument() const {
  if (!workspace_ || shown_tab_.empty()) return nullptr;
  const auto frame = workspace_->FindFrame(kFrameName);
  return frame ? frame->document() : nullptr;
}

void HostShell::RunScript(dom::Window& window, std::string_view script) {
  Scope scope(*this);
  Execute(window, ParseScriptStatement(script));
  // Tab changes wait for the outermost entry point; a script run from outside any of them
  // (a test, a tool) performs its own.
  scope.Finish();
}

void HostShell::Execute(dom::Window& window, const ScriptStatement& statement) {
  // Each shell function with the kinds of its arguments: 's' quoted text, 'b' true/false.
  struct Function {
    std::string_view name;
    std::string_view kinds;
  };
  static constexpr Function kFunctions[] = {
      {"ShowTitle", "s"},      {"InsertCmdButton", "sss"}, {"EnableCmdButton", "sb"},
      {"ShowCmdButton", "sb"}, {"InsertTabButton", "sss"}, {"TabFocus", "s"},
      {"ShowTabButton", "sb"}, {"DelCookie", "s"},         {"OfferEndorsement", "s"},
  };
  const auto* function = std::find_if(std::begin(kFunctions), std::end(kFunctions),
                                      [&](const Function& f) { return f.name == statement.function; });
  if (function == std::end(kFunctions)) Refuse("unknown shell function", statement);
  if (statement.arguments.size() != function->kinds.size()) Refuse("wrong number of arguments", statement);
  for (std::size_t i = 0; i < function->kinds.size(); ++i) {
    if (function->kinds[i] == 's') TextArgument(statement, i);
    if (function->kinds[i] == 'b') FlagArgument(statement, i);
  }

  const std::string_view name = statement.function;
  if (name == "ShowTitle") {
    title_ = TextArgument(statement, 0);
    Changed();
  } else if (name == "InsertCmdButton") {
    const std::string& id = TextArgument(statement, 0);
    if (FindButton(id) != nullptr) Refuse("command button '" + id + "' inserted twice", statement);
    buttons_.push_back({id, TextArgument(statement, 1), TextArgument(statement, 2)});
    Changed();
  } else if (name == "EnableCmdButton") {
    Button(TextArgument(statement, 0)).enabled = FlagArgument(statement, 1);
    Changed();
  } else if (name == "ShowCmdButton") {
    Button(TextArgument(statement, 0)).shown = FlagArgument(statement, 1);
    Changed();
  } else if (name == "InsertTabButton") {
    const std::string& id = TextArgument(statement, 0);
    const std::string& page = TextArgument(statement, 2);
    if (FindTab(id) != nullptr) Refuse("tab '" + id + "' inserted twice", statement);
    if (!IsPlainPageName(page)) Refuse("page file '" + page + "' is not a plain file name", statement);
    tabs_.push_back({id, TextArgument(statement, 1), page});
    Changed();
  } else if (name == "TabFocus") {
    ShowTab(TextArgument(statement, 0));
  } else if (name == "ShowTabButton") {
    Tab(TextArgument(statement, 0)).shown = FlagArgument(statement, 1);
    Changed();
  } else if (name == "OfferEndorsement") {
    offered_endorsement_ = TextArgument(statement, 0);
  } else if (name == "DelCookie") {
    const std::string& cookie = TextArgument(statement, 0);
    if (workspace_) workspace_->DeleteCookie(cookie);
    if (const auto document = window.document(); document && document != workspace_) {
      document->DeleteCookie(cookie);
    }
  }
}

std::optional<std::string> HostShell::TakeOfferedEndorsement() {
  return std::exchange(offered_endorsement_, std::nullopt);
}

void HostShell::ShowTab(std::string_view tab_id) {
  Tab(tab_id);  // an unknown tab is the caller's fault, at once
  // The workspace hears of the change while the page being left is still in the frame.
  Post(tab_id);
  pending_tabs_.emplace_back(tab_id);
}

void HostShell::Post(std::string_view message) {
  if (!workspace_) throw RuntimeFailure(kScriptError, "The workspace page is not loaded", "HostShell");
  const auto element = workspace_->GetElementById(kMessageElement);
  element->SetInnerHtml(message);
  element->FireEvent("onpropertychange");
}

void HostShell::PerformNavigations() {
  for (int performed = 0; !pending_tabs_.empty(); ++performed) {
    const std::string tab_id = pending_tabs_.front();
    pending_tabs_.pop_front();
    if (performed == kMostTabChangesInARow) {
      pending_tabs_.clear();
      Report(RuntimeFailure(kScriptError, "Too many tab changes in a row; the last was '" + tab_id + "'",
                            "HostShell"));
      return;
    }
    try {
      Navigate(tab_id);
    } catch (const std::exception& failure) {
      Report(failure);
    }
  }
}

void HostShell::Navigate(const std::string& tab_id) {
  const TabButton tab = Tab(tab_id);
  UnloadTabPage();
  const auto page = OpenPage(tab.page_file);
  std::shared_ptr<dom::Element> frame;
  for (const auto& candidate : workspace_->Frames()) {
    if (candidate->Name() == kFrameName || candidate->Id() == kFrameName) frame = candidate;
    if (frame) break;
  }
  if (!frame) {
    throw RuntimeFailure(kPageNotFound, "The workspace page has no frame '" + std::string(kFrameName) + "'",
                         "HostShell");
  }
  frame->SetContentDocument(page);
  shown_tab_ = tab.id;
  Changed();
  if (options_.page_factory) tab_logic_ = options_.page_factory(tab.page_file, page);
  if (tab_logic_) tab_logic_->Load();
}

void HostShell::UnloadTabPage() {
  if (shown_tab_.empty()) return;
  shown_tab_.clear();
  Changed();
  auto logic = std::move(tab_logic_);
  if (logic) logic->Unload();
}

std::shared_ptr<dom::Document> HostShell::OpenPage(std::string_view page_file) {
  if (!IsPlainPageName(page_file)) {
    throw RuntimeFailure(kPageNotFound, "Page file '" + std::string(page_file) + "' is not a plain file name",
                         "HostShell");
  }
  const std::filesystem::path path = options_.pages_dir / std::string(page_file);
  if (!std::filesystem::is_regular_file(path)) {
    throw RuntimeFailure(kPageNotFound, "Page file not found: " + path.string(), "HostShell");
  }
  auto document = options_.page_templates ? options_.page_templates->Load(path) : dom::Document::Load(path);
  const auto window = document->ParentWindow();
  window->SetScriptHost(script_host_);
  window->SetDialogHost(options_.dialogs);
  std::weak_ptr<HostShell> self = weak_from_this();
  document->AddChangeListener(dom::MutationKind::kStatus, [self](const dom::Mutation& change) {
    if (const auto shell = self.lock()) {
      shell->status_ = change.value;
      shell->Changed();
    }
  });
  return document;
}

// A failure the shell itself meets (a missing page, a page that never stops switching tabs) is
// shown like any unexpected failure and leaves the screen usable.
void HostShell::Report(const std::exception& failure) {
  if (!options_.dialogs) return;
  options_.dialogs->MessageBox(failure.what(), dom::message_box::kExclamation, "");
}

}  // namespace cn::shell
