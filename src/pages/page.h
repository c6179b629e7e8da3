#pragma once
// The base of every page of the screen: the page's document and window, the shared workspace,
// and the binding of its handlers to element events. A handler reports an unexpected failure
// in the one message-box form and ends, leaving the page usable; a few handlers stop silently.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dom/document.h"
#include "dom/element.h"
#include "dom/page_logic.h"
#include "dom/window.h"
#include "workspace/workspace.h"

namespace cn {

class Page : public dom::PageLogic {
 public:
  Page(Workspace& workspace, std::shared_ptr<dom::Document> document);
  ~Page() override;
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  // The shell's load and unload of the page: DHTMLPage_Load reports its failures,
  // DHTMLPage_Unload ends silently on one.
  void Load() final;
  void Unload() final;

  dom::Document& document() const { return *document_; }
  const std::shared_ptr<dom::Document>& shared_document() const { return document_; }
  dom::Window& window() const { return *document_->ParentWindow(); }
  Workspace& workspace() const { return workspace_; }

 protected:
  virtual void DHTMLPage_Load() = 0;
  virtual void DHTMLPage_Unload() {}

  // The key code of the key event being handled; 0 outside one.
  int KeyCode() const;

  // An element of this page; a missing one is a failure naming it.
  dom::Element& Element(std::string_view id) const { return *document_->GetElementById(id); }

  enum class OnFailure { kReport, kStopSilently };

  // Binds `handler` (a member of the derived page) to `event` of the element `id`.
  template <typename Derived>
  void On(std::string_view id, std::string_view event, void (Derived::*handler)(),
          OnFailure on_failure = OnFailure::kReport) {
    auto* self = static_cast<Derived*>(this);
    // One small function per binding: every session binds each page's handlers anew.
    document_->Bind(
        id, event,
        [self, handler, on_failure] {
          static_cast<Page*>(self)->Run([self, handler] { (self->*handler)(); }, on_failure);
        },
        this);
  }

 private:
  void Run(const std::function<void()>& body, OnFailure on_failure);

  Workspace& workspace_;
  std::shared_ptr<dom::Document> document_;
};

}  // namespace cn
