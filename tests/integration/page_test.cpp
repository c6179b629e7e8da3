// Routines that work on a page: the shell bridge, drop-down lists, locking, input
// checks, postcodes, NRIC characters and the client choice.
#include <gtest/gtest.h>

#include <memory>

#include "base/separators.h"
#include "base/text.h"
#include "dom/document.h"
#include "fake_components.h"
#include "fake_ports.h"
#include "integration/choose_client.h"
#include "integration/fill_select.h"
#include "integration/input_checks.h"
#include "integration/locking.h"
#include "integration/nric_characters.h"
#include "integration/postcode.h"
#include "integration/shell_bridge.h"

namespace cn::testing {
namespace {

using List = std::vector<std::string>;

class PageTest : public ::testing::Test {
 protected:
  PageTest() {
    window_.SetScriptHost(shell_);
    window_.SetDialogHost(dialogs_);
  }

  dom::Element& Input(std::string_view id) { return *document_->GetElementById(id); }
  // The boxes shown since the last call.
  std::vector<ShownBox> TakeBoxes() { return std::exchange(dialogs_->boxes, {}); }

  std::shared_ptr<dom::Document> document_ = dom::Document::Parse(
      "<html><body><input id=txtAmount value='12'><input id=txtYearMade value='2020'>"
      "<input id=txtLocked tabindex=5>"
      "<select id=cboCover><option value=OLD>Old entry</option></select></body></html>");
  dom::Window& window_ = *document_->ParentWindow();
  std::shared_ptr<FakeShell> shell_ = std::make_shared<FakeShell>();
  std::shared_ptr<FakeDialogs> dialogs_ = std::make_shared<FakeDialogs>();
  FakeWorld world_;
};

// The warning boxes (exclamation icon, OK) a routine is expected to show.
std::vector<ShownBox> Warnings(const List& prompts, const std::string& title) {
  std::vector<ShownBox> boxes;
  for (const std::string& prompt : prompts) boxes.push_back({prompt, 48, title});
  return boxes;
}

TEST_F(PageTest, CookiesAreMatchedByExactNameAndAlwaysDeleted) {
  // A longer name ending in the same letters; a single pair, no "; "; only up to the next "=".
  const std::pair<List, const char*> cases[] = {
      {{"xCNote=5"}, ""}, {{"CNote=2"}, "2"}, {{"CNote=a=b"}, "a"}, {{"CNoteX=1", "CNote=0", "Other=3"}, "0"},
      {{}, ""}};
  for (const auto& [cookies, expected] : cases) {
    SCOPED_TRACE(expected);
    const auto page = dom::Document::CreateEmpty();
    for (const std::string& cookie : cookies) page->SetCookie(cookie);
    page->ParentWindow()->SetScriptHost(shell_);
    shell_->scripts.clear();
    EXPECT_EQ(GetCookie(*page->ParentWindow(), "CNote"), expected);
    EXPECT_EQ(shell_->scripts, List{"DelCookie('CNote')"});
  }
}

TEST_F(PageTest, FillSelectBuildsOneOptionPerEntry) {
  const List list = {Fields({"01", "Comprehensive"}), Fields({"02", "Third Party"})};
  const auto select = document_->GetElementById("cboCover");
  const auto options = [&] {
    List shown;
    for (const auto& option : select->Options().ToVector())
      shown.push_back(option->Value() + "|" + option->Text());
    return shown;
  };
  const std::string whole1 = list[0] + "|" + list[0], whole2 = list[1] + "|" + list[1];
  const struct { int value_field, text_field; bool clear_first, show_code; List expected; } cases[] = {
      {0, 1, true, false, {"01|Comprehensive", "02|Third Party"}},
      {0, 1, true, true, {"01|01 - Comprehensive", "02|02 - Third Party"}},
      {1, 0, true, false, {"Comprehensive|01", "Third Party|02"}},
      {-1, 1, true, true, {whole1, whole2}}, {0, -1, true, false, {whole1, whole2}},
      {0, 1, false, false, {"OLD|Old entry", "01|Comprehensive", "02|Third Party"}}};
  for (const auto& c : cases) {
    select->SetInnerHtml("<option value=OLD>Old entry</option>");
    EXPECT_TRUE(FillSelect(select, list, c.value_field, c.text_field, c.clear_first, c.show_code));
    EXPECT_EQ(options(), c.expected);
  }
  EXPECT_FALSE(FillSelect(select, {}, 0, 1, true, false));
  EXPECT_EQ(options().size(), 3u);  // untouched
  EXPECT_FALSE(FillSelect(nullptr, list, 0, 1, true, false));
}

// Each routine's property and style changes, in the order they were made.
TEST_F(PageTest, LockingRoutinesSetTheirPropertiesInOrder) {
  const std::pair<void (*)(dom::Element&), std::string> cases[] = {
      {LockInput, "readOnly=true background-color=buttonface tabIndex=-1 disabled=true"},
      {UnlockInput, "readOnly=false background-color= tabIndex=1 disabled=false"},
      {LockInputKeepEnabled, "readOnly=true background-color=buttonface tabIndex=-1"},
      {LockInputKeepTab, "readOnly=true background-color=buttonface disabled=true"},
      {UnlockInputKeepTab, "readOnly=false background-color= disabled=false"}};
  document_->SetRecording(true);
  for (const auto& [routine, expected] : cases) {
    document_->TakeMutations();
    routine(Input("txtLocked"));
    List changes;
    for (const dom::Mutation& m : document_->TakeMutations())
      if (m.kind == dom::MutationKind::kProperty || m.kind == dom::MutationKind::kStyle)
        changes.push_back(m.name + "=" + m.value);
    EXPECT_EQ(Join(changes, " "), expected);
  }
}

TEST_F(PageTest, ARejectedInputIsRewrittenSelectedAndExplainedAWrongFormOnlyExplained) {
  world_.input_checks.amount = {{"Amount must be numeric", "Invalid Amount", false}, "12.00"};
  dom::Element& input = Input("txtAmount");
  EXPECT_FALSE(CheckAmountInput(world_.components, input));
  EXPECT_EQ(input.Value() + (input.AllTextSelected() ? " selected" : ""), "12.00 selected");
  EXPECT_EQ(TakeBoxes(), Warnings({"Amount must be numeric"}, "Invalid Amount"));
  EXPECT_EQ(world_.input_checks.asked, List{"CheckAmountText 12"});

  input.ClearTextSelection();
  world_.input_checks.percentage = {{"", "", true}, "12.50"};
  EXPECT_TRUE(CheckPercentageInput(world_.components, input));
  EXPECT_EQ(input.Value() + (input.AllTextSelected() ? " selected" : ""), "12.50");
  EXPECT_EQ(TakeBoxes(), Warnings({}, ""));
  // A number typed in the wrong form is explained without selecting.
  world_.input_checks.number = {{"Enter the number without spaces", "Invalid Format", true}, {}};
  EXPECT_TRUE(CheckNumberInput(world_.components, input));
  EXPECT_FALSE(input.AllTextSelected());
  world_.input_checks.number = {{"", "", false}, {}};
  EXPECT_FALSE(CheckNumberInput(world_.components, input));
  EXPECT_EQ(TakeBoxes(), Warnings({"Enter the number without spaces"}, "Invalid Format"));
}

TEST_F(PageTest, YearMadeMustLieAfter1900AndNotInTheFuture) {
  const FixedClock clock({*Date::FromYmd(2026, 3, 5), Time()});
  const std::string range = "Year Made must be more than 1900 and less or equal to 2026";
  // clang-format off
  const struct { const char* typed; bool component_accepts, expected; List prompts; } cases[] = {
      {"2026", true, true, {}}, {"1901", true, true, {}}, {"1900", true, false, {range}},
      {"2027", true, false, {range}}, {"1999", false, false, {"Bad year"}},
      {"1850", false, false, {"Bad year", range}}};
  // clang-format on
  dom::Element& input = Input("txtYearMade");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    world_.input_checks.year_made = {{"Bad year", "Invalid Year", c.component_accepts}, {}};
    input.SetValue(c.typed);
    input.ClearTextSelection();
    EXPECT_EQ(ValidateYearMade(world_.components, clock, input), c.expected);
    EXPECT_EQ(TakeBoxes(), Warnings(c.prompts, "Invalid Year"));
    EXPECT_EQ(input.AllTextSelected(), !c.expected);
  }
  world_.input_checks.year_made = {{"Bad year", "Invalid Year", false}, {}};
  input.SetValue("19x9");
  EXPECT_THROW(ValidateYearMade(world_.components, clock, input), RuntimeFailure);
}

TEST_F(PageTest, PostcodesAreCheckedThenLookedUp) {
  world_.backend.Answer("KivoInsurance.Find.FindPostCodeDetails", "50000", Fields({"Kuala Lumpur", "14"}));
  const struct { std::string postcode; bool component_accepts, expected; List prompts; std::string town_and_state; }
  cases[] = {
      {"", false, true, {}, "old town/old state"},
      {"5000", true, false, {"Invalid postcode"}, "old town/old state"},
      {"00000", true, false, {"Invalid postcode"}, "old town/old state"},
      {"ABCDE", false, false, {"Postcode must be numeric"}, "old town/old state"},
      {"50000", true, true, {}, "Kuala Lumpur/14"},
      {"60000", true, true, {}, "old town/old state"}};  // the last: nothing found, kept
  for (const auto& c : cases) {
    SCOPED_TRACE(c.postcode);
    const std::size_t sent_before = world_.backend.sent().size();
    world_.input_checks.postcode = {{"Postcode must be numeric", "Postcode", c.component_accepts}, {}};
    std::string town = "old town", state = "old state";
    EXPECT_EQ(ValidatePostcode(world_.components, window_, c.postcode, town, state), c.expected);
    EXPECT_EQ(TakeBoxes(), Warnings(c.prompts, "Invalid Data"));
    EXPECT_EQ(town + "/" + state, c.town_and_state);
    const bool looked_up = c.expected && !c.postcode.empty();
    EXPECT_EQ(world_.backend.sent().size() - sent_before, looked_up ? 1u : 0u);
  }
}

TEST_F(PageTest, InvalidNRICCharactersAreListedInTheOrderTheyOccur) {
  world_.backend.Answer("KivoInsurance.Find.Browse", "2", Records({Fields({"1060", "*;,;#"})}));
  LookupState state;
  state.UseLocalTable = "0";
  // The last: "," in the setting stands for ";".
  // clang-format off
  const std::pair<const char*, List> cases[] = {
      {"800111-01-1123", {}}, {"80;01*11", {";, * character(s) invalid for NRIC"}},
      {"*8;0*", {"*, ;, * character(s) invalid for NRIC"}}, {"80#", {"# character(s) invalid for NRIC"}},
      {"80,01", {}}};
  // clang-format on
  for (const auto& [number, prompts] : cases) {
    SCOPED_TRACE(number);
    EXPECT_EQ(CheckNRICCharacters(state, world_.components, window_, number), !prompts.empty());
    EXPECT_EQ(TakeBoxes(), Warnings(prompts, "Invalid Data"));
  }
  EXPECT_EQ(world_.backend.sent().size(), 1u);
}

TEST_F(PageTest, ChooseClientShowsTheDisplayColumnsAndReturnsTheWholeRecord) {
  const std::string tan =
      Fields({"C01", "Tan Ah Kow", "2", "3", "4", "5", "6", "7", "8", "  Kuala Lumpur ", "10", "11", "12", "13"});
  const std::string lim = Fields({"C02", "Lim", "b", "c", "d", "e", "f", "g", "h", "KL", "k", "l", "m"});
  std::string records = Records({tan, lim});
  const UserIdentity identity{"ADMIN1", "A", "AG01"};
  dialogs_->dialog_result = " C02 ";
  EXPECT_EQ(ChooseClient(*document_, identity, records), lim);
  const std::string display =
      Records({Fields({"C01", "Tan Ah Kow", "2", "3", "4", "Kuala Lumpur", "10", "11", "12"}),
               Fields({"C02", "Lim", "b", "c", "d", "KL", "k", "l", "m"})});
  EXPECT_EQ(records, display);
  ASSERT_EQ(dialogs_->dialogs.size(), 1u);
  EXPECT_EQ(dialogs_->dialogs[0].url + " " + dialogs_->dialogs[0].argument,
            "dlgEnq.htm " + Join({"Client Enquiry", "AG01", "ADMIN1", display}, DialogArgSeparator));
  records = Records({tan, lim});
  dialogs_->dialog_result = "";  // cancelled: nothing chosen, nothing said
  EXPECT_EQ(ChooseClient(*document_, identity, records), "");
  EXPECT_TRUE(TakeBoxes().empty());
  dialogs_->dialog_result = "C99";  // not in the list: a warning
  EXPECT_EQ(ChooseClient(*document_, identity, records), "");
  const auto shown = TakeBoxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(std::to_string(shown[0].buttons_and_icon) + shown[0].title, "48");
}

}  // namespace
}  // namespace cn::testing
