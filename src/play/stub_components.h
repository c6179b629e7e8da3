#pragma once
// The outside components in stub mode, answering from the scenario: the back end from its
// rules, the checks and local tables from its "components" (accepting whatever they are not
// told about), numbered messages from the answer queue. What they are asked is recorded by
// the recording wrappers (play/recording_components.h), except the back end's calls, which
// the stub records itself because only it knows a call matched no rule.

#include <memory>
#include <vector>

#include "integration/components.h"
#include "play/answer_queue.h"
#include "play/event_log.h"
#include "play/scenario.h"

namespace cn::play {

// The rules of one run; `once` rules are used up across every command-service instance.
class StubBackend {
 public:
  StubBackend(std::vector<StubRule> rules, EventLog& log);

  // Answers and records one call; an unmatched call gets "" and status 0.
  void Execute(std::string_view command, std::string_view parameters, std::string& reply,
               std::int32_t& status);

 private:
  std::vector<StubRule> rules_;
  std::vector<bool> used_;
  EventLog& log_;
};

std::unique_ptr<BackendCommandService> MakeStubCommandService(std::shared_ptr<StubBackend> backend);
std::unique_ptr<FieldRuleService> MakeStubFieldRules(const ComponentAnswers& answers);
std::unique_ptr<InputCheckService> MakeStubInputChecks(const ComponentAnswers& answers);
std::unique_ptr<LocalTableService> MakeStubLocalTables(const ComponentAnswers& answers);

// Records a numbered message and answers it from the queue.
std::unique_ptr<MessageService> MakeQueuedMessageService(AnswerQueue& answers, EventLog& log);

}  // namespace cn::play
