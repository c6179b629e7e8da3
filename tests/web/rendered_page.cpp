#include "rendered_page.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

namespace cn::web::testing {

dom::NodeId NodeOf(const nlohmann::json& page, const std::string& id) {
  const std::regex pattern("id='" + id + "'[^>]*data-nid='(\\d+)'");
  std::smatch match;
  const std::string html = page.at("html");
  if (!std::regex_search(html, match, pattern)) {
    ADD_FAILURE() << "no element " << id << " in " << html;
    throw std::runtime_error("no element " + id);
  }
  return std::stoll(match[1]);
}

}  // namespace cn::web::testing
