#pragma once
// The Cover tab page with its handlers bound, on fake components: a back end answering from
// a table, a message service, input checks and a settings store that record what they were
// asked, a dialog host that records every box and dialog, and a shell that records its
// script statements. The tab is not locked, so the tests act on it as a person would.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "integration/fakes.h"
#include "base/clock.h"
#include "dom/document.h"
#include "dom/element.h"
#include "pages/page.h"
#include "workspace/workspace.h"

namespace cn::cover_testing {

class CoverTabWorld {
 public:
  CoverTabWorld();
  ~CoverTabWorld();

  dom::Element& Get(std::string_view id) const { return *page->GetElementById(id); }

  // System codes as the back end lists them: {code, value} pairs.
  void SetSystemCodes(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);
  // The parameter texts of every `command` sent, in order.
  std::vector<std::string> ParametersSent(std::string_view command) const;
  // The bytes of the selection file the search dialog reads.
  std::string SelectionFileBytes() const;

  testing::FakeWorld fakes;
  FixedClock clock;
  Workspace workspace;
  std::shared_ptr<testing::FakeDialogs> dialogs;
  std::shared_ptr<testing::FakeShell> shell;
  std::shared_ptr<dom::Document> page;
  std::unique_ptr<Page> cover;
  std::filesystem::path installation;
};

// Fields joined by U+FFFE, records by U+FFFF.
using testing::Fields;
using testing::Records;

}  // namespace cn::cover_testing
