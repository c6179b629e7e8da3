#include "dom/page_templates.h"

#include <system_error>

namespace cn::dom {

std::shared_ptr<Document> PageTemplates::Load(const std::filesystem::path& path) {
  const std::string key = path.string();
  const auto now = std::chrono::steady_clock::now();
  std::shared_ptr<const Document> page;
  {
    const std::lock_guard lock(mutex_);
    const auto it = pages_.find(key);
    if (it != pages_.end() && now - it->second.checked < recheck_) page = it->second.page;
  }
  if (page) return page->Copy();

  std::error_code error;
  const auto modified = std::filesystem::last_write_time(path, error);
  if (error) return Document::Load(path);  // reports the unreadable file
  {
    const std::lock_guard lock(mutex_);
    const auto it = pages_.find(key);
    if (it != pages_.end() && it->second.modified == modified) {
      it->second.checked = now;
      page = it->second.page;
    }
  }
  if (!page) {
    // Parsed outside the lock, so that sessions loading other pages are not held up; two
    // sessions meeting a new file at once both parse it, and either result serves.
    auto parsed = Document::Load(path);
    parsed->ShareContent(shared_);
    parsed->KeepUnchanged();
    page = std::move(parsed);
    const std::lock_guard lock(mutex_);
    pages_.insert_or_assign(key, Parsed{modified, now, page});
  }
  return page->Copy();
}

}  // namespace cn::dom
