#include "app/dialog_pages.h"

#include <spdlog/spdlog.h>

#include "base/runtime_failure.h"
#include "components/enquiry_dialog.h"
#include "components/selection_dialog.h"
#include "components/table_dialog.h"
#include "integration/selection_file.h"
#include "web/protocol_error.h"

namespace cn::app {
namespace {

using nlohmann::json;

std::string FileName(std::string_view url) {
  const std::size_t slash = url.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

bool Is(std::string_view url, std::string_view file) {
  const std::string name = FileName(url);
  return name.size() == file.size() &&
         std::equal(name.begin(), name.end(), file.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

json ListJson(const components::DialogList& list) {
  json rows = json::array();
  for (const auto& row : list.rows) rows.push_back({{"cells", row.cells}, {"value", row.value}});
  return {{"title", list.title}, {"columns", list.columns}, {"rows", std::move(rows)}, {"notice", list.notice}};
}

class ProductDialogs final : public web::DialogPages {
 public:
  ProductDialogs(const Components& components, std::string installation_path)
      : components_(components), installation_path_(std::move(installation_path)) {}

  json Opening(std::string_view url, std::string_view argument) override {
    if (Is(url, "dlgEnq.htm")) {
      const auto parsed = components::ParseEnquiryArgument(argument);
      json content = ListJson(components::EnquiryOpening(parsed));
      content["searches"] = json::array();
      for (const auto& search : components::EnquirySearches(parsed.kind)) {
        content["searches"].push_back({{"by", search.by}, {"label", search.label}});
      }
      content["listed"] = parsed.has_list;
      return content;
    }
    if (Is(url, "dlgSrch.htm")) {
      std::string text;
      std::string problem;
      try {
        text = ReadSelectionFile(installation_path_);
      } catch (const RuntimeFailure& failure) {
        spdlog::warn("The selection list could not be read: {}", failure.description());
        problem = "The list could not be read.";
      }
      auto list = components::SelectionList(argument, text);
      if (!problem.empty()) list.notice = problem;
      return ListJson(list);
    }
    if (Is(url, "dlgReview.htm") || Is(url, "dlgHistory.htm")) {
      return ListJson(components::TableDialogList(argument));
    }
    return nullptr;
  }

  json Search(std::string_view url, std::string_view argument, const json& query) override {
    if (!Is(url, "dlgEnq.htm")) throw web::ProtocolError(404, "no-search", "This dialog cannot search");
    const auto by = query.find("by");
    const auto text = query.find("text");
    if (by == query.end() || !by->is_string() || text == query.end() || !text->is_string()) {
      throw web::ProtocolError(400, "bad-request", "A search needs \"by\" and \"text\" as texts");
    }
    try {
      return ListJson(components::SearchEnquiry(components_, components::ParseEnquiryArgument(argument),
                                                by->get<std::string>(), text->get<std::string>()));
    } catch (const components::BadEnquiry& refusal) {
      throw web::ProtocolError(400, "bad-request", refusal.what());
    }
  }

 private:
  const Components& components_;
  std::string installation_path_;
};

}  // namespace

std::shared_ptr<web::DialogPages> ProductDialogPages(const Components& components, std::string installation_path) {
  return std::make_shared<ProductDialogs>(components, std::move(installation_path));
}

}  // namespace cn::app
