#include "play/recording_components.h"

#include <charconv>
#include <utility>

#include "base/date_format.h"
#include "base/runtime_failure.h"

namespace cn::play {

namespace {

class RecordingCommandService final : public BackendCommandService {
 public:
  RecordingCommandService(std::unique_ptr<BackendCommandService> inner, EventLog& log)
      : inner_(std::move(inner)), log_(log) {}

  void ExecuteCommand(std::string_view command, std::string_view parameters, std::string& reply,
                      std::int32_t& status) override {
    try {
      inner_->ExecuteCommand(command, parameters, reply, status);
    } catch (const std::exception& failure) {
      log_.Add("command", {{"name", command}, {"param", parameters}, {"failed", failure.what()}});
      throw;
    }
    LogCommand(log_, command, parameters, reply, status, false);
  }

 private:
  std::unique_ptr<BackendCommandService> inner_;
  EventLog& log_;
};

class RecordingMessageService final : public MessageService {
 public:
  RecordingMessageService(std::unique_ptr<MessageService> inner, EventLog& log,
                          AnswerQueue& answers)
      : inner_(std::move(inner)), log_(log), answers_(answers) {}

  std::int32_t ShowMessage(std::int32_t number, std::string_view title, std::string_view parameter1,
                           std::string_view parameter2, std::string_view parameter3,
                           std::string_view parameter4, std::string_view parameter5) override {
    // The message goes into the log before the box that shows it.
    const std::size_t position = log_.events().size();
    log_.Add("message");
    const ShownMessage shown_message(answers_, number);
    const std::int32_t answer = inner_->ShowMessage(number, title, parameter1, parameter2,
                                                    parameter3, parameter4, parameter5);
    EventLog shown;
    LogMessage(shown, number, title, {parameter1, parameter2, parameter3, parameter4, parameter5},
               answer, false);
    log_.Replace(position, shown.events().front());
    return answer;
  }

 private:
  std::unique_ptr<MessageService> inner_;
  EventLog& log_;
  AnswerQueue& answers_;
};

class RecordingFieldRules final : public FieldRuleService {
 public:
  RecordingFieldRules(std::unique_ptr<FieldRuleService> inner, EventLog& log)
      : inner_(std::move(inner)), log_(log) {}

  std::string CheckLicenceDate(const Date& date) override {
    return Log("CheckLicenceDate", {FormatDate(date)}, inner_->CheckLicenceDate(date));
  }
  std::string CheckSumInsured(Currency amount, std::int32_t scope_of_cover,
                              std::string_view class_code) override {
    return Log("CheckSumInsured",
               {amount.ToPlainText(), std::to_string(scope_of_cover), std::string(class_code)},
               inner_->CheckSumInsured(amount, scope_of_cover, class_code));
  }
  std::string CheckCapacity(Currency amount) override {
    return Log("CheckCapacity", {amount.ToPlainText()}, inner_->CheckCapacity(amount));
  }
  std::string CheckSeatingCapacity(std::int32_t seats) override {
    return Log("CheckSeatingCapacity", {std::to_string(seats)},
               inner_->CheckSeatingCapacity(seats));
  }
  std::string CheckYearMade(std::int32_t year) override {
    return Log("CheckYearMade", {std::to_string(year)}, inner_->CheckYearMade(year));
  }
  std::string CheckAccidentDate(const Date& date, std::int32_t year_made) override {
    return Log("CheckAccidentDate", {FormatDate(date), std::to_string(year_made)},
               inner_->CheckAccidentDate(date, year_made));
  }
  std::string CheckExtendedSumInsured(Currency amount) override {
    return Log("CheckExtendedSumInsured", {amount.ToPlainText()},
               inner_->CheckExtendedSumInsured(amount));
  }
  std::string CheckExtendedPremium(Currency premium, Currency minimum_premium) override {
    return Log("CheckExtendedPremium", {premium.ToPlainText(), minimum_premium.ToPlainText()},
               inner_->CheckExtendedPremium(premium, minimum_premium));
  }
  std::string CheckPercentage(float percentage) override {
    return Log("CheckPercentage", {FloatText(percentage)}, inner_->CheckPercentage(percentage));
  }
  std::int32_t GetScopeOfCover(std::string_view motor_cover_code) override {
    const std::int32_t scope = inner_->GetScopeOfCover(motor_cover_code);
    Log("GetScopeOfCover", {std::string(motor_cover_code)}, std::to_string(scope));
    return scope;
  }

