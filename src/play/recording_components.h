#pragma once
// Wrappers that write what the screen asks of its outside components into the event log and
// pass the call on: the same transcript whether a stub or the product's components answer.

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "integration/components.h"
#include "play/answer_queue.h"
#include "play/event_log.h"

namespace cn::play {

// {"event": "command", "name", "param", "reply", "status"[, "unmatched": true]}
void LogCommand(EventLog& log, std::string_view command, std::string_view parameters,
                std::string_view reply, std::int32_t status, bool unmatched);

// {"event": "message", "number", "title", "params": [five], "answer"[, "defaulted": true]}
void LogMessage(EventLog& log, std::int32_t number, std::string_view title,
                std::initializer_list<std::string_view> parameters, std::int32_t answer,
                bool defaulted);

// The shortest text that reads back as the same single-precision number.
std::string FloatText(float value);

std::unique_ptr<BackendCommandService> RecordCommands(std::unique_ptr<BackendCommandService> inner,
                                                      EventLog& log);
// Records the numbered message, then lets `inner` show it (its message box is recorded too,
// and answered as this message).
std::unique_ptr<MessageService> RecordMessages(std::unique_ptr<MessageService> inner, EventLog& log,
                                               AnswerQueue& answers);
std::unique_ptr<FieldRuleService> RecordFieldRules(std::unique_ptr<FieldRuleService> inner,
                                                   EventLog& log);
std::unique_ptr<InputCheckService> RecordInputChecks(std::unique_ptr<InputCheckService> inner,
                                                     EventLog& log);

}  // namespace cn::play
