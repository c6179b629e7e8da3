#include "fakes.h"

#include <stdexcept>

#include "base/separators.h"

namespace cn::testing {

class FakeBackend::Instance : public BackendCommandService {
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
    const Reply* answer = nullptr;
    if (auto it = backend_.exact_.find({std::string(command), std::string(parameters)});
        it != backend_.exact_.end()) {
      answer = &it->second;
    } else if (auto any = backend_.any_.find(std::string(command)); any != backend_.any_.end()) {
      answer = &any->second;
    }
    if (!answer) return;
    if (answer->failure) throw RuntimeFailure(-2147467259, *answer->failure, "FakeBackend");
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
  any_[std::move(command)] = {"", 0, std::move(description)};
}

ComponentFactory<BackendCommandService> FakeBackend::Factory() {
  return [this] { return std::make_unique<Instance>(*this); };
}

namespace {

class LocalTableInstance : public LocalTableService {
 public:
  explicit LocalTableInstance(FakeLocalTable& table) : table_(table) {}
  void GetList(std::string& reply, std::int16_t list_number, std::int32_t& status) override {
    table_.calls.push_back("GetList " + std::to_string(list_number));
    reply = table_.lists[list_number];
    status = 0;
  }
  void GetMotorClassList(std::string& reply, std::int32_t kind, std::int32_t& status) override {
    table_.calls.push_back("GetMotorClassList " + std::to_string(kind));
    reply = table_.motor_classes[kind];
    status = 0;
  }
  void GetUOMList(std::string& reply, std::string_view class_code, std::int32_t& status) override {
    table_.calls.push_back("GetUOMList " + std::string(class_code));
    reply.clear();
    status = 0;
  }

 private:
  FakeLocalTable& table_;
};

class MessageInstance : public MessageService {
 public:
  explicit MessageInstance(FakeMessages& messages) : messages_(messages) {}
  std::int32_t ShowMessage(std::int32_t number, std::string_view title, std::string_view p1,
                           std::string_view p2, std::string_view p3, std::string_view p4,
                           std::string_view p5) override {
    messages_.shown.push_back({number,
                               std::string(title),
                               {std::string(p1), std::string(p2), std::string(p3),
                                std::string(p4), std::string(p5)}});
    return messages_.answer;
  }

 private:
  FakeMessages& messages_;
};

class InputCheckInstance : public InputCheckService {
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

class RegistryInstance : public Registry {
 public:
  explicit RegistryInstance(FakeRegistry& registry) : registry_(registry) {}
  std::string GetKeyValue(std::uint32_t root, std::string_view key_path,
                          std::string_view value_name) override {
    if (root != kLocalMachineRoot) throw std::logic_error("settings live under local machine");
    registry_.reads.push_back(std::string(value_name));
    const auto it = registry_.values.find({std::string(key_path), std::string(value_name)});
    return it == registry_.values.end() ? std::string() : it->second;
  }

 private:
  FakeRegistry& registry_;
};

}  // namespace

ComponentFactory<LocalTableService> FakeLocalTable::Factory() {
  return [this] { return std::make_unique<LocalTableInstance>(*this); };
}

ComponentFactory<MessageService> FakeMessages::Factory() {
  return [this] {
    ++created;
    return std::make_unique<MessageInstance>(*this);
  };
}

ComponentFactory<InputCheckService> FakeInputChecks::Factory() {
  return [this] {
    ++created;
    return std::make_unique<InputCheckInstance>(*this);
  };
}

ComponentFactory<Registry> FakeRegistry::Factory() {
  return [this] {
    ++created;
    return std::make_unique<RegistryInstance>(*this);
  };
}

int FakeDialogs::MessageBox(std::string_view prompt, int buttons_and_icon,
                            std::string_view title) {
  boxes.push_back({std::string(prompt), buttons_and_icon, std::string(title)});
  return dom::message_box::kOk;
}

std::string FakeDialogs::ShowModalDialog(std::string_view url, std::string_view argument,
                                         std::string_view features) {
  dialogs.push_back({std::string(url), std::string(argument), std::string(features)});
  return dialog_result;
}

void FakeShell::RunScript(dom::Window&, std::string_view script) {
  scripts.emplace_back(script);
}

FakeWorld::FakeWorld()
    : components(ComponentFactories{backend.Factory(), local_table.Factory(), messages.Factory(),
                                    nullptr, input_checks.Factory(), registry.Factory()}) {}

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

std::string Records(std::initializer_list<std::string_view> records) {
  std::string text;
  bool first = true;
  for (const std::string_view record : records) {
    if (!first) text += RecordSeparator;
    text += record;
    first = false;
  }
  return text;
}

}  // namespace cn::testing
