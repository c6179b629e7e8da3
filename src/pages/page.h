#pragma once
// The base of every page of the screen: the page's document and window, the shared workspace,
// and the binding of its handlers to element events. A handler reports an unexpected failure
// in the one message-box form and ends, leaving the page usable; a few handlers stop silently.

#include <functional>
#include <memory>
#include <span>
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

 private:
  template <typename>
  struct PageOf;
  template <typename Derived>
  struct PageOf<void (Derived::*)()> {
    using type = Derived;
  };
  template <auto handler, OnFailure on_failure>
  static void Call(void* page) {
    auto* self = static_cast<typename PageOf<decltype(handler)>::type*>(static_cast<Page*>(page));
    static_cast<Page*>(self)->Run([self] { (self->*handler)(); }, on_failure);
  }

 protected:
  // The handler of a row of a page's table, {"txtName", "onblur", Handler<&Page::txtName_onblur>}.
  // The table is a constant: every session's page binds the same one with BindHandlers.
  template <auto handler, OnFailure on_failure = OnFailure::kReport>
  static constexpr void (*Handler)(void*) = &Call<handler, on_failure>;
  // A handler that ends silently on a failure.
  template <auto handler>
  static constexpr void (*Silent)(void*) = &Call<handler, OnFailure::kStopSilently>;

  void BindHandlers(std::span<const dom::HandlerRow> rows) {
    document_->Events().BindRows(rows, static_cast<Page*>(this), this);
  }

 private:
  void Run(const std::function<void()>& body, OnFailure on_failure);
  bool Ignored() const;

  Workspace& workspace_;
  std::shared_ptr<dom::Document> document_;
};

}  // namespace cn
