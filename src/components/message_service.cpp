#include "components/message_service.h"

#include <utility>

#include "base/runtime_failure.h"
#include "components/message_catalogue.h"

namespace cn::components {

CatalogueMessageService::CatalogueMessageService(std::shared_ptr<dom::DialogHost> dialogs)
    : dialogs_(std::move(dialogs)) {
  if (!dialogs_) {
    throw RuntimeFailure(failure::kCannotCreateComponent,
                         "The message service needs a place to show its messages",
                         "MessageService");
  }
}

std::int32_t CatalogueMessageService::ShowMessage(std::int32_t number, std::string_view title,
                                                  std::string_view parameter1,
                                                  std::string_view parameter2,
                                                  std::string_view parameter3,
                                                  std::string_view parameter4,
                                                  std::string_view parameter5) {
  const MessageParameters parameters{parameter1, parameter2, parameter3, parameter4,
                                     parameter5};
  if (const CatalogueMessage* message = FindMessage(number)) {
    return dialogs_->MessageBox(FillPlaceholders(message->text, parameters),
                                message->buttons_and_icon, title);
  }
  return dialogs_->MessageBox(UnknownMessageText(number, parameters),
                              dom::message_box::kOkOnly | dom::message_box::kExclamation,
                              title);
}

}  // namespace cn::components
