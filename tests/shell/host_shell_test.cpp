#include "shell/host_shell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "../base/temp_folder.h"
#include "base/runtime_failure.h"
#include "dom/element.h"
#include "fake_ports.h"

namespace cn::shell {
namespace {

namespace fs = std::filesystem;

// What the pages saw, in order, across the whole screen.
using Journal = std::vector<std::string>;

// A page whose load runs the given statements in its window, and whose load and unload are
// journalled.
class ScriptedPage : public dom::PageLogic {
 public:
  ScriptedPage(std::string file, std::shared_ptr<dom::Document> document, Journal& journal,
               std::vector<std::string> on_load)
      : file_(std::move(file)), document_(std::move(document)), journal_(journal), on_load_(std::move(on_load)) {}
  void Load() override {
    journal_.push_back("load " + file_);
    for (const auto& statement : on_load_) document_->ParentWindow()->ExecScript(statement);
  }
  void Unload() override { journal_.push_back("unload " + file_); }

 private:
  std::string file_;
  std::shared_ptr<dom::Document> document_;
  Journal& journal_;
  std::vector<std::string> on_load_;
};

// The workspace page records each shell message with the page the frame shows; a tab page's
// Go button asks for `next_tab_script_`.
class HostShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(COVERNOTE_PAGES_DIR) / "CNAAMain.htm", pages_ / "CNAAMain.htm",
                  fs::copy_options::overwrite_existing);
    for (const char* page : {"CNAACov.htm", "CNAAVeh.htm"})
      std::ofstream(pages_ / page) << "<html><body><input id=txtField><button id=cmdGo>Go</button></body></html>";
  }

  // The shell started on the usual tabs and buttons and `more` statements; the journal starts after.
  std::shared_ptr<HostShell> Started(std::vector<std::string> more = {}, bool standard = true) {
    std::vector<std::string> load;
    if (standard) {
      load = {"ShowTitle('Cover Note Amendment - Administrator')", "InsertTabButton('COVCover','Cover','CNAACov.htm')",
              "InsertTabButton('COVVeh','Vehicle','CNAAVeh.htm')", "InsertTabButton('COVGone','Gone','CNAAGone.htm')",
              "InsertCmdButton('cmdReset','Reset','')",          "InsertCmdButton('cmdSave','Save','')",
              "EnableCmdButton('cmdSave', false)",               "TabFocus('COVCover')"};
    }
    load.insert(load.end(), more.begin(), more.end());
    HostShell::Options options;
    options.pages_dir = pages_;
    options.dialogs = dialogs_;
    options.page_factory = [this, load](std::string_view file, const std::shared_ptr<dom::Document>& document)
        -> std::unique_ptr<dom::PageLogic> {
      dom::Document* const page = document.get();  // handlers live in the document's own table
      if (file == kWorkspacePage) {
        document->Bind("UIF_ID_Msg", "onpropertychange", [this, page] {
          const auto frame_page = shell_->TabDocument();
          journal_.push_back("message " + page->GetElementById("UIF_ID_Msg")->InnerHtml() + " while " +
                             (frame_page ? fs::path(frame_page->Url()).filename().string() : "no page"));
        });
        return std::make_unique<ScriptedPage>(std::string(file), document, journal_, load);
      }
      document->Bind("cmdGo", "onclick", [this, page] {
        journal_.push_back("click starts");
        page->ParentWindow()->ExecScript(next_tab_script_);
        journal_.push_back("click ends");
      });
      return std::make_unique<ScriptedPage>(std::string(file), document, journal_, tab_load_);
    };
    shell_ = HostShell::Create(options);
    shell_->Start();
    journal_.clear();
    return shell_;
  }
  std::string Message() const { return shell_->WorkspaceDocument()->GetElementById("UIF_ID_Msg")->InnerHtml(); }

  const cn::testing::TempFolder folder_{"covernote-shell"};
  const fs::path& pages_ = folder_.path;
  std::shared_ptr<cn::testing::FakeDialogs> dialogs_ = std::make_shared<cn::testing::FakeDialogs>();
  std::shared_ptr<HostShell> shell_;
  Journal journal_;
  std::vector<std::string> tab_load_;
  std::string next_tab_script_ = "TabFocus('COVVeh')";
};