 private:
  std::string Log(std::string_view operation, std::initializer_list<std::string> arguments,
                  std::string answer) {
    log_.Add("fieldRule", {{"operation", operation}, {"arguments", arguments}, {"answer", answer}});
    return answer;
  }

  std::unique_ptr<FieldRuleService> inner_;
  EventLog& log_;
};

class RecordingInputChecks final : public InputCheckService {
 public:
  RecordingInputChecks(std::unique_ptr<InputCheckService> inner, EventLog& log)
      : inner_(std::move(inner)), log_(log) {}

  InputCheckAnswer CheckPercentageText(std::string& text) override {
    return Check("CheckPercentageText", text, &InputCheckService::CheckPercentageText);
  }
  InputCheckAnswer CheckAmountText(std::string& text) override {
    return Check("CheckAmountText", text, &InputCheckService::CheckAmountText);
  }
  InputCheckAnswer CheckPostcodeText(std::string& text) override {
    return Check("CheckPostcodeText", text, &InputCheckService::CheckPostcodeText);
  }
  InputCheckAnswer CheckYearMadeText(std::string& text) override {
    return Check("CheckYearMadeText", text, &InputCheckService::CheckYearMadeText);
  }
  InputCheckAnswer CheckNumberText(std::string& text) override {
    return Check("CheckNumberText", text, &InputCheckService::CheckNumberText);
  }

 private:
  InputCheckAnswer Check(std::string_view operation, std::string& text,
                         InputCheckAnswer (InputCheckService::*check)(std::string&)) {
    const std::string given = text;
    InputCheckAnswer answer = ((*inner_).*check)(text);
    log_.Add("inputCheck", {{"operation", operation},
                            {"arguments", {given}},
                            {"answer",
                             {{"text", text},
                              {"message", answer.message},
                              {"title", answer.title},
                              {"flag", answer.flag}}}});
    return answer;
  }

  std::unique_ptr<InputCheckService> inner_;
  EventLog& log_;
};

}  // namespace

void LogCommand(EventLog& log, std::string_view command, std::string_view parameters,
                std::string_view reply, std::int32_t status, bool unmatched) {
  Json event = {{"name", command}, {"param", parameters}, {"reply", reply}, {"status", status}};
  if (unmatched) event["unmatched"] = true;
  log.Add("command", std::move(event));
}

void LogMessage(EventLog& log, std::int32_t number, std::string_view title,
                std::initializer_list<std::string_view> parameters, std::int32_t answer,
                bool defaulted) {
  Json params = Json::array();
  for (std::string_view parameter : parameters) params.push_back(parameter);
  Json event = {
      {"number", number}, {"title", title}, {"params", std::move(params)}, {"answer", answer}};
  if (defaulted) event["defaulted"] = true;
  log.Add("message", std::move(event));
}

std::string FloatText(float value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc{} ? std::string(buffer, end) : std::string("?");
}

std::unique_ptr<BackendCommandService> RecordCommands(std::unique_ptr<BackendCommandService> inner,
                                                      EventLog& log) {
  if (!inner) return nullptr;
  return std::make_unique<RecordingCommandService>(std::move(inner), log);
}

std::unique_ptr<MessageService> RecordMessages(std::unique_ptr<MessageService> inner, EventLog& log,
                                               AnswerQueue& answers) {
  if (!inner) return nullptr;
  return std::make_unique<RecordingMessageService>(std::move(inner), log, answers);
}

std::unique_ptr<FieldRuleService> RecordFieldRules(std::unique_ptr<FieldRuleService> inner,
                                                   EventLog& log) {
  if (!inner) return nullptr;
  return std::make_unique<RecordingFieldRules>(std::move(inner), log);
}

std::unique_ptr<InputCheckService> RecordInputChecks(std::unique_ptr<InputCheckService> inner,
                                                     EventLog& log) {
  if (!inner) return nullptr;
  return std::make_unique<RecordingInputChecks>(std::move(inner), log);
}

}  // namespace cn::play
