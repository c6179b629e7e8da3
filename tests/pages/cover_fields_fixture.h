#pragma once
// The Cover tab page with its handlers bound, on fake components, on 5 March 2014. The tab
// is not locked until `cover->Load()`, so the tests act on it as a person would.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "dom/user_actions.h"
#include "integration/selection_file.h"
#include "pages/cover/cnaa_cov.h"
#include "pages/page.h"
#include "workspace_world.h"

namespace cn::cover_testing {

using Texts = std::vector<std::string>;
using Ids = std::initializer_list<std::string_view>;
using testing::Fields;
using testing::Records;

class CoverTabWorld : public testing::WorkspaceWorld {
 public:
  CoverTabWorld()
      : WorkspaceWorld(
            dom::Document::Load(std::filesystem::path(COVERNOTE_PAGES_DIR) / "CNAACov.htm"),
            testing::At(2014, 3, 5, 10)),
        cover(CNAACov::Make(workspace, page)),
        installation(std::filesystem::temp_directory_path() /
                     ("cover_fields_" + std::to_string(::getpid()) + "_" +
                      std::to_string(reinterpret_cast<std::uintptr_t>(this)))) {
    std::filesystem::create_directories(installation);
    workspace.startup.NewTariffDate = "01-Jan-2014";
    workspace.identity = {"ADMIN1", "A", "AG001"};
    fakes.registry.values[{"Software\\Brindle\\Kivo\\Zelkor", "Installation Path"}] =
        installation.string();
    // clang-format off
    const std::pair<std::string_view, std::vector<std::string_view>> selects[] = {
        {"cboTransactionType", {"N", "R", "T", "O", "P"}}, {"cboGender", {"M", "F"}},
        {"cboMaritalStat", {"S", "M", "D"}}, {"cboState", {"01", "10", "14"}},
        {"cboMotorCoverCode", {"01", "02", "03"}}, {"cboNationality", {"MAL", "SIN"}}};
    // clang-format on
    for (const auto& [id, values] : selects) {
      for (const std::string_view value : values) {
        const auto option = page->CreateElement("OPTION");
        option->SetValue(value);
        option->SetText(value);
        Get(id).Options().Add(option);
      }
    }
  }
  ~CoverTabWorld() {
    std::error_code ignored;
    std::filesystem::remove_all(installation, ignored);
  }

  // The parameter texts of every `command` sent, in order.
  Texts ParametersSent(std::string_view command) const {
    return fakes.backend.ParametersSent(command);
  }
  // The bytes of the selection file the search dialog reads.
  std::string SelectionFileBytes() const {
    std::ifstream file(SelectionFilePath(installation.string()), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  bool Ran(std::string_view script) const {
    return std::find(shell->scripts.begin(), shell->scripts.end(), script) != shell->scripts.end();
  }

  // What a person sees of the boxes: their values, and "checked"/"disabled" (or "").
  Texts Values(Ids ids) const {
    Texts values;
    for (const std::string_view id : ids) values.push_back(Get(id).Value());
    return values;
  }
  Texts States(Ids ids) const {
    Texts states;
    for (const std::string_view id : ids) {
      states.push_back(std::string(Get(id).Checked() ? "checked" : "") +
                       (Get(id).Disabled() ? "disabled" : ""));
    }
    return states;
  }

  // A box typed into and left; a box given a value, entered and left.
  void Leave(std::string_view id, std::string_view typed) {
    dom::TypeText(Get(id), typed);
    dom::UserBlur(Get(id));
  }
  void Visit(std::string_view id, std::string_view value) {
    Get(id).SetValue(value);
    dom::UserFocus(Get(id));
    dom::UserBlur(Get(id));
  }
  void Click(std::string_view id) { dom::UserClick(Get(id)); }
  void Choose(std::string_view id, std::string_view value) { dom::ChooseOption(Get(id), value); }

  std::unique_ptr<Page> cover;
  std::filesystem::path installation;
};

}  // namespace cn::cover_testing
