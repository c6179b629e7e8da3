#include "pages/page.h"

#include "dom/events.h"
#include "integration/reporting.h"

namespace cn {

Page::Page(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : workspace_(workspace), document_(std::move(document)) {}

// The document may outlive the page (the web layer keeps it to render); its events must no
// longer reach a page that is gone.
Page::~Page() { document_->Events().UnbindOwner(this); }

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

void Page::Run(const std::function<void()>& body, OnFailure on_failure) {
  if (on_failure == OnFailure::kReport) {
    ReportFailures(window(), body);
  } else {
    IgnoreFailures(body);
  }
}

}  // namespace cn
