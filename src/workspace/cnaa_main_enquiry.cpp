// Opening a cover note found by enquiry: the separate enquiry screen's hand-over through
// cookies, and the enquiry dialog of the command bar.

#include <string>
#include <vector>

#include "base/separators.h"
#include "base/text.h"
#include "integration/shell_bridge.h"
#include "workspace/cnaa_main.h"
#include "workspace/unsaved_changes.h"

namespace cn {
namespace {

constexpr std::string_view kEnquiryDialog = "dlgEnq.htm";
// Passed to the dialog exactly so, stray apostrophe included.
constexpr std::string_view kEnquiryDialogFeatures =
    "status=no; dialogwidth=700px; dialogheight=380px; help: no; resizable: no; center: yes';";

constexpr std::string_view kPendingSeparator = ";";

}  // namespace

// The enquiry screen leaves the document it opened in cookies; the Cover tab gets it as a
// pending command. CNote "0" and "2" mark a document to read ("R"); "2" also marks it as
// coming from the enquiry screen's own list ("True").
void CNAAMain::PrepareEnquiryDocument() {
  dom::Window& shell = window();
  const std::string cnote = GetCookie(shell, "CNote");
  std::string number = GetCookie(shell, "CoverNoteNumber");
  if (number.empty()) number = GetCookie(shell, "PolicyNumber");
  const std::string vehicle_number = GetCookie(shell, "VehicleNumber");

  std::vector<std::string> command(6);
  if (cnote == "0") {
    command[2] = "R";
  } else if (cnote == "2") {
    command[2] = "R";
    command[5] = "True";
  }
  if (number.empty() || cnote.empty()) return;
  command[0] = kCoverTabId;
  command[1] = "ReadDocumentFromEnquiryScreen";
  command[3] = number;
  command[4] = vehicle_number;
  workspace().page.PendingTabCommand = Join(command, kPendingSeparator);
}

void CNAAMain::ShowEnquiryDialog() {
  const UserIdentity& identity = workspace().identity;
  const std::string argument = "CoverNote Enquiry" + std::string(DialogArgSeparator) +
                               identity.CurrentAgentCode + std::string(DialogArgSeparator) +
                               identity.CurrentUserId;
  const std::string chosen =
      window().ShowModalDialog(kEnquiryDialog, argument, kEnquiryDialogFeatures);
  if (chosen.empty()) return;
  if (!MayDiscardChanges(workspace(), window(), TabPage().get(), chosen, "Enquiry")) return;

  ReadOnCoverTab(chosen);
}

}  // namespace cn
