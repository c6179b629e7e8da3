#include "cover_fields_fixture.h"

#include <fstream>
#include <iterator>
#include <unistd.h>

#include "base/separators.h"
#include "integration/selection_file.h"
#include "pages/cover/cnaa_cov.h"

namespace cn::cover_testing {
namespace {

DateTime MorningOf(int year, int month, int day) {
  return {*Date::FromYmd(year, month, day), *Time::FromHms(10, 0, 0)};
}

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
    : clock(MorningOf(2014, 3, 5)),
      workspace(fakes.components, clock),
      dialogs(std::make_shared<testing::FakeDialogs>()),
      shell(std::make_shared<testing::FakeShell>()),
      page(dom::Document::Load(std::filesystem::path(COVERNOTE_PAGES_DIR) / "CNAACov.htm")),
      installation(FreshInstallationFolder()) {
  page->ParentWindow()->SetDialogHost(dialogs);
  page->ParentWindow()->SetScriptHost(shell);
  cover = CNAACov::Make(workspace, page);

  workspace.lookup.UseLocalTable = "0";
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

void CoverTabWorld::SetSystemCodes(
    std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  std::string list;
  for (const auto& [code, value] : codes) {
    if (!list.empty()) list += RecordSeparator;
    list += std::string(code) + std::string(FieldSeparator) + std::string(value);
  }
  fakes.backend.Answer("KivoInsurance.Find.Browse", "2", list);
  workspace.lookup.SystemCodeListText.clear();
}

std::vector<std::string> CoverTabWorld::ParametersSent(std::string_view command) const {
  std::vector<std::string> parameters;
  for (const testing::SentCommand& sent : fakes.backend.sent()) {
    if (sent.command == command) parameters.push_back(sent.parameters);
  }
  return parameters;
}

std::string CoverTabWorld::SelectionFileBytes() const {
  std::ifstream file(SelectionFilePath(installation.string()), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return bytes;
}

}  // namespace cn::cover_testing
