#pragma once
// Stand-ins for the outside components and the user-facing ports: they record what
// the screen asked of them and answer from tables the test fills in.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/runtime_failure.h"
#include "dom/window.h"
#include "integration/components.h"

namespace cn::testing {

struct SentCommand {
  std::string command;
  std::string parameters;
  bool operator==(const SentCommand&) const = default;
};

// The back end: answers per (command, parameters), falling back to per command,
// else an empty reply with status 0. Counts command-service instances.
class FakeBackend {
 public:
  void Answer(std::string command, std::string parameters, std::string reply,
              std::int32_t status = 0);
  void AnswerAny(std::string command, std::string reply, std::int32_t status = 0);
  // The command fails (the component throws).
  void Fail(std::string command, std::string description);

  const std::vector<SentCommand>& sent() const { return sent_; }
  int created() const { return created_; }
  int alive() const { return alive_; }

  ComponentFactory<BackendCommandService> Factory();

 private:
  class Instance;
  struct Reply {
    std::string reply;
    std::int32_t status = 0;
    std::optional<std::string> failure;
  };

  std::map<std::pair<std::string, std::string>, Reply> exact_;
  std::map<std::string, Reply> any_;
  std::vector<SentCommand> sent_;
  int created_ = 0;
  int alive_ = 0;
};

class FakeLocalTable {
 public:
  std::map<std::int16_t, std::string> lists;
  std::map<std::int32_t, std::string> motor_classes;
  std::vector<std::string> calls;  // "GetList 6", "GetMotorClassList 1", ...

  ComponentFactory<LocalTableService> Factory();
};

struct ShownMessage {
  std::int32_t number = 0;
  std::string title;
  std::vector<std::string> parameters;  // always five
  bool operator==(const ShownMessage&) const = default;
};

class FakeMessages {
 public:
  std::int32_t answer = answer::kOk;
  std::vector<ShownMessage> shown;
  int created = 0;

  ComponentFactory<MessageService> Factory();
};

// One answer per operation, optionally rewriting the text.
class FakeInputChecks {
 public:
  struct Rule {
    InputCheckAnswer answer{"", "", true};
    std::optional<std::string> rewrite;
  };
  Rule percentage;
  Rule amount;
  Rule postcode{{"", "", true}, std::nullopt};
  Rule year_made;
  Rule number{{"", "", false}, std::nullopt};
  std::vector<std::string> asked;  // "CheckPostcodeText 5000", ...
  int created = 0;

  ComponentFactory<InputCheckService> Factory();
};

class FakeRegistry {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;  // (key, name) → value
  std::vector<std::string> reads;  // value names in read order
  int created = 0;

  ComponentFactory<Registry> Factory();
};

struct ShownBox {
  std::string prompt;
  int buttons_and_icon = 0;
  std::string title;
  bool operator==(const ShownBox&) const = default;
};

struct ShownDialog {
  std::string url;
  std::string argument;
  std::string features;
};

class FakeDialogs : public dom::DialogHost {
 public:
  int MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) override;
  std::string ShowModalDialog(std::string_view url, std::string_view argument,
                              std::string_view features) override;

  std::vector<ShownBox> boxes;
  std::vector<ShownDialog> dialogs;
  std::string dialog_result;
};

class FakeShell : public dom::ScriptHost {
 public:
  void RunScript(dom::Window& window, std::string_view script) override;
  std::vector<std::string> scripts;
};

// All fakes wired into one set of components.
struct FakeWorld {
  FakeWorld();

  FakeBackend backend;
  FakeLocalTable local_table;
  FakeMessages messages;
  FakeInputChecks input_checks;
  FakeRegistry registry;
  Components components;
};

// Text joined from fields and records, for readable replies in tests.
std::string Fields(std::initializer_list<std::string_view> fields);
std::string Records(std::initializer_list<std::string_view> records);

}  // namespace cn::testing
