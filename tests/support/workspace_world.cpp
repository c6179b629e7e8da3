#include "workspace_world.h"

#include "base/separators.h"
#include "base/text.h"
#include "workspace/field_catalogue.h"

namespace cn::testing {

DateTime At(int year, int month, int day, int hour) {
  return {*Date::FromYmd(year, month, day), *Time::FromHms(hour, 0, 0)};
}

void SetFields(CoverNoteRecord& record,
               std::initializer_list<std::pair<std::string_view, std::string_view>> fields) {
  for (const auto& [name, text] : fields) {
    SetFieldText(record, Instance::kCurrent, name,
                 Replace(std::string(text), "#", DialogArgSeparator));
  }
}

std::shared_ptr<dom::Document> CoverCornerPage() {
  return dom::Document::Parse(
      "<html><body><input id=txtCoverNoteNumber value=''><select id=cboTransactionType>"
      "<option value=N>New</option><option value=R>Renewal</option>"
      "<option value=T>Transfer</option></select>"
      "<span id=lblLicense></span><input id=txtLicenseDate></body></html>");
}

WorkspaceWorld::WorkspaceWorld(std::shared_ptr<dom::Document> page_document, DateTime now)
    : clock(now), workspace(fakes.components, clock), page(std::move(page_document)) {
  window().SetDialogHost(dialogs);
  window().SetScriptHost(shell);
  workspace.lookup.UseLocalTable = "0";
}

void WorkspaceWorld::SetSystemCodes(
    std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  fakes.backend.Answer("KivoInsurance.Find.Browse", "2", CodeList(codes));
  workspace.lookup.SystemCodeListText.reset();
}

void WorkspaceWorld::SetBackEndNow(std::string text) {
  fakes.backend.AnswerAny("KivoInsurance.Find.FindSystemDateTime", std::move(text));
}

}  // namespace cn::testing
