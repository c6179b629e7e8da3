#pragma once
// Everything the screen remembers while it is open, shared by the workspace page
// and every tab page: the cover note under amendment, the flags through which the
// pages coordinate, who is working and the lookup lists fetched so far. One object,
// created with the workspace page and alive until it unloads; grouped by the part
// of the screen that owns each item.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/date.h"
#include "integration/components.h"
#include "integration/lookup_state.h"
#include "workspace/client_details.h"
#include "workspace/cover_note_record.h"
#include "workspace/shown_page.h"

namespace cn {

// Tab ids: each names one tab page and is also the message the shell posts when
// that tab is clicked.
inline constexpr std::string_view kCoverTabId = "COVCover";
inline constexpr std::string_view kVehicleTabId = "COVVeh";
inline constexpr std::string_view kNCDTabId = "COVNCD";
inline constexpr std::string_view kPremiumTabId = "COVPrem";
inline constexpr std::string_view kNewTariffPremiumTabId = "COVNPrem";
inline constexpr std::string_view kOtherPremiumTabId = "COVOPrem";

inline constexpr std::string_view kScreenTitle = "Cover Note Amendment - Administrator";

// The workspace page: which tab is shown, what a tab asked of the next one, and
// the flags that keep handlers from running into each other.
struct WorkspacePageState {
  std::string CurrentTabId;  // "" until a tab page has loaded
  std::string CurrentPremiumTabId;
  std::string PendingTabCommand;
  // The tab a save was made on: the cover note saved is read again on the Cover tab, then
  // shown on this one, where the administrator was.
  std::string TabAfterSavedRead;
  bool TabSwitchInProgress = false;
  bool ResetInProgress = false;
  bool PageFilling = false;
  bool ExtendedCoverDetailsStale = false;
  std::vector<std::string> ExtendedCoverDetails;
  std::string SaveButtonId;
  std::int32_t NamedDriverCountSeen = 1;
};

// Values read once at start-up besides the identity and the lookup lists.
struct StartupValues {
  std::string AgentTariffRegion;
  std::string NewTariffDate;
  // The system codes the tabs use, read at start-up and kept under their numbers:
  // 1011, 1025, 1026, 1031, 1030, 1062, 1034, and the minimum driving ages 1098
  // ("17" when the back end has none) and 1097 ("16" when it has none).
  std::map<std::int32_t, std::string> SystemCodes;
};

// A start-up lookup list: the same in every session, so held once for all of them
// (dom::Document::SharedList) and only read.
class StartupList {
 public:
  StartupList() = default;
  explicit StartupList(std::shared_ptr<const std::vector<std::string>> entries)
      : entries_(std::move(entries)) {}
  // A list made here, held by this session alone.
  StartupList(std::initializer_list<std::string> entries)
      : entries_(std::make_shared<const std::vector<std::string>>(entries)) {}
  const std::vector<std::string>& entries() const { return entries_ ? *entries_ : None(); }
  operator const std::vector<std::string>&() const { return entries(); }

