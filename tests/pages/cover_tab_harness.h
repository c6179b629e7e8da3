#pragma once
// The Cover tab in a real shell, on fake components. A stand-in workspace page sets up the
// shell's tabs and command buttons as the screen does and opens the Cover tab; the workspace
// state belongs to the test, which prepares it before the start.

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/clock.h"
#include "dom/document.h"
#include "dom/element.h"
#include "fake_components.h"
#include "fake_ports.h"
#include "shell/host_shell.h"
#include "workspace/workspace.h"

namespace cn::cover_testing {

inline constexpr std::string_view kScreenTitleText = "Cover Note Amendment - Administrator";

// A full-length ReadAdmin reply, empty except for the named record fields.
std::string ReadAdminReply(std::initializer_list<std::pair<std::string_view, std::string_view>>
                               values);

class CoverTabHarness {
 public:
  CoverTabHarness();
  ~CoverTabHarness();

  void SetSystemCodes(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);

  // Opens the screen: the workspace page, then the Cover tab.
  void Start();

  dom::Document& page() const;
  dom::Element& element(std::string_view id) const { return *page().GetElementById(id); }

  shell::HostShell& shell() const { return *shell_; }
  bool SaveEnabled() const;
  // The commands sent with this name, by their parameters.
  std::vector<std::string> SentParameters(std::string_view command) const {
    return world.backend.ParametersSent(command);
  }

  testing::FakeWorld world;
  FixedClock clock;
  Workspace workspace;
  std::shared_ptr<testing::FakeDialogs> dialogs;

 private:
  std::shared_ptr<shell::HostShell> shell_;
};

}  // namespace cn::cover_testing
