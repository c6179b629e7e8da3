#pragma once
// A workspace on fake components with one page whose window records message boxes,
// dialogs and shell statements: what page logic needs to run outside the shell.

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/clock.h"
#include "dom/document.h"
#include "dom/element.h"
#include "fake_components.h"
#include "fake_ports.h"
#include "workspace/workspace.h"

namespace cn::testing {

DateTime At(int year, int month, int day, int hour);
// Fields of the record's current instance set by name, a list's elements joined by "#".
void SetFields(CoverNoteRecord& record,
               std::initializer_list<std::pair<std::string_view, std::string_view>> fields);

// A page holding the Cover tab elements the record-level rules touch.
std::shared_ptr<dom::Document> CoverCornerPage();

class WorkspaceWorld {
 public:
  // Lists come from the back end, not the local table.
  explicit WorkspaceWorld(std::shared_ptr<dom::Document> page = CoverCornerPage(),
                          DateTime now = At(2014, 3, 5, 12));
  WorkspaceWorld(const WorkspaceWorld&) = delete;
  WorkspaceWorld& operator=(const WorkspaceWorld&) = delete;

  dom::Element& Get(std::string_view id) const { return *page->GetElementById(id); }
  dom::Window& window() const { return *page->ParentWindow(); }

  // System codes as the back end lists them, read afresh on the next lookup.
  void SetSystemCodes(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);
  // The back end's clock ("" makes the screen fall back to its own clock).
  void SetBackEndNow(std::string text);

  FakeWorld fakes;
  FixedClock clock;
  Workspace workspace;
  std::shared_ptr<dom::Document> page;
  std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
  std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
};

// On 15 June 2026, with the system codes the named-driver rules read: the insured's name, the
// catch-all driver and the minimum driving ages.
struct DriverWorld : WorkspaceWorld {
  explicit DriverWorld(std::string_view page_html)
      : WorkspaceWorld(dom::Document::Parse(page_html), At(2026, 6, 15, 10)) {
    workspace.record.Current.EffectiveDate = "15-Jun-2026";
    SetSystemCodes({{"1030", "INSURED"}, {"1009", "99"}, {"1062", "ANY DRIVER"}, {"1098", "17"}});
  }
};

}  // namespace cn::testing
