#include "driver_world.h"

#include <utility>

#include "base/separators.h"

namespace cn::testing {
namespace {

class FieldRulesInstance : public FieldRuleService {
 public:
  explicit FieldRulesInstance(FakeFieldRules& rules) : rules_(rules) {}
  std::string CheckLicenceDate(const Date&) override {
    rules_.asked.push_back("CheckLicenceDate");
    return rules_.licence_date_message;
  }
  std::string CheckSumInsured(Currency, std::int32_t, std::string_view) override { return {}; }
  std::string CheckCapacity(Currency amount) override {
    rules_.asked.push_back("CheckCapacity " + amount.ToPlainText());
    return rules_.capacity_message;
  }
  std::string CheckSeatingCapacity(std::int32_t seats) override {
    rules_.asked.push_back("CheckSeatingCapacity " + std::to_string(seats));
    return rules_.seating_message;
  }
  std::string CheckYearMade(std::int32_t year) override {
    rules_.asked.push_back("CheckYearMade " + std::to_string(year));
    return rules_.year_made_message;
  }
  std::string CheckAccidentDate(const Date&) override { return {}; }
  std::string CheckExtendedSumInsured(Currency) override { return {}; }
  std::string CheckExtendedPremium(Currency, Currency) override { return {}; }
  std::string CheckPercentage(float) override { return {}; }
  std::int32_t GetScopeOfCover(std::string_view) override { return 0; }

 private:
  FakeFieldRules& rules_;
};

}  // namespace

ComponentFactory<FieldRuleService> FakeFieldRules::Factory() {
  return [this] { return std::make_unique<FieldRulesInstance>(*this); };
}

int AnsweringDialogs::MessageBox(std::string_view prompt, int buttons_and_icon,
                                 std::string_view title) {
  FakeDialogs::MessageBox(prompt, buttons_and_icon, title);
  if (answers.empty()) return dom::message_box::kOk;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

DriverWorld::DriverWorld(std::string_view page_html)
    : components(ComponentFactories{fakes.backend.Factory(), fakes.local_table.Factory(),
                                    fakes.messages.Factory(), field_rules.Factory(),
                                    fakes.input_checks.Factory(), fakes.registry.Factory()}),
      clock(DateTime{*Date::FromYmd(kTodayYear, 6, 15), *Time::FromHms(10, 0, 0)}),
      workspace(components, clock),
      page(dom::Document::Parse(page_html)),
      dialogs(std::make_shared<AnsweringDialogs>()),
      shell(std::make_shared<FakeShell>()) {
  page->ParentWindow()->SetDialogHost(dialogs);
  page->ParentWindow()->SetScriptHost(shell);
  workspace.lookup.UseLocalTable = "0";
  workspace.record.Current.EffectiveDate = "15-Jun-2026";
  SetSystemCodes({{"1030", "INSURED"}, {"1009", "99"}, {"1062", "ANY DRIVER"}, {"1098", "17"}});
}

void DriverWorld::SetSystemCodes(
    std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  std::string reply;
  for (const auto& [code, value] : codes) {
    if (!reply.empty()) reply += RecordSeparator;
    reply.append(code).append(FieldSeparator).append(value);
  }
  fakes.backend.Answer("KivoInsurance.Find.Browse", "2", reply);
  workspace.lookup.SystemCodeListText.clear();
}

}  // namespace cn::testing
