#include "pages/page.h"

#include "dom/events.h"
#include "integration/reporting.h"

namespace cn {

Page::Page(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : workspace_(workspace), document_(std::move(document)) {}

// The document may outlive the page (the web layer keeps it to render); its events must no
// longer reach a page that is gone.
Page::~Page() {
  for (const auto& [id, event] : bound_) document_->Events().Unbind(id, event);
}

void Page::Load() {
  ReportFailures(window(), [this] { DHTMLPage_Load(); });
}

void Page::Unload() {
  IgnoreFailures([this] { DHTMLPage_Unload(); });
}

int Page::KeyCode() const {
  const dom::Event* event = window().CurrentEvent();
  return event ? event->KeyCode() : 0;
}

void Page::BindHandler(std::string_view id, std::string_view event, std::function<void()> body,
                       OnFailure on_failure) {
  if (on_failure == OnFailure::kReport) {
    document_->Bind(id, event, [this, body = std::move(body)] { ReportFailures(window(), body); });
  } else {
    document_->Bind(id, event, [body = std::move(body)] { IgnoreFailures(body); });
  }
  bound_.emplace_back(id, event);
}

}  // namespace cn
