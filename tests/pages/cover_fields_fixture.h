#pragma once
// The Cover tab page with its handlers bound, on fake components, on 5 March 2014. The tab
// is not locked, so the tests act on it as a person would.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pages/page.h"
#include "workspace_world.h"

namespace cn::cover_testing {

class CoverTabWorld : public testing::WorkspaceWorld {
 public:
  CoverTabWorld();
  ~CoverTabWorld();

  // The parameter texts of every `command` sent, in order.
  std::vector<std::string> ParametersSent(std::string_view command) const {
    return fakes.backend.ParametersSent(command);
  }
  // The bytes of the selection file the search dialog reads.
  std::string SelectionFileBytes() const;

  std::unique_ptr<Page> cover;
  std::filesystem::path installation;
};

using testing::Fields;
using testing::Records;

}  // namespace cn::cover_testing
