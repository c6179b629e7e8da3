#include "fake_components.h"

#include <memory>
#include <stdexcept>

#include "base/runtime_failure.h"
#include "base/text.h"

namespace cn::testing {
namespace {

void Note(Journal* journal, std::string line) {
  if (journal != nullptr) journal->push_back(std::move(line));
}

class LocalTableInstance final : public LocalTableService {
 public:
  explicit LocalTableInstance(FakeLocalTable& table) : table_(table) {}
  void GetList(std::string& reply, std::int16_t list_number, std::int32_t& status) override {
    status = Called("GetList " + std::to_string(list_number), reply, table_.lists[list_number]);
  }
  void GetMotorClassList(std::string& reply, std::int32_t kind, std::int32_t& status) override {
    status = Called("GetMotorClassList " + std::to_string(kind), reply, table_.motor_classes[kind]);
  }
  void GetUOMList(std::string& reply, std::string_view class_code, std::int32_t& status) override {
    status = Called("GetUOMList " + std::string(class_code), reply, "");
  }

 private:
  // Notes the call, answers `answer` and status 0.
  std::int32_t Called(std::string call, std::string& reply, std::string_view answer) {
    Note(table_.journal, "local " + call);
    table_.calls.push_back(std::move(call));
    reply = answer;
    return 0;
  }
  FakeLocalTable& table_;
};

class MessageInstance final : public MessageService {
 public:
  explicit MessageInstance(FakeMessages& messages) : messages_(messages) {}
  std::int32_t ShowMessage(std::int32_t number, std::string_view title, std::string_view p1,
                           std::string_view p2, std::string_view p3, std::string_view p4,
                           std::string_view p5) override {
    ShownMessage shown{
        number,
        std::string(title),
        {std::string(p1), std::string(p2), std::string(p3), std::string(p4), std::string(p5)}};
    Note(messages_.journal, "message " + std::to_string(number) + " '" + shown.title + "' [" +
                                Join(shown.parameters, ",") + "]");
    messages_.shown.push_back(std::move(shown));
    return messages_.answer;
  }

 private:
  FakeMessages& messages_;
};

class InputCheckInstance final : public InputCheckService {
 public:
  explicit InputCheckInstance(FakeInputChecks& checks) : checks_(checks) {}
  InputCheckAnswer CheckPercentageText(std::string& text) override {
    return Apply("CheckPercentageText", checks_.percentage, text);
  }
  InputCheckAnswer CheckAmountText(std::string& text) override {
    return Apply("CheckAmountText", checks_.amount, text);
  }
  InputCheckAnswer CheckPostcodeText(std::string& text) override {
    return Apply("CheckPostcodeText", checks_.postcode, text);
  }
  InputCheckAnswer CheckYearMadeText(std::string& text) override {
    return Apply("CheckYearMadeText", checks_.year_made, text);
  }
  InputCheckAnswer CheckNumberText(std::string& text) override {
    return Apply("CheckNumberText", checks_.number, text);
  }

 private:
  InputCheckAnswer Apply(std::string_view name, const FakeInputChecks::Rule& rule,
                         std::string& text) {
    checks_.asked.push_back(std::string(name) + " " + text);
    if (rule.rewrite) text = *rule.rewrite;
    return rule.answer;
  }

  FakeInputChecks& checks_;
};

class FieldRulesInstance final : public FieldRuleService {
 public:
  explicit FieldRulesInstance(FakeFieldRules& rules) : rules_(rules) {}
  std::string CheckLicenceDate(const Date&) override { return rules_.licence_date_message; }
  std::string CheckSumInsured(Currency, std::int32_t, std::string_view) override {
    return rules_.sum_insured_message;
  }
  std::string CheckCapacity(Currency) override { return rules_.capacity_message; }
  std::string CheckSeatingCapacity(std::int32_t) override { return rules_.seating_message; }
  std::string CheckYearMade(std::int32_t) override { return {}; }
  std::string CheckAccidentDate(const Date&, std::int32_t year_made) override {
    rules_.accident_year_made = year_made;
    return rules_.accident_date_message;
  }
  std::string CheckExtendedSumInsured(Currency) override {
    return rules_.extended_sum_insured_message;
  }
  std::string CheckExtendedPremium(Currency, Currency) override {
    return rules_.extended_premium_message;
  }
  std::string CheckPercentage(float) override { return rules_.percentage_message; }
  std::int32_t GetScopeOfCover(std::string_view) override { return 0; }

