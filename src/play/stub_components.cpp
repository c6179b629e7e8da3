#include "play/stub_components.h"

#include <algorithm>
#include <utility>

#include "base/date_format.h"
#include "base/runtime_failure.h"
#include "play/fixtures.h"
#include "play/recording_components.h"

namespace cn::play {

namespace {

class StubCommandService final : public BackendCommandService {
 public:
  explicit StubCommandService(std::shared_ptr<StubBackend> backend)
      : backend_(std::move(backend)) {}
  void ExecuteCommand(std::string_view command, std::string_view parameters, std::string& reply,
                      std::int32_t& status) override {
    backend_->Execute(command, parameters, reply, status);
  }

 private:
  std::shared_ptr<StubBackend> backend_;
};

// Field rules answer by operation and the text of their first argument.
class StubFieldRules final : public FieldRuleService {
 public:
  explicit StubFieldRules(const ComponentAnswers& answers) : answers_(answers) {}

  std::string CheckLicenceDate(const Date& date) override {
    return Answer("CheckLicenceDate", FormatDate(date));
  }
  std::string CheckSumInsured(Currency amount, std::int32_t, std::string_view) override {
    return Answer("CheckSumInsured", amount.ToPlainText());
  }
  std::string CheckCapacity(Currency amount) override {
    return Answer("CheckCapacity", amount.ToPlainText());
  }
  std::string CheckSeatingCapacity(std::int32_t seats) override {
    return Answer("CheckSeatingCapacity", std::to_string(seats));
  }
  std::string CheckYearMade(std::int32_t year) override {
    return Answer("CheckYearMade", std::to_string(year));
  }
  std::string CheckAccidentDate(const Date& date, std::int32_t) override {
    return Answer("CheckAccidentDate", FormatDate(date));
  }
  std::string CheckExtendedSumInsured(Currency amount) override {
    return Answer("CheckExtendedSumInsured", amount.ToPlainText());
  }
  std::string CheckExtendedPremium(Currency premium, Currency) override {
    return Answer("CheckExtendedPremium", premium.ToPlainText());
  }
  std::string CheckPercentage(float percentage) override {
    return Answer("CheckPercentage", FloatText(percentage));
  }
  std::int32_t GetScopeOfCover(std::string_view motor_cover_code) override {
    const auto it = answers_.scope_of_cover.find(motor_cover_code);
    return it == answers_.scope_of_cover.end() ? 0 : it->second;
  }

 private:
  std::string Answer(std::string_view operation, const std::string& argument) const {
    for (const FieldRuleAnswer& rule : answers_.field_rules) {
      if (rule.operation == operation && (!rule.argument || *rule.argument == argument))
        return rule.answer;
    }
    return "";
  }

  const ComponentAnswers& answers_;
};

class StubInputChecks final : public InputCheckService {
 public:
  explicit StubInputChecks(const ComponentAnswers& answers) : answers_(answers) {}

  InputCheckAnswer CheckPercentageText(std::string& text) override {
    return Answer("CheckPercentageText", text);
  }
  InputCheckAnswer CheckAmountText(std::string& text) override {
    return Answer("CheckAmountText", text);
  }
  InputCheckAnswer CheckPostcodeText(std::string& text) override {
    return Answer("CheckPostcodeText", text);
  }
  InputCheckAnswer CheckYearMadeText(std::string& text) override {
    return Answer("CheckYearMadeText", text);
  }
  // Its flag says the opposite of the others': true is "not accepted".
  InputCheckAnswer CheckNumberText(std::string& text) override {
    InputCheckAnswer answer = Answer("CheckNumberText", text);
    answer.flag = !answer.flag;
    return answer;
  }

 private:
  InputCheckAnswer Answer(std::string_view operation, std::string& text) const {
    const auto rule =
        std::find_if(answers_.input_checks.begin(), answers_.input_checks.end(),
                     [&](const InputCheckAnswerRule& r) {
                       return r.operation == operation && (!r.text || *r.text == text);
                     });
    if (rule == answers_.input_checks.end()) return {.message = "", .title = "", .flag = true};
    if (rule->rewrite) text = *rule->rewrite;
    return {.message = rule->message, .title = rule->title, .flag = rule->accept};
  }

