#pragma once
// Stand-ins for the outside components: they answer from tables the test fills in and
// record what the screen asked of them, each in its own list and, when a journal is
// given, as one line in the journal shared by all of them.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/runtime_failure.h"
#include "integration/components.h"
#include "replies.h"

namespace cn::testing {

struct SentCommand {
  std::string command;
  std::string parameters;
  bool operator==(const SentCommand&) const = default;
};

// The back end: answers per (command, parameters), falling back to per command, else an
// empty reply with status 0. Counts its instances. Journal: "command NAME PARAMETERS".
class FakeBackend {
 public:
  void Answer(std::string command, std::string parameters, std::string reply,
              std::int32_t status = 0);
  void AnswerAny(std::string command, std::string reply, std::int32_t status = 0);
  // Every call of the command throws, as a component that lost its connection does.
  void Fail(std::string command, std::string description = "The back end is not reachable");

  const std::vector<SentCommand>& sent() const { return sent_; }
  // The parameters of every `command` sent, in order.
  std::vector<std::string> ParametersSent(std::string_view command) const;
  int created() const { return created_; }
  int alive() const { return alive_; }

  ComponentFactory<BackendCommandService> Factory();
  Journal* journal = nullptr;

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

// Journal: "local GetList 6", "local GetMotorClassList 0", ...
class FakeLocalTable {
 public:
  std::map<std::int16_t, std::string> lists;
  std::map<std::int32_t, std::string> motor_classes;
  std::vector<std::string> calls;  // "GetList 6", "GetMotorClassList 1", ...
  Journal* journal = nullptr;

  ComponentFactory<LocalTableService> Factory();
};

struct ShownMessage {
  std::int32_t number = 0;
  std::string title;
  std::vector<std::string> parameters;  // always five
  bool operator==(const ShownMessage&) const = default;
};

// Answers `answer`. Journal: "message NUMBER 'TITLE' [P1,P2,P3,P4,P5]".
class FakeMessages {
 public:
  std::int32_t answer = answer::kOk;
  std::vector<ShownMessage> shown;
  int created = 0;
  Journal* journal = nullptr;

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
  Rule postcode;
  Rule year_made;
  Rule number{{"", "", false}, std::nullopt};
  std::vector<std::string> asked;  // "CheckPostcodeText 5000", ...
  int created = 0;

  ComponentFactory<InputCheckService> Factory();
};

// Field rules answering a message per check, "" (accepted) unless set.
class FakeFieldRules {
 public:
  std::string licence_date_message;
  std::string capacity_message;
  std::string seating_message;
  std::string sum_insured_message;
  std::string extended_sum_insured_message;
  std::string extended_premium_message;
  std::string percentage_message;
  std::string accident_date_message;
  std::int32_t accident_year_made = -1;  // the year made the last accident check was given

  ComponentFactory<FieldRuleService> Factory();
};

// Settings under the local machine. Journal: "setting VALUE_NAME".
class FakeRegistry {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;  // (key, name) → value
  std::vector<std::string> reads;                                     // value names in read order
  Journal* journal = nullptr;

  ComponentFactory<Registry> Factory();
};

// All fakes wired into one set of components.
struct FakeWorld {
  FakeWorld();
  FakeWorld(const FakeWorld&) = delete;
  FakeWorld& operator=(const FakeWorld&) = delete;

  // Every fake that keeps a journal writes into this one, in call order.
  void RecordInto(Journal& journal);

  FakeBackend backend;
  FakeLocalTable local_table;
  FakeMessages messages;
  FakeInputChecks input_checks;
  FakeFieldRules field_rules;
  FakeRegistry registry;
  Components components;
};

}  // namespace cn::testing