 private:
  FakeFieldRules& rules_;
};

class RegistryInstance final : public Registry {
 public:
  explicit RegistryInstance(FakeRegistry& registry) : registry_(registry) {}
  std::string GetKeyValue(std::uint32_t root, std::string_view key_path,
                          std::string_view value_name) override {
    if (root != kLocalMachineRoot) throw std::logic_error("settings live under local machine");
    registry_.reads.push_back(std::string(value_name));
    Note(registry_.journal, "setting " + std::string(value_name));
    const auto it = registry_.values.find({std::string(key_path), std::string(value_name)});
    return it == registry_.values.end() ? std::string() : it->second;
  }

 private:
  FakeRegistry& registry_;
};

}  // namespace

class FakeBackend::Instance final : public BackendCommandService {
 public:
  explicit Instance(FakeBackend& backend) : backend_(backend) {
    ++backend_.created_;
    ++backend_.alive_;
  }
  ~Instance() override { --backend_.alive_; }

  void ExecuteCommand(std::string_view command, std::string_view parameters, std::string& reply,
                      std::int32_t& status) override {
    if (!reply.empty()) throw std::logic_error("the reply must come in empty");
    backend_.sent_.push_back({std::string(command), std::string(parameters)});
    Note(backend_.journal, "command " + std::string(command) + " " + Readable(parameters));
    const auto exact = backend_.exact_.find({std::string(command), std::string(parameters)});
    const auto any = backend_.any_.find(std::string(command));
    const Reply* answer = exact != backend_.exact_.end() ? &exact->second
                          : any != backend_.any_.end()   ? &any->second
                                                         : nullptr;
    status = 0;
    if (answer == nullptr) return;
    if (answer->failure) {
      throw RuntimeFailure(failure::kComponentCallFailed, *answer->failure, "FakeBackend");
    }
    reply = answer->reply;
    status = answer->status;
  }

 private:
  FakeBackend& backend_;
};

void FakeBackend::Answer(std::string command, std::string parameters, std::string reply,
                         std::int32_t status) {
  exact_[{std::move(command), std::move(parameters)}] = {std::move(reply), status, std::nullopt};
}

void FakeBackend::AnswerAny(std::string command, std::string reply, std::int32_t status) {
  any_[std::move(command)] = {std::move(reply), status, std::nullopt};
}

void FakeBackend::Fail(std::string command, std::string description) {
  any_[command] = {"", 0, description};
  // A failing command fails whatever it was told to answer before.
  std::erase_if(exact_, [&](const auto& entry) { return entry.first.first == command; });
}

std::vector<std::string> FakeBackend::ParametersSent(std::string_view command) const {
  std::vector<std::string> parameters;
  for (const SentCommand& sent : sent_) {
    if (sent.command == command) parameters.push_back(sent.parameters);
  }
  return parameters;
}

// A factory making an `Instance` on `fake`, counting into `created` when given.
template <class Instance, class Fake>
auto MakeFactory(Fake& fake, int* created = nullptr) {
  return [&fake, created] {
    if (created != nullptr) ++*created;
    return std::make_unique<Instance>(fake);
  };
}

ComponentFactory<BackendCommandService> FakeBackend::Factory() {
  return MakeFactory<Instance>(*this);
}
ComponentFactory<LocalTableService> FakeLocalTable::Factory() {
  return MakeFactory<LocalTableInstance>(*this);
}
ComponentFactory<MessageService> FakeMessages::Factory() {
  return MakeFactory<MessageInstance>(*this, &created);
}
ComponentFactory<InputCheckService> FakeInputChecks::Factory() {
  return MakeFactory<InputCheckInstance>(*this, &created);
}
ComponentFactory<FieldRuleService> FakeFieldRules::Factory() {
  return MakeFactory<FieldRulesInstance>(*this);
}
ComponentFactory<Registry> FakeRegistry::Factory() {
  return MakeFactory<RegistryInstance>(*this);
}

FakeWorld::FakeWorld()
    : components(ComponentFactories{backend.Factory(), local_table.Factory(), messages.Factory(),
                                    field_rules.Factory(), input_checks.Factory(),
                                    registry.Factory()}) {}

void FakeWorld::RecordInto(Journal& journal) {
  backend.journal = &journal;
  local_table.journal = &journal;
  messages.journal = &journal;
  registry.journal = &journal;
}

}  // namespace cn::testing
