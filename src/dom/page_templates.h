#pragma once
// Page files parsed once per process: every later load of the same file is a copy of the
// parsed page, which is far cheaper than reading and parsing it again. A file changed on disk
// (a different modification time) is read again; the time is looked at again only once the
// `recheck` interval has passed since it was last looked at, so that not every tab switch of
// every session asks the file system. Safe for sessions loading pages on several threads at
// once; the parsed pages themselves are never handed out.

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "dom/document.h"
#include "dom/shared_content.h"

namespace cn::dom {

class PageTemplates {
 public:
  explicit PageTemplates(std::chrono::milliseconds recheck = std::chrono::seconds(1))
      : recheck_(recheck) {}

  // As Document::Load: a page of its own for the caller; an unreadable file is a RuntimeFailure.
  std::shared_ptr<Document> Load(const std::filesystem::path& path);

 private:
  struct Parsed {
    std::filesystem::file_time_type modified;
    std::chrono::steady_clock::time_point checked;  // when `modified` was last read
    std::shared_ptr<const Document> page;
  };

  const std::chrono::milliseconds recheck_;

  std::mutex mutex_;
  std::unordered_map<std::string, Parsed> pages_;
  // What the pages' logic builds alike on their copies, built once for all of them.
  std::shared_ptr<SharedContent> shared_ = std::make_shared<SharedContent>();
};

}  // namespace cn::dom
