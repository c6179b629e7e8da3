#pragma once
// A workspace on fake components with a page holding the named-driver table's
// containers, its command element and the delete link: what the named-driver table and
// the Vehicle tab need to be driven as a person drives them.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../integration/fakes.h"
#include "base/clock.h"
#include "dom/document.h"
#include "integration/components.h"
#include "workspace/workspace.h"

namespace cn::testing {

// Field rules answering from a table: a message per value shown, "" otherwise.
class FakeFieldRules {
 public:
  std::string licence_date_message;
  std::string capacity_message;
  std::string seating_message;
  std::string year_made_message;
  std::vector<std::string> asked;

  ComponentFactory<FieldRuleService> Factory();
};

// Message boxes answered from a queue (OK when it is empty), dialogs from a result.
class AnsweringDialogs : public FakeDialogs {
 public:
  int MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) override;
  std::deque<int> answers;
};

class DriverWorld {
 public:
  // `page_html` is the page the table lives on.
  explicit DriverWorld(std::string_view page_html);

  // System codes as the back end lists them.
  void SetSystemCodes(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);
  dom::Element& Find(std::string_view id) const { return *page->GetElementById(id); }

  FakeWorld fakes;
  FakeFieldRules field_rules;
  Components components;
  FixedClock clock;
  Workspace workspace;
  std::shared_ptr<dom::Document> page;
  std::shared_ptr<AnsweringDialogs> dialogs;
  std::shared_ptr<FakeShell> shell;
};

// The named-driver table's corner of the Vehicle tab.
inline constexpr std::string_view kDriverPage =
    "<html><body>"
    "<div id=divNPersonHeader></div><div id=divNPerson></div>"
    "<a id=lnkDeleteNPerson>Remove</a>"
    "<span id=kvExecuteCommand style=\"display:none\"></span>"
    "</body></html>";

// 15 June 2026, the screen's "today" in these tests.
inline constexpr int kTodayYear = 2026;

}  // namespace cn::testing
