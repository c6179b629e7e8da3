#include "cover_tab_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/separators.h"
#include "integration/shell_bridge.h"
#include "pages/cover/cnaa_cov.h"
#include "workspace/read_layouts.h"
#include "workspace_world.h"

namespace cn::cover_testing {

namespace {

// What the workspace page does for the Cover tab before it opens it.
class StandInWorkspacePage : public dom::PageLogic {
 public:
  explicit StandInWorkspacePage(std::shared_ptr<dom::Document> document)
      : document_(std::move(document)) {}

  void Load() override {
    dom::Window& window = *document_->ParentWindow();
    ShowTitle(window, kScreenTitleText);
    const std::pair<std::string_view, std::string_view> tabs[] = {
        {"COVCover", "CNAACov.htm"}, {"COVVeh", "CNAAVeh.htm"},   {"COVNCD", "CNAAClm.htm"},
        {"COVPrem", "CNAAPrm.htm"},  {"COVNPrem", "CNAANPrm.htm"}, {"COVOPrem", "CNAAOPrm.htm"}};
    for (const auto& [id, file] : tabs) InsertTabButton(window, id, id, file);
    for (const std::string_view id : {"cmdReset", "cmdSave", "cmdEnquiry", "cmdCalculate"}) {
      InsertCmdButton(window, id, id, "");
    }
    EnableCmdButton(window, "cmdSave", false);
    TabFocus(window, "COVCover");
  }
  void Unload() override {}

 private:
  std::shared_ptr<dom::Document> document_;
};

}  // namespace

std::string ReadAdminReply(
    std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
  std::vector<std::string> fields(178);
  for (const auto& [name, value] : values) {
    bool found = false;
    for (const LayoutRow& row : ReadAdminLayout()) {
      if (row.field->name != name) continue;
      fields[static_cast<std::size_t>(row.position)] = std::string(value);
      found = true;
    }
    EXPECT_TRUE(found) << name << " is not in the ReadAdmin reply";
  }
  std::string reply;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) reply += FieldSeparator;
    reply += fields[i];
  }
  return reply;
}

CoverTabHarness::CoverTabHarness()
    : clock(testing::At(2014, 3, 5, 12)),
      workspace(world.components, clock),
      dialogs(std::make_shared<testing::FakeDialogs>()) {
  workspace.lookup.UseLocalTable = "0";
  workspace.page.SaveButtonId = "cmdSave";
  workspace.startup.NewTariffDate = "01-Jan-2015";
  workspace.identity = {"ADMIN", "A", "AG001"};

  shell::HostShell::Options options;
  options.pages_dir = COVERNOTE_PAGES_DIR;
  options.dialogs = dialogs;
  options.page_factory = [this](std::string_view file,
                                const std::shared_ptr<dom::Document>& document)
      -> std::unique_ptr<dom::PageLogic> {
    if (file == shell::kWorkspacePage) return std::make_unique<StandInWorkspacePage>(document);
    if (file == "CNAACov.htm") return CNAACov::Make(workspace, document);
    return nullptr;
  };
  shell_ = shell::HostShell::Create(std::move(options));
}

CoverTabHarness::~CoverTabHarness() { shell_->Close(); }

void CoverTabHarness::SetSystemCodes(
    std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  world.backend.Answer("KivoInsurance.Find.Browse", "2", testing::CodeList(codes));
}

void CoverTabHarness::Start() { shell_->Start(); }

dom::Document& CoverTabHarness::page() const {
  const std::shared_ptr<dom::Document> document = shell_->TabDocument();
  if (!document) throw std::logic_error("no tab page is shown");
  return *document;
}

bool CoverTabHarness::SaveEnabled() const {
  const shell::CommandButton* save = shell_->FindButton("cmdSave");
  return save != nullptr && save->enabled;
}

}  // namespace cn::cover_testing
