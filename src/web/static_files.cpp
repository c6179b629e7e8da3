#include "web/static_files.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace cn::web {
namespace {

struct TypeRow {
  std::string_view extension;
  std::string_view content_type;
};
constexpr std::array<TypeRow, 8> kTypes{{
    {".html", "text/html; charset=utf-8"},
    {".htm", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".svg", "image/svg+xml"},
    {".png", "image/png"},
    {".ico", "image/x-icon"},
    {".json", "application/json"},
}};

// The tab pages (.htm) stay on the server; only the dialog pages' markup is served.
constexpr std::array<std::string_view, 6> kPages{"/login.html", "/app.html",  "/dlgEnq.htm",
                                               "/dlgSrch.htm", "/dlgReview.htm", "/dlgHistory.htm"};
constexpr std::array<std::string_view, 2> kFolders{"/js/", "/styles/"};

bool PlainPath(std::string_view path) {
  if (path.find("..") != std::string_view::npos || path.find("//") != std::string_view::npos) return false;
  return std::all_of(path.begin(), path.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '_' ||
           c == '-' || c == '.';
  });
}

}  // namespace

std::string_view ContentTypeFor(std::string_view file_name) {
  for (const TypeRow& row : kTypes) {
    if (file_name.size() > row.extension.size() && file_name.ends_with(row.extension)) return row.content_type;
  }
  return {};
}

std::optional<StaticFile> ReadStaticFile(const std::filesystem::path& root, std::string_view request_path) {
  if (!PlainPath(request_path)) return std::nullopt;
  const bool page = std::find(kPages.begin(), kPages.end(), request_path) != kPages.end();
  const bool in_folder = std::any_of(kFolders.begin(), kFolders.end(),
                                     [&](std::string_view folder) { return request_path.starts_with(folder); });
  if (!page && !in_folder) return std::nullopt;
  const std::string_view type = ContentTypeFor(request_path);
  if (type.empty()) return std::nullopt;
  const std::filesystem::path path = root / std::filesystem::path(request_path.substr(1));
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, error);
  const auto written = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream body;
  body << in.rdbuf();
  std::ostringstream etag;
  etag << '"' << std::hex << size << '-' << written.time_since_epoch().count() << '"';
  return StaticFile{body.str(), std::string(type), etag.str()};
}

}  // namespace cn::web
