#pragma once
// The outside components the screen calls, and the one set of factories through
// which every call site obtains them. The product plugs in its real components, the
// tests and the scenario runner plug in fakes; the page logic does not change.
//
// A component reports a failed call by throwing (cn::RuntimeFailure, or any
// std::exception, which the callers turn into one). Operation names and argument
// orders are those of the components' contract; a lone output is returned.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/currency.h"
#include "base/date.h"

namespace cn {

// Failure numbers of component creation and component calls.
namespace failure {
inline constexpr std::int32_t kCannotCreateComponent = 429;
inline constexpr std::int32_t kComponentCallFailed = 440;
// The back end's database cannot be used now (not reached, or its file gone): the call did
// nothing. Its description is the whole message the administrator is shown.
inline constexpr std::int32_t kDatabaseUnavailable = 3146;
}  // namespace failure
inline constexpr std::string_view kDatabaseUnavailableText =
    "The database is not available at the moment. Nothing has been written; please try again.";

// All back-end commands ("Namespace.Object.Method").
class BackendCommandService {
 public:
  virtual ~BackendCommandService() = default;
  // `reply` comes in empty; `status` 0 is success, other values mean what the
  // command says they mean. Throws when the call itself fails.
  virtual void ExecuteCommand(std::string_view command, std::string_view parameters,
                              std::string& reply, std::int32_t& status) = 0;
};

// Lookup lists from the local table, in the same text form as the back-end lists.
class LocalTableService {
 public:
  virtual ~LocalTableService() = default;
  virtual void GetList(std::string& reply, std::int16_t list_number, std::int32_t& status) = 0;
  // kind 0, 1 or 2.
  virtual void GetMotorClassList(std::string& reply, std::int32_t kind, std::int32_t& status) = 0;
  virtual void GetUOMList(std::string& reply, std::string_view class_code,
                          std::int32_t& status) = 0;
};

// Answers of a message box: 1 OK, 2 Cancel, 6 Yes, 7 No.
namespace answer {
inline constexpr std::int32_t kOk = 1;
inline constexpr std::int32_t kCancel = 2;
inline constexpr std::int32_t kYes = 6;
inline constexpr std::int32_t kNo = 7;
}  // namespace answer

// Numbered messages: the component owns the texts, shows the message and returns
// the button pressed. Parameters a message does not need are empty.
class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual std::int32_t ShowMessage(std::int32_t number, std::string_view title,
                                   std::string_view parameter1, std::string_view parameter2,
                                   std::string_view parameter3, std::string_view parameter4,
                                   std::string_view parameter5) = 0;
};

// One-value business checks. Each returns a message: empty when the value is
// acceptable, otherwise the text the caller shows.
class FieldRuleService {
 public:
  virtual ~FieldRuleService() = default;
  virtual std::string CheckLicenceDate(const Date& date) = 0;
  virtual std::string CheckSumInsured(Currency amount, std::int32_t scope_of_cover,
                                      std::string_view class_code) = 0;
  virtual std::string CheckCapacity(Currency amount) = 0;
  virtual std::string CheckSeatingCapacity(std::int32_t seats) = 0;
  virtual std::string CheckYearMade(std::int32_t year) = 0;
  // `year_made` is the vehicle's year of manufacture, 0 when not known.
  virtual std::string CheckAccidentDate(const Date& date, std::int32_t year_made) = 0;
  virtual std::string CheckExtendedSumInsured(Currency amount) = 0;
  virtual std::string CheckExtendedPremium(Currency premium, Currency minimum_premium) = 0;
  virtual std::string CheckPercentage(float percentage) = 0;
  // Not a check: the scope of cover of a motor cover code (local-table mode).
  virtual std::int32_t GetScopeOfCover(std::string_view motor_cover_code) = 0;
};

// What a one-input format check says.
struct InputCheckAnswer {
  std::string message;
  std::string title;
  // CheckNumberText: true means the typed number is NOT accepted in that form.
  // The other checks: true means valid.
  bool flag = false;
};

// One-input format checks. Each may rewrite the text; the caller writes it back.
class InputCheckService {
 public:
  virtual ~InputCheckService() = default;
  virtual InputCheckAnswer CheckPercentageText(std::string& text) = 0;
  virtual InputCheckAnswer CheckAmountText(std::string& text) = 0;
  virtual InputCheckAnswer CheckPostcodeText(std::string& text) = 0;
  virtual InputCheckAnswer CheckYearMadeText(std::string& text) = 0;
  virtual InputCheckAnswer CheckNumberText(std::string& text) = 0;
};

// The local-machine root of the settings store.
inline constexpr std::uint32_t kLocalMachineRoot = 0x80000002u;

// Settings store: one value text per (root, key path, value name). What a missing
// value gives is the store's business; callers use the text as it comes.
class Registry {
 public:
  virtual ~Registry() = default;
  virtual std::string GetKeyValue(std::uint32_t root, std::string_view key_path,
                                  std::string_view value_name) = 0;
};

template <typename T>
using ComponentFactory = std::function<std::unique_ptr<T>()>;

// One factory per component. An unset factory, or one that yields nothing, is a
// failure to create the component at the moment it is needed.
struct ComponentFactories {
  ComponentFactory<BackendCommandService> backend_command_service;
  ComponentFactory<LocalTableService> local_table_service;
  ComponentFactory<MessageService> message_service;
  ComponentFactory<FieldRuleService> field_rule_service;
  ComponentFactory<InputCheckService> input_check_service;
  ComponentFactory<Registry> registry;
};

// The screen's access to its components: fresh instances of the command, table,
// message and registry components for each use, and the two checking services as
// single instances created on first use and held until the screen closes.
class Components {
 public:
  Components() = default;
  explicit Components(ComponentFactories factories);

  Components(const Components&) = delete;
  Components& operator=(const Components&) = delete;

  std::unique_ptr<BackendCommandService> NewBackendCommandService() const;
  std::unique_ptr<LocalTableService> NewLocalTableService() const;
  std::unique_ptr<MessageService> NewMessageService() const;
  std::unique_ptr<Registry> NewRegistry() const;

  // Created on first use (logically part of the set, hence const).
  FieldRuleService& SharedFieldRuleService() const;
  InputCheckService& SharedInputCheckService() const;

  // Swapping a factory affects later creations; a shared checking service that
  // already exists is kept.
  ComponentFactories& factories() { return factories_; }

 private:
  ComponentFactories factories_;
  mutable std::unique_ptr<FieldRuleService> field_rule_service_;
  mutable std::unique_ptr<InputCheckService> input_check_service_;
};

}  // namespace cn
