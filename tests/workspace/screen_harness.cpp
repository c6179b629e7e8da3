#include "screen_harness.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "dom/element.h"
#include "dom/mutation.h"
#include "integration/settings.h"
#include "pages/page.h"

namespace cn::workspace_testing {
namespace {

namespace fs = std::filesystem;

constexpr std::pair<std::string_view, std::string_view> kTabPages[] = {
    {"CNAACov.htm", "COVCover"}, {"CNAAVeh.htm", "COVVeh"},   {"CNAAClm.htm", "COVNCD"},
    {"CNAAPrm.htm", "COVPrem"},  {"CNAANPrm.htm", "COVNPrem"}, {"CNAAOPrm.htm", "COVOPrem"},
};

// The product's page files where they exist; a plain page for a tab not written yet.
fs::path PagesFolder() {
  static const fs::path folder = [] {
    const fs::path dir = fs::temp_directory_path() / ("covernote-cnaa-main-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path product(COVERNOTE_PAGES_DIR);
    fs::copy_file(product / "CNAAMain.htm", dir / "CNAAMain.htm", fs::copy_options::overwrite_existing);
    for (const auto& [file, tab] : kTabPages) {
      if (fs::exists(product / file)) {
        fs::copy_file(product / file, dir / file, fs::copy_options::overwrite_existing);
      } else {
        std::ofstream(dir / file) << "<html><body><p>" << tab << "</p></body></html>";
      }
    }
    return dir;
  }();
  return folder;
}

// A tab page that loads as the real ones do (it becomes the current tab and takes the pending
// command) and notes the clicks the workspace makes on it.
class TabPageStandIn final : public Page {
 public:
  TabPageStandIn(Workspace& workspace, std::shared_ptr<dom::Document> document,
                 std::string_view tab_id, Journal& journal)
      : Page(workspace, std::move(document)), tab_id_(tab_id), journal_(journal) {
    On("cmdReadCNoteNo", "onclick", &TabPageStandIn::cmdReadCNoteNo_onclick);
    On("optPersonalType", "onclick", &TabPageStandIn::optPersonalType_onclick);
  }

 protected:
  void DHTMLPage_Load() override {
    WorkspacePageState& page = workspace().page;
    page.CurrentTabId = tab_id_;
    journal_.push_back("load " + tab_id_ + " pending=" + page.PendingTabCommand);
    page.PendingTabCommand.clear();
  }

 private:
  void cmdReadCNoteNo_onclick() {
    journal_.push_back("click cmdReadCNoteNo with " + Element("txtCoverNoteNumber").Value());
  }
  void optPersonalType_onclick() { journal_.push_back("click optPersonalType"); }

  std::string tab_id_;
  Journal& journal_;
};

// Notes every shell statement a page runs and passes it on to the shell.
class JournalScriptHost final : public dom::ScriptHost {
 public:
  JournalScriptHost(std::weak_ptr<shell::HostShell> shell, Journal& journal)
      : shell_(std::move(shell)), journal_(journal) {}
  void RunScript(dom::Window& window, std::string_view script) override {
    journal_.push_back("script " + std::string(script));
    shell_.lock()->RunScript(window, script);
  }

 private:
  std::weak_ptr<shell::HostShell> shell_;
  Journal& journal_;
};

class LocalTable final : public LocalTableService {
 public:
  LocalTable(ScreenHarness& harness) : harness_(harness) {}
  void GetList(std::string& reply, std::int16_t list_number, std::int32_t& status) override {
    harness_.journal.push_back("local GetList " + std::to_string(list_number));
    reply = harness_.local_lists[list_number];
    status = 0;
  }
  void GetMotorClassList(std::string& reply, std::int32_t kind, std::int32_t& status) override {
    harness_.journal.push_back("local GetMotorClassList " + std::to_string(kind));
    reply = harness_.local_motor_classes[kind];
    status = 0;
  }
  void GetUOMList(std::string& reply, std::string_view class_code, std::int32_t& status) override {
    harness_.journal.push_back("local GetUOMList " + std::string(class_code));
    reply.clear();
    status = 0;
  }

 private:
  ScreenHarness& harness_;
};

class Messages final : public MessageService {
 public:
  explicit Messages(ScreenHarness& harness) : harness_(harness) {}
  std::int32_t ShowMessage(std::int32_t number, std::string_view title, std::string_view p1,
                           std::string_view p2, std::string_view p3, std::string_view p4,
                           std::string_view p5) override {
    harness_.journal.push_back("message " + std::to_string(number) + " '" + std::string(title) +
                               "' [" + Join({std::string(p1), std::string(p2), std::string(p3),
                                             std::string(p4), std::string(p5)},
                                            ",") +
                               "]");
    std::deque<std::int32_t>& queue = harness_.answers.message_answers;
    if (queue.empty()) return answer::kOk;
    const std::int32_t answer = queue.front();
    queue.pop_front();
    return answer;
  }

 private:
  ScreenHarness& harness_;
};

class Settings final : public Registry {
 public:
  explicit Settings(ScreenHarness& harness) : harness_(harness) {}
  std::string GetKeyValue(std::uint32_t, std::string_view key_path,
                          std::string_view value_name) override {
    harness_.journal.push_back("setting " + std::string(value_name));
    const auto it = harness_.settings.find({std::string(key_path), std::string(value_name)});
    return it == harness_.settings.end() ? std::string() : it->second;
  }

 private:
  ScreenHarness& harness_;
};

DateTime Noon(int year, int month, int day) {
  return {*Date::FromYmd(year, month, day), *Time::FromHms(12, 0, 0)};
}

}  // namespace

std::string Readable(std::string_view text) {
  std::string readable(text);
  readable = Replace(readable, ParamSeparator, "^");
  readable = Replace(readable, FieldSeparator, "|");
  readable = Replace(readable, RecordSeparator, "~");
  return Replace(readable, DialogArgSeparator, "#");
}

class JournalBackend::Instance final : public BackendCommandService {
 public:
  explicit Instance(JournalBackend& backend) : backend_(backend) {}
  void ExecuteCommand(std::string_view command, std::string_view parameters, std::string& reply,
                      std::int32_t& status) override {
    backend_.journal_.push_back("command " + std::string(command) + " " + Readable(parameters));
    if (backend_.failing_.contains(std::string(command))) {
      throw RuntimeFailure(440, "The back end is not reachable", "FakeBackend");
    }
    const std::string* answer = nullptr;
    if (const auto it = backend_.exact_.find({std::string(command), std::string(parameters)});
        it != backend_.exact_.end()) {
      answer = &it->second;
    } else if (const auto any = backend_.any_.find(std::string(command)); any != backend_.any_.end()) {
      answer = &any->second;
    }
    status = 0;
    if (answer != nullptr) reply = *answer;
  }

