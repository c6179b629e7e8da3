#include "workspace_fixture.h"

namespace cn::workspace_testing {
namespace {

class BackendInstance : public BackendCommandService {
 public:
  BackendInstance(std::map<std::string, std::string, std::less<>>& answers, std::vector<Sent>& sent)
      : answers_(answers), sent_(sent) {}

  void ExecuteCommand(std::string_view command, std::string_view parameters, std::string& reply,
                      std::int32_t& status) override {
    sent_.push_back({std::string(command), std::string(parameters)});
    const auto answer = answers_.find(command);
    reply = answer == answers_.end() ? std::string() : answer->second;
    status = 0;
  }

 private:
  std::map<std::string, std::string, std::less<>>& answers_;
  std::vector<Sent>& sent_;
};

ComponentFactories BackendOnly(FakeBackend& backend) {
  ComponentFactories factories;
  factories.backend_command_service = backend.Factory();
  return factories;
}

DateTime MiddayOf(int year, int month, int day) {
  return {*Date::FromYmd(year, month, day), *Time::FromHms(12, 0, 0)};
}

}  // namespace

ComponentFactory<BackendCommandService> FakeBackend::Factory() {
  return [this] { return std::make_unique<BackendInstance>(answers_, sent_); };
}

std::string Fields(std::initializer_list<std::string_view> fields) {
  std::string text;
  bool first = true;
  for (const std::string_view field : fields) {
    if (!first) text += FieldSeparator;
    text += field;
    first = false;
  }
  return text;
}

std::string Records(std::initializer_list<std::string> records) {
  std::string text;
  bool first = true;
  for (const std::string& record : records) {
    if (!first) text += RecordSeparator;
    text += record;
    first = false;
  }
  return text;
}

WorkspaceWorld::WorkspaceWorld()
    : components(BackendOnly(backend)),
      clock(MiddayOf(2014, 3, 5)),
      workspace(components, clock),
      cover_page(dom::Document::Parse(kCoverPage)),
      dialogs(std::make_shared<RecordingDialogs>()),
      shell(std::make_shared<RecordingShell>()),
      window(*cover_page->ParentWindow()) {
  window.SetDialogHost(dialogs);
  window.SetScriptHost(shell);
  workspace.lookup.UseLocalTable = "0";
}

void WorkspaceWorld::SetSystemCodes(
    std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  std::string list;
  for (const auto& [code, value] : codes) {
    if (!list.empty()) list += RecordSeparator;
    list += std::string(code) + std::string(FieldSeparator) + std::string(value);
  }
  backend.Answer("KivoInsurance.Find.Browse", list);
  workspace.lookup.SystemCodeListText.clear();
}

}  // namespace cn::workspace_testing
