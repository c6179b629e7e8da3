#pragma once
// The logic bound to one loaded page, as a browser binds a page's script to its file: made
// when the page loads, told when it has loaded and when it goes away. It binds its element
// handlers into the document's event table.

#include <functional>
#include <memory>
#include <string_view>

namespace cn::dom {

class Document;

class PageLogic {
 public:
  virtual ~PageLogic() = default;
  virtual void Load() = 0;    // the page's elements exist
  virtual void Unload() = 0;  // the page is about to go away
};

// Gives the logic of a page file ("CNAACov.htm"); null for a page without logic of its own.
using PageFactory = std::function<std::unique_ptr<PageLogic>(
    std::string_view page_file, const std::shared_ptr<Document>& document)>;

}  // namespace cn::dom