 private:
  JournalBackend& backend_;
};

void JournalBackend::Answer(std::string command, std::string parameters, std::string reply) {
  exact_[{std::move(command), std::move(parameters)}] = std::move(reply);
}

void JournalBackend::AnswerAny(std::string command, std::string reply) {
  any_[std::move(command)] = std::move(reply);
}

void JournalBackend::Fail(std::string command) { failing_.insert(std::move(command)); }

ComponentFactory<BackendCommandService> JournalBackend::Factory() {
  return [this] { return std::make_unique<Instance>(*this); };
}

class ScreenHarness::Dialogs final : public dom::DialogHost {
 public:
  explicit Dialogs(ScreenHarness& harness) : harness_(harness) {}
  int MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) override {
    harness_.journal.push_back("box " + std::to_string(buttons_and_icon) + " '" + std::string(title) +
                               "' " + std::string(prompt));
    std::deque<int>& queue = harness_.answers.box_answers;
    if (queue.empty()) return dom::message_box::kOk;
    const int answer = queue.front();
    queue.pop_front();
    return answer;
  }
  std::string ShowModalDialog(std::string_view url, std::string_view argument,
                              std::string_view features) override {
    harness_.journal.push_back("dialog " + std::string(url) + " " + Readable(argument) + " " +
                               std::string(features));
    std::deque<std::string>& queue = harness_.answers.dialog_results;
    if (queue.empty()) return {};
    std::string result = queue.front();
    queue.pop_front();
    return result;
  }