 private:
  static const std::vector<std::string>& None() {
    static const std::vector<std::string> none;
    return none;
  }
  std::shared_ptr<const std::vector<std::string>> entries_;
};

// The drop-down lists read once at start-up for the tabs to fill themselves from.
struct StartupLists {
  StartupList MotorCoverCodeList;     // Cover tab cboMotorCoverCode
  StartupList StateList;              // Cover tab cboState
  std::string BodyTypeListText;       // Vehicle tab body selection, unsplit
  StartupList VehicleMakeList;        // Vehicle tab cboVehicleMakeCode
  StartupList OccupationList;         // named drivers' cboOccupation
  StartupList TariffRegionList;       // Premium tab cboRegion
  StartupList SecurityDeviceList;     // Vehicle tab; none in local-table mode
  StartupList NationalityList;        // Cover tab cboNationality
  StartupList InsuredOccupationList;  // Cover tab cboInsOcc
  StartupList NatureOfBusinessList;   // Cover tab cboNatBiz
  StartupList TownList;               // Cover tab cboTown
};

// The motor class lists, one per cover type, each loaded on first use and kept.
struct ClassLists {
  std::vector<std::string> PrivateClassList;     // kind 0, loaded at start-up
  std::vector<std::string> CommercialClassList;  // kind 1
  std::vector<std::string> MotorcycleClassList;  // kind 2
};

// What the record and tab transfers remember between transfers.
struct TransferState {
  ClientDetails ClientCopy;  // the client as the save will write it
  std::string ClassDescription;
  bool NRICGiven = false;
  bool IssueDateReadOnly = false;
  bool TransactionTypeDisabled = false;
  bool ClassOrCoverChanged = false;
  // What the tab page showed: its transfer takes only the boxes changed since.
  ShownPage Shown;
};

// The read of a cover note on the Cover tab.
struct ReadState {
  bool RecordShown = false;
  std::string LoadedCoverNoteNo;  // as typed, of the last successful read
  // The back end's reply to that read as it came: the save writes only what differs from
  // it, and its review lists every position that does.
  std::string AsReadReply;
  // Why the cover note read may not be amended, in the administrator's words (the status
  // bar's text); "" when it may be, or when none is read. Its premium tabs are then locked
  // and Calculate is off, as Save is.
  std::string ReadOnlyReason;
  // The cover note as the read filled it: what differs from it now is the administrator's
  // (the save's own changes, a type "O" note's zeroed premium, are not his).
  CoverNoteFields CurrentAsRead;
  std::uint64_t Reads = 0;  // reads made, whatever their outcome
  // The time of a save ("10:42") until the read that follows it tells it in the status bar.
  std::string SavedAt;
  // The next read is the screen's own (after a save, or the note chosen in the Enquiry, whose
  // unsaved changes were asked about already), not one the administrator typed.
  bool ScreenReads = false;
};

// The client block of the Cover tab.
struct ClientState {
  ClientDetails ClientAsRead;  // the client master as last read
  bool NewAddress = false;     // "chkNewAdd": the client moves to a new address
  bool ClientTypeIsCompany = false;
};

// What the administrator typed on the premium tabs, and whether the factors of
// each rating engine changed since its last computation.
struct PremiumState {
  bool FactorsChangedNewTariff = false;
  bool BasicPremiumEntered = false;
  bool LoadPercentageEntered = false;
  bool TariffPremiumEntered = false;
  bool ExcessEntered = false;
  bool PremiumChangedV10 = false;
  bool StampDutyEntered = false;
  bool FactorsChangedV10 = false;
  bool PremiumChangedNewTariff = false;
  // The last computation's status of each engine: 99 while a command is outstanding. The
  // save stops on a failure of the engine it uses, never on the other engine's.
  std::int32_t ComputeStatus = 0;
  std::int32_t ComputeStatusNewTariff = 0;
  // The premium tab's short-period box: an extension or transfer rated short period.
  bool ShortCalculationChecked = false;
  // The NCD choices of the premium tabs (code, U+FFFE, text) and the class they are for.
  std::vector<std::string> NCDList;
  std::string NCDListClassCode;
  // The premium tab's trailer box: the trailer carries no premium of its own.
  bool TrailerNPChecked = false;
};

// The cover details of the Cover tab.
struct CoverRulesState {
  // True while the transaction type "O" has put the other premium tab in place.
  bool OtherPremiumTabActive = false;
  // The new tariff applies to this cover note: its engine and its rates are used.
  bool NewTariffInUse = false;
  // The youngest age at which a named driver may drive the chosen cover type.
  std::string MinimumDrivingAge;
  // The mortgagees offered by the selection dialog, "[NONE]" first; built on first use.
  std::vector<std::string> MortgageeList;
};

// The row-table objects are made by the tab pages that show them and kept here;
// until a table exists its operations do nothing.
struct RowTableHooks {
  // Clears the extended-cover table's note that its rows need repricing.
  std::function<void()> ResetExtendedCoverTable;
};

// The two row positions the extended-cover table remembers between its pages' loads;
// -1 is none.
struct ExtCoverRowMarks {
  std::int16_t LastRowIndex = -1;
  std::int16_t HighlightedRowIndex = -1;
};

class Driver;
class ExtCover;
namespace dom {
class Element;
}  // namespace dom

// The Vehicle tab: the named-driver table it makes when it loads (the record transfer
// reads and fills it), the delete link the table shows for an editable row, and the
// unit list with the class code it was loaded for.
struct VehicleTabState {
  std::shared_ptr<Driver> DriverTable;
  std::shared_ptr<dom::Element> DeleteNPersonLink;
  std::vector<std::string> UnitList;
  std::string UnitListClassCode;
};

class Claim;

// The NCD tab: the claims table it makes when it loads, the table's delete link, and the
// previous insurers on offer ("[NONE]" first), code and name joined by U+FFFE, one per
// record.
struct ClaimsTabState {
  std::shared_ptr<Claim> ClaimTable;
  std::shared_ptr<dom::Element> AccDeleteLink;
  std::string InsurerList;
};

// The premium tab shown: the extended-cover table it makes when it loads (the record
// transfer reads and fills it).
struct PremiumTabState {
  std::shared_ptr<ExtCover> ExtCoverTable;
};

struct Workspace {
  Workspace(const Components& components, const Clock& local_clock)
      : components(components), local_clock(local_clock) {}
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // The outside components and the page's own clock.
  const Components& components;
  const Clock& local_clock;

  CoverNoteRecord record;
  WorkspacePageState page;
  UserIdentity identity;
  LookupState lookup;
  StartupValues startup;
  StartupLists lists;
  ClassLists class_lists;
  TransferState transfer;
  ReadState read;
  ClientState client;
  PremiumState premium;
  CoverRulesState cover_rules;
  RowTableHooks row_tables;
  VehicleTabState vehicle;
  ClaimsTabState claims;
  PremiumTabState premium_tab;
  ExtCoverRowMarks ext_cover_rows;
};

// "Now" as the business rules see it: the back end's clock, or the page's own
// when the back end gives no time.
DateTime SystemDateTime(const Workspace& workspace);

}  // namespace cn
