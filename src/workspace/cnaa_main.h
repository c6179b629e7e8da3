#pragma once
// The workspace page: the first page the shell loads and the only one that stays while the
// screen is open. It loads the lookup lists every tab uses, sets up the shell's tabs and
// command buttons, clears the record, hands a document chosen on the enquiry screen to the
// Cover tab and opens it. Afterwards it dispatches the shell's messages: every click on a
// command button or a tab arrives as one text in its hidden element "UIF_ID_Msg".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dom/document.h"
#include "dom/window.h"
#include "pages/page.h"
#include "workspace/workspace.h"

namespace cn {

inline constexpr std::string_view kWorkspacePageFile = "CNAAMain.htm";

// Tab numbers of ShowIncompleteData.
inline constexpr std::int16_t kIncompleteCoverTab = 0;
inline constexpr std::int16_t kIncompleteVehicleTab = 1;

// Asks for the missing data of the Cover (0) or Vehicle (1) tab with message 1210009 and
// shows that tab; any other number does nothing. The premium computation uses it when it
// cannot rate the cover note.
void ShowIncompleteData(Workspace& workspace, dom::Window& window, std::int16_t tab);

class CNAAMain final : public Page {
 public:
  CNAAMain(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // The maker the screen's page factory lists for "CNAAMain.htm".
  static std::unique_ptr<Page> Make(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // The shell's messages: "cmdReset", "cmdEnquiry", "cmdCalculate", "cmdSave", "cmdHistory"
  // or a tab id, compared as the whole text and case-sensitively; anything else is ignored.
  void UIF_ID_Msg_onpropertychange();

  void ShowIncompleteData(std::int16_t tab);

 protected:
  void DHTMLPage_Load() override;
  void DHTMLPage_Unload() override;

 private:
  // Start-up (cnaa_main.cpp, cnaa_main_lookups.cpp, cnaa_main_enquiry.cpp).
  void LoadLookupLists();
  void InsertTabs();
  void InsertCommandButtons();
  void PrepareEnquiryDocument();

  // The shell's messages (cnaa_main.cpp, cnaa_main_commands.cpp, cnaa_main_enquiry.cpp).
  void Reset();
  void ResetWorkspace();
  void ShowEnquiryDialog();
  void Calculate();
  void Save();
  void ShowHistory();
  void LeaveCurrentTab();
  void RefreshExtendedCoverDetails();

  // Save (cnaa_main_save.cpp).
  void SaveCoverNote();
  bool RecomputeBeforeSave(dom::Document& shown);
  void WriteClientWhenChanged();
  void WriteCoverNote(const std::string& record_text);
  // Reads the cover note of that number on the Cover tab, bringing the tab forward first.
  // `stay`: the cover note is then shown on the tab the administrator is on (after a save).
  void ReadOnCoverTab(const std::string& cover_note_no, bool stay = false);

  // The tab page shown in the frame "UIF_ID_UserEx"; never null.
  std::shared_ptr<dom::Document> TabPage() const;

  bool PageLoaded = false;
};

}  // namespace cn
