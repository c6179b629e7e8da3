#pragma once
// The Cover tab page with its handlers bound, on fake components, on 5 March 2014. The tab
// is not locked until `cover->Load()`, so the tests act on it as a person would.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "dom/user_actions.h"
#include "pages/page.h"
#include "workspace_world.h"

namespace cn::cover_testing {

using Texts = std::vector<std::string>;
using Ids = std::initializer_list<std::string_view>;

class CoverTabWorld : public testing::WorkspaceWorld {
 public:
  CoverTabWorld();
  ~CoverTabWorld();

  // The parameter texts of every `command` sent, in order.
  Texts ParametersSent(std::string_view command) const {
    return fakes.backend.ParametersSent(command);
  }
  // The bytes of the selection file the search dialog reads.
  std::string SelectionFileBytes() const;
  bool Ran(std::string_view script) const;

  // What a person sees of the boxes: their values, and "checked"/"disabled" (or "").
  Texts Values(Ids ids) const;
  Texts States(Ids ids) const;

  // A box typed into and left; a box given a value, entered and left.
  void Leave(std::string_view id, std::string_view typed) {
    dom::TypeText(Get(id), typed);
    dom::UserBlur(Get(id));
  }
  void Visit(std::string_view id, std::string_view value) {
    Get(id).SetValue(value);
    dom::UserFocus(Get(id));
    dom::UserBlur(Get(id));
  }
  void Click(std::string_view id) { dom::UserClick(Get(id)); }
  void Choose(std::string_view id, std::string_view value) { dom::ChooseOption(Get(id), value); }

  std::unique_ptr<Page> cover;
  std::filesystem::path installation;
};

using testing::Fields;
using testing::Records;

}  // namespace cn::cover_testing