TEST_F(HostShellTest, TabClickPostsTheMessageWhileThePageBeingLeftIsStillShown) {
  auto shell = Started();
  shell->ClickTab("COVVeh");
  EXPECT_EQ(journal_, (Journal{"message COVVeh while CNAACov.htm", "unload CNAACov.htm", "load CNAAVeh.htm"}));
  EXPECT_EQ(shell->ShownTabId(), "COVVeh");
  EXPECT_EQ(Message(), "COVVeh");
}

TEST_F(HostShellTest, ClicksOnHiddenDisabledUnknownOrShownButtonsDoNothing) {
  auto shell = Started({"ShowTabButton('COVVeh', false)"});
  shell->ClickTab("COVVeh");       // hidden
  shell->ClickTab("COVCover");     // already shown
  shell->ClickTab("COVNobody");    // unknown
  shell->ClickCommand("cmdSave");  // disabled
  shell->ClickCommand("cmdNobody");
  EXPECT_TRUE(journal_.empty());
  shell->ClickCommand("cmdReset");
  EXPECT_EQ(journal_, (Journal{"message cmdReset while CNAACov.htm"}));
  EXPECT_EQ(shell->ShownTabId(), "COVCover");
}

TEST_F(HostShellTest, APageAskingForAnotherTabKeepsRunningUntilItsHandlerEnds) {
  auto shell = Started();
  shell->RunUserAction([&] { shell->TabDocument()->GetElementById("cmdGo")->Click(); });
  EXPECT_EQ(journal_, (Journal{"click starts", "message COVVeh while CNAACov.htm", "click ends", "unload CNAACov.htm",
                               "load CNAAVeh.htm"}));
}

TEST_F(HostShellTest, RefusesUnknownScriptAndUnknownButtons) {
  auto& window = *Started({}, false)->WorkspaceDocument()->ParentWindow();
  // Not a shell function, a wrong count, a flag not a word, unknown buttons, a page outside.
  const std::string_view refused[] = {"alert('x')", "ShowTitle('a','b')", "EnableCmdButton('cmdSave', 'no')",
                                      "EnableCmdButton('cmdNobody', true)", "TabFocus('COVNobody')",
                                      "InsertTabButton('COVX','X','../secret.htm')"};
  for (const std::string_view script : refused) EXPECT_THROW(window.ExecScript(script), RuntimeFailure) << script;
  window.ExecScript("InsertCmdButton('cmdSave','Save','')");
  EXPECT_THROW(window.ExecScript("InsertCmdButton('cmdSave','Save','')"), RuntimeFailure);
  EXPECT_EQ(shell_->Buttons().size(), 1u);
}

// The endorsement a save offers goes with one message, the next, and no other.
TEST_F(HostShellTest, AnOfferedEndorsementIsTakenOnce) {
  auto& window = *Started({}, false)->WorkspaceDocument()->ParentWindow();
  EXPECT_EQ(shell_->TakeOfferedEndorsement(), std::nullopt);
  window.ExecScript("OfferEndorsement('CN24000101/E2')");
  EXPECT_EQ(shell_->TakeOfferedEndorsement(), "CN24000101/E2");
  EXPECT_EQ(shell_->TakeOfferedEndorsement(), std::nullopt);
}

TEST_F(HostShellTest, AMissingPageIsReportedAndTheScreenStaysUsable) {
  auto shell = Started();
  shell->WorkspaceDocument()->ParentWindow()->ExecScript("TabFocus('COVGone')");
  ASSERT_EQ(dialogs_->boxes.size(), 1u);
  EXPECT_EQ(std::pair(dialogs_->boxes[0].prompt.find("CNAAGone.htm") != std::string::npos, shell->ShownTabId()),
            std::pair(true, std::string()));
  shell->ClickTab("COVVeh");
  EXPECT_EQ(shell->ShownTabId(), "COVVeh");
}

TEST_F(HostShellTest, APageThatKeepsSwitchingTabsIsStopped) {
  tab_load_ = {"TabFocus('COVVeh')"};  // every tab page asks for another tab as it loads
  auto shell = Started();
  ASSERT_EQ(dialogs_->boxes.size(), 1u);
  EXPECT_NE(dialogs_->boxes[0].prompt.find("Too many tab changes"), std::string::npos);
  shell->ClickCommand("cmdReset");  // still answers
  EXPECT_EQ(Message(), "cmdReset");
}

}  // namespace
}  // namespace cn::shell
