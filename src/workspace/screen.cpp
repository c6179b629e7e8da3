#include "workspace/screen.h"

#include <algorithm>

#include "pages/page.h"

namespace cn {

namespace {
constexpr std::string_view kWorkspacePageFile = "CNAAMain.htm";
}  // namespace

Screen::Screen(const Components& components, const Clock& local_clock)
    : components_(components), local_clock_(local_clock) {}

Screen::~Screen() = default;

dom::PageFactory Screen::PageFactory() {
  return [this](std::string_view page_file, const std::shared_ptr<dom::Document>& document) {
    return MakePage(page_file, document);
  };
}

std::unique_ptr<dom::PageLogic> Screen::MakePage(std::string_view page_file,
                                                 const std::shared_ptr<dom::Document>& document) {
  // Opening the workspace page opens the screen afresh.
  if (page_file == kWorkspacePageFile) workspace_ = std::make_unique<Workspace>(components_, local_clock_);
  if (!workspace_) return nullptr;
  const auto kinds = PageKinds();
  const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                 [&](const PageKind& k) { return k.page_file == page_file; });
  if (kind == kinds.end()) return nullptr;
  return kind->make(*workspace_, document);
}

}  // namespace cn
