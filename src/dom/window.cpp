#include "dom/window.h"

#include <string>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/internal.h"

namespace cn::dom {
namespace {

std::string PageOf(const Window& window) {
  const std::shared_ptr<Document> document = window.document();
  return document ? "'" + document->Url() + "'" : "(closed)";
}

}  // namespace

Window::Window(WindowKey /*key*/, std::weak_ptr<Document> document) : document_(std::move(document)) {}

void Window::SetStatus(std::string_view status) {
  status_ = std::string(status);
  const std::shared_ptr<Document> document = document_.lock();
  if (document && document->WantsChanges(MutationKind::kStatus)) {
    document->NoteChange({MutationKind::kStatus, 0, 0, -1, "", status_});
  }
}

void Window::ExecScript(std::string_view script) {
  if (!script_host_) {
    internal::Fail(failure::kObjectRequired,
                   "The window of the page " + PageOf(*this) + " cannot run script: " + std::string(script));
  }
  script_host_->RunScript(*this, script);
}

int Window::MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) {
  if (!dialog_host_) {
    internal::Fail(failure::kObjectRequired,
                   "The window of the page " + PageOf(*this) + " cannot show a message: " + std::string(prompt));
  }
  return dialog_host_->MessageBox(prompt, buttons_and_icon, title);
}

std::string Window::ShowModalDialog(std::string_view url, std::string_view argument, std::string_view features) {
  if (!dialog_host_) {
    internal::Fail(failure::kObjectRequired,
                   "The window of the page " + PageOf(*this) + " cannot show the dialog " + std::string(url));
  }
  return dialog_host_->ShowModalDialog(url, argument, features);
}

}  // namespace cn::dom
