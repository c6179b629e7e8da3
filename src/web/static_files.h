#pragma once
// The browser's own files (the login and shell pages, scripts, styles) served from the pages
// folder: only those, with their content types and a validator for caching.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace cn::web {

struct StaticFile {
  std::string body;
  std::string content_type;
  std::string etag;  // changes whenever the file does
};

// The content type for a file name's extension; empty for files that are not served.
std::string_view ContentTypeFor(std::string_view file_name);

// The file for a request path ("/js/app.js"): only the login and shell pages and what lies under
// "js/" and "styles/", plain names without "..", of a served type. Nothing otherwise.
std::optional<StaticFile> ReadStaticFile(const std::filesystem::path& root, std::string_view request_path);

}  // namespace cn::web
