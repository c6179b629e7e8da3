#include "cover_fields_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "integration/selection_file.h"
#include "pages/cover/cnaa_cov.h"

namespace cn::cover_testing {
namespace {

void AddOptions(dom::Element& select, std::initializer_list<std::string_view> values) {
  for (const std::string_view value : values) {
    const std::shared_ptr<dom::Element> option = select.OwnerDocument()->CreateElement("OPTION");
    option->SetValue(value);
    option->SetText(value);
    select.Options().Add(option);
  }
}

std::filesystem::path FreshInstallationFolder() {
  static int count = 0;
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("cover_fields_" + std::to_string(::getpid()) + "_" +
                                        std::to_string(++count));
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace

CoverTabWorld::CoverTabWorld()
    : WorkspaceWorld(dom::Document::Load(std::filesystem::path(COVERNOTE_PAGES_DIR) / "CNAACov.htm"),
                     testing::At(2014, 3, 5, 10)),
      cover(CNAACov::Make(workspace, page)),
      installation(FreshInstallationFolder()) {
  workspace.startup.NewTariffDate = "01-Jan-2014";
  workspace.identity = {"ADMIN1", "A", "AG001"};
  fakes.registry.values[{"Software\\Brindle\\Kivo\\Zelkor", "Installation Path"}] =
      installation.string();

  AddOptions(Get("cboTransactionType"), {"N", "R", "T", "O", "P"});
  AddOptions(Get("cboGender"), {"M", "F"});
  AddOptions(Get("cboMaritalStat"), {"S", "M", "D"});
  AddOptions(Get("cboState"), {"01", "10", "14"});
  AddOptions(Get("cboMotorCoverCode"), {"01", "02", "03"});
  AddOptions(Get("cboNationality"), {"MAL", "SIN"});
}

CoverTabWorld::~CoverTabWorld() {
  std::error_code ignored;
  std::filesystem::remove_all(installation, ignored);
}

std::string CoverTabWorld::SelectionFileBytes() const {
  std::ifstream file(SelectionFilePath(installation.string()), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool CoverTabWorld::Ran(std::string_view script) const {
  return std::find(shell->scripts.begin(), shell->scripts.end(), script) != shell->scripts.end();
}

Texts CoverTabWorld::Values(Ids ids) const {
  Texts values;
  for (const std::string_view id : ids) values.push_back(Get(id).Value());
  return values;
}

Texts CoverTabWorld::States(Ids ids) const {
  Texts states;
  for (const std::string_view id : ids) {
    const dom::Element& box = Get(id);
    states.push_back(std::string(box.Checked() ? "checked" : "") +
                     (box.Disabled() ? "disabled" : ""));
  }
  return states;
}

}  // namespace cn::cover_testing
