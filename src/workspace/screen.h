#pragma once
// The screen's logic as the shell sees it: which page logic each page file gets. The
// workspace state is made with the workspace page, lives until the screen closes, and every
// tab page is given it.

#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "base/clock.h"
#include "dom/page_logic.h"
#include "integration/components.h"
#include "workspace/workspace.h"

namespace cn {

class Page;

class Screen {
 public:
  Screen(const Components& components, const Clock& local_clock);
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // The page factory the shell uses; valid while this screen lives. A page file without
  // logic of its own (or a tab page asked for before the workspace page) gets none.
  dom::PageFactory PageFactory();

  // The shared state; null until the workspace page has been made.
  Workspace* workspace() const { return workspace_.get(); }

 private:
  std::unique_ptr<dom::PageLogic> MakePage(std::string_view page_file,
                                           const std::shared_ptr<dom::Document>& document);

  const Components& components_;
  const Clock& local_clock_;
  std::unique_ptr<Workspace> workspace_;
};

// The logic of each page file: (page file, maker). The workspace page comes first.
struct PageKind {
  std::string_view page_file;
  std::unique_ptr<Page> (*make)(Workspace& workspace, std::shared_ptr<dom::Document> document);
};
// Every page the screen has logic for.
std::span<const PageKind> PageKinds();

}  // namespace cn
