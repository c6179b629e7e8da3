// The Cover tab: preparing its elements when it loads, and locking them afterwards. The
// administrator amends premiums, not the cover or the client, so everything but the cover
// note number and its read button ends up locked.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/separators.h"
#include "base/text.h"
#include "dom/style.h"
#include "integration/fill_select.h"
#include "integration/locking.h"
#include "integration/shell_bridge.h"
#include "pages/cover/cnaa_cov.h"
#include "pages/cover/cover_lock.h"

namespace cn {

namespace {

// Identifiers and numbers typed in capitals whatever the keyboard does.
constexpr std::array kUpperCaseIds = {
    "txtCoverNoteNumber", "txtVehicleNumber",  "txtTrailerNumber",        "txtClientCode",
    "txtName",            "txtAddress",        "txtAddress2",             "txtAddress3",
    "txtAddress4",        "txtTown",           "txtOldNRIC",              "txtOldPolicy",
    "txtDrivingLicenseNumber", "txtDrivingLicenseClass", "txtBusinessRegistration",
    "txtMortgagee",       "txtEmpName",
};

struct BehaviourGroup {
  std::string_view url;
  std::span<const char* const> ids;
};
constexpr std::array kDateIds = {"txtDOB", "txtDateOfIssue", "txtEffectiveDate",
                                 "txtExpiryDate"};
constexpr std::array kNumberIds = {"txtPostal"};
constexpr std::array kAddressIds = {"txtAddress", "txtAddress2", "txtAddress3", "txtAddress4"};
constexpr std::array kSpaceIds = {"txtBizTel",        "txtDrivingLicenseClass",
                                  "txtDrivingLicenseNumber", "txtEmail",
                                  "txtHouseTel",      "txtMobileTel",
                                  "txtName",          "txtTown",
                                  "txtTrailerNumber", "txtVehicleNumber"};
constexpr std::array kIdentityIds = {"txtBusinessRegistration", "txtNRIC", "txtOldNRIC"};
// The licence box takes its behaviour from the transaction type instead.
const BehaviourGroup kBehaviours[] = {
    {"Behaviors/EntryDate.htc", kDateIds},
    {"Behaviors/EntryNumber.htc", kNumberIds},
    {"Behaviors/EntryAddress.htc", kAddressIds},
    {"Behaviors/EntrySpace.htc", kSpaceIds},
    {"Behaviors/NRIC.htc", kIdentityIds},
};

struct MaxLength {
  std::string_view id;
  int characters;
};
// What the client master and the cover note columns hold.
constexpr MaxLength kMaxLengths[] = {
    {"txtName", 50},
    {"txtEmpName", 50},
    {"txtAddress", 25},
    {"txtAddress2", 25},
    {"txtAddress3", 25},
    {"txtAddress4", 25},
    {"txtOldPolicy", 10},
    {"txtBusinessRegistration", 15},
    {"txtBizTel", 16},
    {"txtHouseTel", 16},
    {"txtMobileTel", 16},
    {"txtEmail", 45},
    {"txtVehicleNumber", 16},
    {"txtTrailerNumber", 16},
};

constexpr std::array kHandCursorIds = {"cmdReadCNoteNo", "cmdSelectMortgagee",
                                       "cmdSearchClientCode", "cmdReadClientCode"};

struct Choice {
  std::string_view value;
  std::string_view caption;
};
constexpr Choice kTransactionTypes[] = {
    {"N", "NEW"},
    {"B", "NEW INSURED (EXISTING VEHICLE)"},
    {"R", "RENEWAL"},
    {"T", "TRANSFER"},
    {"E", "EXTENSION"},
    {"D", "ENDORSEMENT"},
    {"S", "ROAD TAX PURPOSES"},
    {"F", "TRANSFER OF ROAD TAX PURPOSES"},
    {"M", "MASTER/FLEET (ROAD TAX)"},
    {"I", "MASTER/FLEET(INCLUSION)"},
};
constexpr Choice kCoverNoteStatuses[] = {
    {"I", "ISSUED"},
    {"C", "CANCELLED"},
    {"M", "MISSING"},
    {"U", "UNUSED"},
    {"R", "REFERRED RISK"},
};
constexpr Choice kMaritalStatuses[] = {
    {"S", "Single"},
    {"M", "Married"},
    {"D", "Divorced"},
};
constexpr Choice kGarages[] = {
    {"03", "Within Residence"},
    {"02", "Outside Residence"},
    {"11", "Parking Lot (Open)"},
    {"12", "Parking Lot (Covered)"},
    {"01", "Public Parking"},
};
constexpr Choice kGenders[] = {
    {"M", "MALE"},
    {"F", "FEMALE"},
};

struct FixedList {
  std::string_view select_id;
  std::span<const Choice> choices;
};
const FixedList kFixedLists[] = {
    {"cboTransactionType", kTransactionTypes},
    {"cboCNStatus", kCoverNoteStatuses},
    {"cboMaritalStat", kMaritalStatuses},
    {"cboVehGar", kGarages},
    {"cboGender", kGenders},
};

// The choices as list records of value and caption, the form the fill routine takes.
std::vector<std::string> ChoiceRecords(std::span<const Choice> choices) {
  std::vector<std::string> records;
  records.reserve(choices.size());
  for (const Choice& choice : choices) {
    records.push_back(std::string(choice.value) + std::string(FieldSeparator) +
                      std::string(choice.caption));
  }
  return records;
}

struct LookupList {
  std::string_view select_id;
  StartupList StartupLists::*list;
  // Optional choices start with an empty option.
  bool empty_first;
};
constexpr LookupList kLookupLists[] = {
    {"cboState", &StartupLists::StateList, false},
    {"cboMotorCoverCode", &StartupLists::MotorCoverCodeList, false},
    {"cboNationality", &StartupLists::NationalityList, true},
    {"cboNatBiz", &StartupLists::NatureOfBusinessList, true},
    {"cboInsOcc", &StartupLists::InsuredOccupationList, true},
    {"cboTown", &StartupLists::TownList, true},
};

// Sets a workspace flag for a scope and clears it however the scope ends, so that a
// failure halfway through the load leaves no page half-marked as filling.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

constexpr std::string_view kReadCoverNoteCommand = "ReadCoverNote";

}  // namespace

void CNAACov::DHTMLPage_Load() {
  Workspace& ws = workspace();
  ws.page.CurrentTabId = kCoverTabId;
  {
    FlagScope loading(loading_);
    EnableCmdButton(window(), "cmdCalculate", false);
    {
      FlagScope filling(ws.page.PageFilling);
      SetUpCoverTab();
      cboTransactionType_onchange();
      ShowRecordOnCoverTab();
    }

    // A read asked for before this tab was shown (the enquiry, or the hand-over at
    // start-up). Any other command left for this tab is stale by now.
    const std::vector<std::string> command = Split(ws.page.PendingTabCommand, ";");
    ws.page.PendingTabCommand.clear();
    if (command.size() >= 3 && command[0] == kCoverTabId &&
        command[1] == kReadCoverNoteCommand) {
      Element("txtCoverNoteNumber").SetValue(command[2]);
      // Through the button, so that a failed read is reported and the tab still locks.
      Element("cmdReadCNoteNo").Click();
    }
  }
  LockCoverTab();
  Element("txtCoverNoteNumber").Focus();
  // A cover note read again after a save is shown on the tab it was saved from.
  if (const std::string back = std::exchange(ws.page.TabAfterSavedRead, {}); !back.empty()) {
    TabFocus(window(), back);
  }
}

void CNAACov::SetUpCoverTab() {
  for (const char* id : kUpperCaseIds) {
    Element(id).SetStyle(dom::StyleName::kTextTransform, "uppercase");
  }
  for (const BehaviourGroup& group : kBehaviours) {
    for (const char* id : group.ids) Element(id).AddBehavior(group.url);
  }
  LockInputKeepEnabled(Element("txtMortgagee"));
  for (const MaxLength& limit : kMaxLengths) Element(limit.id).SetMaxLength(limit.characters);
  // Town and state follow the postcode; the administrator never picks them.
  Element("txtTown").SetStyle(dom::StyleName::kVisibility, "hidden");
  Element("cboState").SetStyle(dom::StyleName::kVisibility, "hidden");
  for (const char* id : kHandCursorIds) Element(id).SetStyle(dom::StyleName::kCursor, "hand");

  for (const FixedList& fixed : kFixedLists) {
    FillSelect(document().GetElementById(fixed.select_id), ChoiceRecords(fixed.choices), 0, 1,
               true, false);
  }
  for (const LookupList& lookup : kLookupLists) {
    std::vector<std::string> records;
    if (lookup.empty_first) records.emplace_back();
    const std::vector<std::string>& list = workspace().lists.*lookup.list;
    records.insert(records.end(), list.begin(), list.end());
    FillSelect(document().GetElementById(lookup.select_id), records, 0, 1, true, false);
  }
}

void CNAACov::LockCoverTab() { LockCoverTabPage(document()); }

}  // namespace cn
