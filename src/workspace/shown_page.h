#pragma once
// What the tab page showed when the administrator got it. Leaving a page takes into the
// record only the boxes he changed: a box that still shows what the record put there leaves
// its field as it was read, whatever form the box writes it in ("48,000.00" for "48000",
// "0" for an empty flag). The page is noted when the handler that showed the record ends,
// after whatever else that handler did to the page (locking, the cover type's lists), and
// again each time the record takes the page.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "dom/document.h"

namespace cn {

class ShownPage {
 public:
  // The record was just shown on `page`.
  void Showing(dom::Document& page);
  // The record just took what `page` shows: from now on a change is a change from this.
  void Taken(const dom::Document& page) { Note(page); }

  // Whether the element with that id shows something else than when the page was noted. True
  // for every element of a page that was never noted: its transfer takes everything, as it
  // always has.
  bool Changed(dom::Document& page, std::string_view element_id);
  bool Changed(dom::Document& page, const dom::Element& element);
  // Whether any box of `page` but `skipped` shows something else than when it was noted;
  // false for a page never noted (nothing of the record was shown on it).
  bool AnyChanged(dom::Document& page, std::string_view skipped);

  // A handler's run: the page shown during the outermost one is noted when it ends.
  class HandlerScope {
   public:
    explicit HandlerScope(ShownPage& shown) : shown_(shown) { ++shown_.depth_; }
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

   private:
    ShownPage& shown_;
  };

 private:
  void Note(const dom::Document& page);

  std::weak_ptr<const dom::Document> noted_;
  std::weak_ptr<dom::Document> pending_;
  // Node ids in order, and a digest of what each element showed: every open screen holds
  // one page's worth.
  std::vector<std::uint32_t> nodes_;
  std::vector<std::uint64_t> digests_;
  int depth_ = 0;
};

}  // namespace cn