 private:
  ScreenHarness& harness_;
};

ScreenHarness::ScreenHarness(bool local_tables)
    : local_clock(Noon(2014, 3, 5)),
      components_(ComponentFactories{
          backend.Factory(), [this] { return std::make_unique<LocalTable>(*this); },
          [this] { return std::make_unique<Messages>(*this); }, nullptr, nullptr,
          [this] { return std::make_unique<Settings>(*this); }}),
      screen_(components_, local_clock),
      pages_dir_(PagesFolder()) {
  const std::string user_key(kUserIdKey);
  settings[{user_key, "_CurrentUserID"}] = "ADMIN01";
  settings[{user_key, "_CurrentAgentType"}] = "A";
  settings[{user_key, "_CurrentAgentCode"}] = "AG100";
  settings[{std::string(kUserInterfaceKey), "Use Local Table"}] = local_tables ? "1" : "0";
  SetBackEndNow("05-Mar-2014 10:00:00 AM");
  SetNewTariffDate("01-Jan-2020");
}

ScreenHarness::~ScreenHarness() {
  if (shell_) shell_->Close();
}

void ScreenHarness::SetBackEndNow(std::string_view date_time) {
  backend.Answer("KivoInsurance.Find.FindSystemDateTime", "", std::string(date_time));
}

void ScreenHarness::SetNewTariffDate(std::string_view date) {
  backend.Answer("KivoInsurance.Maintenance.ReadSystemParameterByCode", "1127",
                 "1127" + std::string(FieldSeparator) + "New tariff" + std::string(FieldSeparator) +
                     std::string(date));
}

void ScreenHarness::SetSystemCodes(
    std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  std::vector<std::string> entries;
  for (const auto& [code, value] : codes) {
    entries.push_back(std::string(code) + std::string(FieldSeparator) + std::string(value));
  }
  const std::string list = Join(entries, RecordSeparator);
  backend.Answer("KivoInsurance.Find.Browse", "2", list);
  local_lists[6] = list;
}

void ScreenHarness::Start(std::string cookies) {
  const auto dialogs = std::make_shared<Dialogs>(*this);
  auto workspace_pages = screen_.PageFactory();
  // The shell is made below; the factory reaches it through this cell.
  auto shell_cell = std::make_shared<std::weak_ptr<shell::HostShell>>();
  dom::PageFactory factory = [this, workspace_pages, shell_cell](
                                 std::string_view page_file,
                                 const std::shared_ptr<dom::Document>& document)
      -> std::unique_ptr<dom::PageLogic> {
    document->ParentWindow()->SetScriptHost(std::make_shared<JournalScriptHost>(*shell_cell, journal));
    document->AddChangeListener([this](const dom::Mutation& change) {
      if (change.kind == dom::MutationKind::kStatus) journal.push_back("status " + change.value);
    });
    if (page_file == "CNAAMain.htm") return workspace_pages(page_file, document);
    for (const auto& [file, tab] : kTabPages) {
      if (file == page_file) return std::make_unique<TabPageStandIn>(workspace(), document, tab, journal);
    }
    return nullptr;
  };
  shell_ = shell::HostShell::Create({pages_dir_, factory, dialogs, std::move(cookies)});
  *shell_cell = shell_;
  shell_->Start();
}

void ScreenHarness::ClickTab(std::string_view tab_id) { shell_->ClickTab(tab_id); }

void ScreenHarness::ClickCommand(std::string_view button_id) { shell_->ClickCommand(button_id); }

void ScreenHarness::Post(std::string_view message) {
  shell_->RunUserAction([&] {
    const auto element = workspace_page().GetElementById("UIF_ID_Msg");
    element->SetInnerHtml(message);
    element->FireEvent("onpropertychange");
  });
}

dom::Document& ScreenHarness::tab_page() const {
  const auto page = shell_->TabDocument();
  if (!page) throw std::logic_error("no tab page is shown");
  return *page;
}

Journal ScreenHarness::Take() {
  Journal taken = std::move(journal);
  journal.clear();
  return taken;
}

}  // namespace cn::workspace_testing
