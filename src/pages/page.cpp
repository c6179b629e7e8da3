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
  const ShownPage::HandlerScope handler(workspace_.transfer.Shown);
  ReportFailures(window(), [this] { DHTMLPage_Load(); });
}

void Page::Unload() {
  IgnoreFailures([this] { DHTMLPage_Unload(); });
}

int Page::KeyCode() const {
  const dom::Event* event = window().CurrentEvent();
  return event ? event->KeyCode() : 0;
}

// A read-only box is there to be read: entering, leaving or typing in it checks and changes
// nothing. Nor is a box checked again when it is left as it was shown.
bool Page::Ignored() const {
  const dom::Event* event = window().CurrentEvent();
  if (event == nullptr || event->SrcElement() == nullptr) return false;
  const std::string& type = event->Type();
  if (type != "focus" && type != "blur" && type != "change" && type != "keypress") return false;
  dom::Element& box = *event->SrcElement();
  if (!box.Is("INPUT") && !box.Is("TEXTAREA") && !box.Is("SELECT")) return false;
  if (box.ReadOnly() || box.Disabled()) return true;
  if (type == "keypress") return false;
  return type == "blur" && box.OwnerDocument().get() == document_.get() &&
         !workspace_.transfer.Shown.Changed(*document_, box);
}

void Page::Run(const std::function<void()>& body, OnFailure on_failure) {
  if (Ignored()) return;
  const ShownPage::HandlerScope handler(workspace_.transfer.Shown);
  if (on_failure == OnFailure::kReport) {
    ReportFailures(window(), body);
  } else {
    IgnoreFailures(body);
  }
}

}  // namespace cn