  const ComponentAnswers& answers_;
};

class StubLocalTables final : public LocalTableService {
 public:
  explicit StubLocalTables(const ComponentAnswers& answers) : answers_(answers) {}

  void GetList(std::string& reply, std::int16_t list_number, std::int32_t& status) override {
    reply = Find(answers_.local_lists, list_number);
    status = 0;
  }
  void GetMotorClassList(std::string& reply, std::int32_t kind, std::int32_t& status) override {
    reply = Find(answers_.motor_class_lists, kind);
    status = 0;
  }
  void GetUOMList(std::string& reply, std::string_view class_code, std::int32_t& status) override {
    const auto it = answers_.uom_lists.find(class_code);
    reply = it == answers_.uom_lists.end() ? "" : it->second;
    status = 0;
  }

 private:
  static std::string Find(const std::map<std::int32_t, std::string>& lists, std::int32_t number) {
    const auto it = lists.find(number);
    return it == lists.end() ? "" : it->second;
  }

  const ComponentAnswers& answers_;
};

class QueuedMessageService final : public MessageService {
 public:
  QueuedMessageService(AnswerQueue& answers, EventLog& log) : answers_(answers), log_(log) {}

  std::int32_t ShowMessage(std::int32_t number, std::string_view title, std::string_view parameter1,
                           std::string_view parameter2, std::string_view parameter3,
                           std::string_view parameter4, std::string_view parameter5) override {
    const NumberAnswer answer = answers_.NextNumber(
        answer::kOk, {.kind = "numbered message", .number = number, .title = title, .url = ""},
        log_.step());
    LogMessage(log_, number, title, {parameter1, parameter2, parameter3, parameter4, parameter5},
               answer.value, answer.defaulted);
    return answer.value;
  }

 private:
  AnswerQueue& answers_;
  EventLog& log_;
};

}  // namespace

StubBackend::StubBackend(std::vector<StubRule> rules, EventLog& log)
    : rules_(std::move(rules)), used_(rules_.size(), false), log_(log) {}

void StubBackend::Execute(std::string_view command, std::string_view parameters, std::string& reply,
                          std::int32_t& status) {
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    const StubRule& rule = rules_[i];
    if (used_[i] || rule.command != command || (rule.param && *rule.param != parameters)) continue;
    if (rule.once) used_[i] = true;
    if (rule.fail) {
      log_.Add("command", {{"name", command}, {"param", parameters}, {"failed", *rule.fail}});
      throw RuntimeFailure(failure::kComponentCallFailed, *rule.fail, "BackendCommandService");
    }
    reply = rule.reply;
    status = rule.status;
    if (!rule.fixture.empty() && reply.size() >= kShortenedReply) {
      log_.Add("command", {{"name", command},
                           {"param", parameters},
                           {"reply", FixtureReply(rule.fixture, reply)},
                           {"status", status}});
    } else {
      LogCommand(log_, command, parameters, reply, status, false);
    }
    return;
  }
  reply.clear();
  status = 0;
  LogCommand(log_, command, parameters, reply, status, true);
}

std::unique_ptr<BackendCommandService> MakeStubCommandService(
    std::shared_ptr<StubBackend> backend) {
  return std::make_unique<StubCommandService>(std::move(backend));
}

std::unique_ptr<FieldRuleService> MakeStubFieldRules(const ComponentAnswers& answers) {
  return std::make_unique<StubFieldRules>(answers);
}

std::unique_ptr<InputCheckService> MakeStubInputChecks(const ComponentAnswers& answers) {
  return std::make_unique<StubInputChecks>(answers);
}

std::unique_ptr<LocalTableService> MakeStubLocalTables(const ComponentAnswers& answers) {
  return std::make_unique<StubLocalTables>(answers);
}

std::unique_ptr<MessageService> MakeQueuedMessageService(AnswerQueue& answers, EventLog& log) {
  return std::make_unique<QueuedMessageService>(answers, log);
}

}  // namespace cn::play
