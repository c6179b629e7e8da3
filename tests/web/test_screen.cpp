#include "test_screen.h"

#include <unistd.h>

#include <fstream>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <utility>

#include "dom/element.h"
#include "dom/events.h"
#include "function_page.h"
#include "shell/host_shell.h"

namespace cn::web::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPageA = R"(<html><body class="clsTab">
<label id="lblEcho"></label>
<input id="txtNum" maxlength="10"><input id="txtName"><input id="txtAmount">
<select id="cboKind"><option value="A">Alpha</option><option value="B">Beta</option></select>
<button id="cmdCopy">Copy</button>
</body></html>)";
constexpr const char* kPageB = R"(<html><body><input id="txtOther"></body></html>)";

// The selection file as the pages write it: UTF-16LE with a byte-order mark.
void WriteBodyList(const fs::path& installation) {
  const std::u16string text = u"B01\uFFFESaloon\uFFFFB02\uFFFEHatchback\uFFFFB03\uFFFEPick-up";
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  fs::create_directories(installation / "Temp");
  std::ofstream(installation / "Temp" / "mySelect.txt", std::ios::binary | std::ios::trunc) << bytes;
}

std::unique_ptr<dom::PageLogic> WorkspaceLogic(const Identity& identity, const std::shared_ptr<dom::Document>& page,
                                               const fs::path& installation) {
  std::weak_ptr<dom::Document> weak = page;
  page->Bind("UIF_ID_Msg", "onpropertychange", [weak, installation] {
    const auto document = weak.lock();
    const auto window = document->ParentWindow();
    const std::string message = document->GetElementById("UIF_ID_Msg")->InnerHtml();
    if (message == "cmdPick") {
      WriteBodyList(installation);
      const std::string picked = window->ShowModalDialog("dlgSrch.htm", "SearchBody", "dialogwidth=480px;");
      window->SetStatus(picked.empty() ? "Picked nothing" : "Picked " + picked);
      return;
    }
    if (message != "cmdAsk") return;
    const bool yes = window->MessageBox("Clear the fields?", dom::message_box::kYesNo + dom::message_box::kQuestion,
                                        "Question") == dom::message_box::kYes;
    if (yes) document->GetFrame(shell::kFrameName)->document()->GetElementById("txtName")->SetValue("");
    window->SetStatus(yes ? "Cleared" : "Kept");
  });
  return std::make_unique<cn::testing::FunctionPage>([weak, user = identity.user_id] {
    const auto window = weak.lock()->ParentWindow();
    window->ExecScript("ShowTitle('Test Screen : " + user + "')");
    for (const char* statement :
         {"InsertTabButton('TABA','First','TESTA.htm')", "InsertTabButton('TABB','Second','TESTB.htm')",
          "InsertTabButton('TABH','Hidden','TESTB.htm')", "ShowTabButton('TABH', false)",
          "InsertCmdButton('cmdAsk','Ask','')", "InsertCmdButton('cmdSave','Save','')",
          "InsertCmdButton('cmdPick','Pick','')", "EnableCmdButton('cmdSave', false)", "TabFocus('TABA')"}) {
      window->ExecScript(statement);
    }
    window->SetStatus("Done");
  });
}

std::unique_ptr<dom::PageLogic> PageALogic(const std::shared_ptr<dom::Document>& page) {
  std::weak_ptr<dom::Document> weak = page;
  auto element = [weak](const char* id) { return weak.lock()->GetElementById(id); };
  page->Bind("txtNum", "onkeypress", [weak, element] {
    const auto window = weak.lock()->ParentWindow();
    dom::Event* event = window->CurrentEvent();
    const int key = event->KeyCode();
    if (key >= 'a' && key <= 'z') event->SetKeyCode(key - 32);
    if (key == '#') event->SetKeyCode(0);
    if (key == 13) {
      element("lblEcho")->SetInnerText("Read " + element("txtNum")->Value());
      window->ExecScript("EnableCmdButton('cmdSave', true)");
    }
  });
  page->Bind("txtName", "onblur", [element] {
    element("lblEcho")->SetInnerText("Name " + element("txtName")->Value());
    element("txtAmount")->SetValue("1.00");
  });
  page->Bind("cboKind", "onchange", [element] { element("lblEcho")->SetInnerText("Kind " + element("cboKind")->Value()); });
  page->Bind("cmdCopy", "onclick", [element] {
    element("txtName")->SetValue(element("txtNum")->Value());
    element("txtAmount")->Focus();
    element("txtAmount")->Select();
  });
  return std::make_unique<cn::testing::FunctionPage>(
      [element] { element("txtAmount")->AddBehavior("Behaviors/EntryNumber.htc"); });
}

}  // namespace

TestPages::TestPages() {
  // Test programs run side by side and their objects may sit at the same addresses: the
  // process id keeps each program's pages to itself.
  dir_ = fs::temp_directory_path() / ("covernote-web-" + std::to_string(::getpid()) + "-" +
                                      std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  fs::create_directories(dir_);
  fs::copy_file(fs::path(COVERNOTE_PAGES_DIR) / "CNAAMain.htm", dir_ / "CNAAMain.htm",
                fs::copy_options::overwrite_existing);
  std::ofstream(dir_ / "TESTA.htm") << kPageA;
  std::ofstream(dir_ / "TESTB.htm") << kPageB;
}

TestPages::~TestPages() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

ScreenFactory TestScreenFactory(fs::path pages, std::shared_ptr<DialogPages> dialog_pages, fs::path installation) {
  return [pages, dialog_pages, installation](const Identity& identity, std::shared_ptr<dom::DialogHost> dialogs) {
    shell::HostShell::Options options;
    options.pages_dir = pages;
    options.dialogs = std::move(dialogs);
    options.page_factory = [identity, installation](std::string_view file,
                                                    const std::shared_ptr<dom::Document>& document)
        -> std::unique_ptr<dom::PageLogic> {
      if (file == shell::kWorkspacePage) return WorkspaceLogic(identity, document, installation);
      if (file == "TESTA.htm") return PageALogic(document);
      return nullptr;
    };
    return SessionScreen{shell::HostShell::Create(std::move(options)), dialog_pages};
  };
}

dom::NodeId NodeOf(const nlohmann::json& page, const std::string& id) {
  const std::string html = page.at("html");
  std::smatch match;
  if (!std::regex_search(html, match, std::regex("id='" + id + "'[^>]*data-nid='(\\d+)'")))
    throw std::runtime_error("no element " + id + " in " + html);
  return std::stoll(match[1]);
}

}  // namespace cn::web::testing
