#include "screen_harness.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "dom/element.h"
#include "dom/mutation.h"
#include "integration/settings.h"
#include "pages/page.h"
#include "workspace_world.h"

namespace cn::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::pair<std::string_view, std::string_view> kTabPages[] = {
    {"CNAACov.htm", "COVCover"}, {"CNAAVeh.htm", "COVVeh"},    {"CNAAClm.htm", "COVNCD"},
    {"CNAAPrm.htm", "COVPrem"},  {"CNAANPrm.htm", "COVNPrem"}, {"CNAAOPrm.htm", "COVOPrem"},
};

// The product's page files where they exist; a plain page for a tab not written yet.
fs::path PagesFolder() {
  static const fs::path folder = [] {
    const fs::path dir =
        fs::temp_directory_path() / ("covernote-screen-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path product(COVERNOTE_PAGES_DIR);
    fs::copy_file(product / "CNAAMain.htm", dir / "CNAAMain.htm",
                  fs::copy_options::overwrite_existing);
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
    static constexpr auto kHandlers = dom::SortedRows({
        {"cmdReadCNoteNo", "onclick", Handler<&TabPageStandIn::cmdReadCNoteNo_onclick>},
        {"optPersonalType", "onclick", Handler<&TabPageStandIn::optPersonalType_onclick>},
    });
    BindHandlers(kHandlers);
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

}  // namespace

ScreenHarness::ScreenHarness(bool local_tables)
    : local_clock(At(2014, 3, 5, 12)),
      screen_(fakes.components, local_clock),
      pages_dir_(PagesFolder()) {
  fakes.RecordInto(journal);
  dialogs->journal = &journal;
  const std::string user_key(kUserIdKey);
  auto& settings = fakes.registry.values;
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
  fakes.backend.Answer("KivoInsurance.Find.FindSystemDateTime", "", std::string(date_time));
}

void ScreenHarness::SetNewTariffDate(std::string_view date) {
  fakes.backend.Answer("KivoInsurance.Maintenance.ReadSystemParameterByCode", "1127",
                       Fields({"1127", "New tariff", date}));
}

void ScreenHarness::SetSystemCodes(
    std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  const std::string list = CodeList(codes);
  fakes.backend.Answer("KivoInsurance.Find.Browse", "2", list);
  fakes.local_table.lists[6] = list;
}

void ScreenHarness::Start(std::string cookies) {
  auto workspace_pages = screen_.PageFactory();
  // The shell is made below; the factory reaches it through this cell.
  auto shell_cell = std::make_shared<std::weak_ptr<shell::HostShell>>();
  dom::PageFactory factory =
      [this, workspace_pages, shell_cell](
          std::string_view page_file,
          const std::shared_ptr<dom::Document>& document) -> std::unique_ptr<dom::PageLogic> {
    document->ParentWindow()->SetScriptHost(
        std::make_shared<JournalScriptHost>(*shell_cell, journal));
    document->AddChangeListener(dom::MutationKind::kStatus, [this](const dom::Mutation& change) {
      journal.push_back("status " + change.value);
    });
    if (page_file == "CNAAMain.htm") return workspace_pages(page_file, document);
    for (const auto& [file, tab] : kTabPages) {
      if (file == page_file) {
        return std::make_unique<TabPageStandIn>(workspace(), document, tab, journal);
      }
    }
    return nullptr;
  };
  shell_ = shell::HostShell::Create({.pages_dir = pages_dir_,
                                     .page_factory = factory,
                                     .dialogs = dialogs,
                                     .cookies = std::move(cookies),
                                     .page_templates = nullptr});
  *shell_cell = shell_;
  shell_->Start();
}

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

}  // namespace cn::testing
