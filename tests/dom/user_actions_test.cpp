// What a person does on a page: focus, typing, keys, clicks, choices, and the events in order;
// and under it, binding page logic to a page, the current event, and clicks the logic raises.
#include "dom/user_actions.h"

#include <gmock/gmock.h>

#include <span>
#include <tuple>

#include "../base/failure_text.h"
#include "base/separators.h"
#include "dom/document.h"
#include "dom/events.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::string_view kPage = R"(<body>
  <span id=kvExecuteCommand style="display:none"></span>
  <input id=txtVehicleNumber><input id=txtName><input id=txtNRIC value="OLD-VALUE">
  <input id=txtMortgagee readonly value="KIVO BANK"><input id=txtLocked disabled>
  <input id=txtHidden style="display:none"><textarea id=txtNote></textarea>
  <input type=checkbox id=chkNewAdd><input type=radio name=cover id=optPrivateCover readonly>
  <input type=radio name=kind id=optPrivateKind checked>
  <input type=radio name=kind id=optCommercialKind>
  <input type=checkbox id=chkLocked disabled><span id=lbl>label</span>
  <select id=cboState>
    <option value="">(none)</option><option value=01>JOHOR</option>
    <option value=14>KUALA LUMPUR</option>
  </select>
  <button id=cmdReadCNoteNo>Read</button>
  <div id=divNPerson></div>
</body>)";

// A page whose handlers write what they saw into one log.
struct Page {
  std::shared_ptr<Document> document = Document::Parse(kPage);
  std::vector<std::string> log;

  std::shared_ptr<Element> Get(std::string_view id) const { return document->GetElementById(id); }
  // Logs "id.event" (and the key code of key events) when the event fires.
  void Watch(std::string_view id, std::initializer_list<const char*> events) {
    for (const char* event_name : events) {
      document->Bind(id, event_name, [this, entry = std::string(id) + "." + event_name] {
        const Event* event = document->ParentWindow()->CurrentEvent();
        log.push_back(event->KeyCode() != 0 ? entry + " " + std::to_string(event->KeyCode())
                                            : entry);
      });
    }
  }
  Event& CurrentEvent() const { return *document->ParentWindow()->CurrentEvent(); }
};

// ---- Focus, blur, change --------------------------------------------------------------------

TEST(UserFocus, LeavingRaisesChangeOnlyWhenTheValueDiffersThenBlurThenFocusesTheTarget) {
  Page page;
  page.Watch("txtName", {"onfocus", "onchange", "onblur"});
  page.Watch("txtNRIC", {"onfocus", "onchange", "onblur"});

  EXPECT_TRUE(UserFocus(*page.Get("txtName")) && UserFocus(*page.Get("txtName")));  // the second: nothing more
  page.Get("txtName")->SetValue("TAN");
  EXPECT_TRUE(UserFocus(*page.Get("txtNRIC")));
  page.Get("txtNRIC")->SetValue("changed");
  page.Get("txtNRIC")->SetValue("OLD-VALUE");  // back as it was: no change to report
  for (int twice = 0; twice < 2; ++twice) UserBlur(*page.Get("txtNRIC"));  // the second: no longer focused
  EXPECT_THAT(page.log, ElementsAre("txtName.onfocus", "txtName.onchange", "txtName.onblur",
                                    "txtNRIC.onfocus", "txtNRIC.onblur"));
  EXPECT_TRUE(page.document->ActiveElement()->Is("BODY"));
}

TEST(UserFocus, AFieldCheckThatSendsThePersonBackKeepsTheFocusAndStopsTheClick) {
  Page page;
  page.Watch("cmdReadCNoteNo", {"onfocus", "onclick"});
  page.document->Bind("txtNRIC", "onblur", [&] {
    page.log.push_back("txtNRIC.onblur: invalid, back");
    page.Get("txtNRIC")->Focus();
    page.Get("txtNRIC")->Select();
  });
  UserFocus(*page.Get("txtNRIC"));
  UserClick(*page.Get("cmdReadCNoteNo"));
  EXPECT_THAT(page.log, ElementsAre("txtNRIC.onblur: invalid, back"));
  EXPECT_EQ(page.document->ActiveElement(), page.Get("txtNRIC"));

  // The person types again: the selected bad value is replaced.
  page.document->Events().Unbind("txtNRIC", "onblur");
  TypeText(*page.Get("txtNRIC"), "A1");
  EXPECT_EQ(page.Get("txtNRIC")->Value(), "A1");
}

TEST(UserFocus, UnreachableElementsTakeNothing) {
  Page page;
  page.Watch("txtName", {"onblur"});
  UserFocus(*page.Get("txtName"));
  for (const char* id : {"txtLocked", "txtHidden"}) {
    page.Watch(id, {"onfocus", "onkeypress", "onclick"});
    EXPECT_FALSE(UserFocus(*page.Get(id))) << id;
    TypeText(*page.Get(id), "x");
    UserClick(*page.Get(id));
    EXPECT_EQ(page.Get(id)->Value(), "") << id;
  }
  EXPECT_THAT(page.log, IsEmpty());
  EXPECT_EQ(page.document->ActiveElement(), page.Get("txtName"));
}

// ---- Typing ---------------------------------------------------------------------------------

TEST(TypeText, CountsCharactersRaisesKeysOfReadOnlyBoxesAndRefusesWhatCannotBeTyped) {
  Page page;
  const auto name = page.Get("txtName");
  name->SetMaxLength(5);
  TypeText(*name, "Zo\xC3\xAB \xC3\x91\xC3\xBA\xC3\xB1" "ez");  // "Zoë Ñúñez"
  TypeText(*name, "x");
  EXPECT_EQ(name->Value(), "Zo\xC3\xAB \xC3\x91");

  page.Watch("txtMortgagee", {"onkeypress"});
  TypeText(*page.Get("txtMortgagee"), "ab");
  EXPECT_THAT(page.log, ElementsAre("txtMortgagee.onkeypress 97", "txtMortgagee.onkeypress 98"));
  EXPECT_EQ(page.Get("txtMortgagee")->Value(), "KIVO BANK");

  for (const char* id : {"cboState", "chkNewAdd"}) EXPECT_THROW(TypeText(*page.Get(id), "J"), RuntimeFailure) << id;
  const auto nric = page.Get("txtNRIC");
  EXPECT_THAT(FailureText([&] { TypeText(*nric, "ab\xC3"); }), HasSubstr("UTF-8"));
  EXPECT_EQ(nric->Value(), "OLD-VALUE");
}

TEST(TypeText, BehavioursFilterWhatAPersonTypes) {
  struct Case { const char *behavior, *typed, *value; };  // behaviour "" for a box without one
  const std::string address =
      "No. 5, Jln Ampang/Kg. Baru #3" + std::string(FieldSeparator) + "\xC3\x89" "cole";
  // clang-format off
  const Case cases[] = {
      {"", "any \x01thing", "any thing"}, {"Behaviors/EntryDate.htc", "05-Mar-2014", "05-Mar-2014"},
      {"Behaviors/EntryDate.htc", "05.03.2014 xk", "05032014"},
      {"./Behaviors/DateEntry.htc", "12 Dec 1980", "12Dec1980"},
      {"Behaviors/EntryNumber.htc", "-12a3.4 5", "12345"}, {"Behaviors/EntryCur.htc", "-1,234.5.6-", "-1,234.56"},
      {"Behaviors\\EntryCurSI.htc", "150,000.00", "150,000.00"},
      {"Behaviors/EntrySpace.htc", "  JOHN TAN  ", "JOHN TAN  "},
      {"Behaviors/NRIC.htc", "800101-14-5566 /x", "800101-14-5566X"},
      {"Behaviors/EntryAddress.htc", address.c_str(), "No. 5, Jln Ampang/Kg. Baru #3\xC3\x89" "cole"}};
  // clang-format on
  for (const Case& c : cases) {
    Page page;
    const auto box = page.Get("txtName");
    if (*c.behavior != '\0') box->AddBehavior(c.behavior);
    TypeText(*box, c.typed);
    EXPECT_EQ(box->Value(), c.value) << c.behavior << " typed " << c.typed;
  }
}

// ---- Keys, clicks, choices -------------------------------------------------------------------

TEST(PressKey, DownPressUpAndOnlyCharacterKeysPress) {
  Page page;
  page.Watch("txtVehicleNumber", {"onkeydown", "onkeypress", "onkeyup"});
  for (const int key : {13, 9}) PressKey(*page.Get("txtVehicleNumber"), key);
  EXPECT_THAT(page.log, ElementsAre("txtVehicleNumber.onkeydown 13",
                                    "txtVehicleNumber.onkeypress 13", "txtVehicleNumber.onkeyup 13",
                                    "txtVehicleNumber.onkeydown 9", "txtVehicleNumber.onkeyup 9"));
  EXPECT_EQ(page.Get("txtVehicleNumber")->Value(), "");

  page.log.clear();
  page.document->Bind("txtVehicleNumber", "onkeydown", [&] { page.CurrentEvent().SetKeyCode(0); });
  PressKey(*page.Get("txtVehicleNumber"), 13);
  EXPECT_THAT(page.log, ElementsAre("txtVehicleNumber.onkeyup 13"));
  EXPECT_THROW(PressKey(*page.Get("txtVehicleNumber"), 0), RuntimeFailure);
}

TEST(UserClick, FocusMovesBeforeTheClickAndLockedOptionButtonsStayAsTheyAre) {
  Page page;
  page.Watch("txtName", {"onblur"});
  page.Watch("cmdReadCNoteNo", {"onfocus", "onclick"});
  page.Watch("optPrivateCover", {"onfocus", "onclick"});
  page.document->Bind("chkNewAdd", "onclick", [&] {
    page.log.push_back(std::string("chkNewAdd.onclick ") +
                       (page.Get("chkNewAdd")->Checked() ? "checked" : "clear"));
  });
  UserFocus(*page.Get("txtName"));
  for (const char* id : {"cmdReadCNoteNo", "chkNewAdd", "optPrivateCover"}) UserClick(*page.Get(id));
  EXPECT_THAT(page.log,
              ElementsAre("txtName.onblur", "cmdReadCNoteNo.onfocus", "cmdReadCNoteNo.onclick",
                          "chkNewAdd.onclick checked", "optPrivateCover.onfocus"));
  EXPECT_FALSE(page.Get("optPrivateCover")->Checked());
}

TEST(ChooseOption, ChangeOnlyWhenTheValueChangesAndNotAgainOnLeaving) {
  Page page;
  const auto state = page.Get("cboState");
  page.Watch("cboState", {"onfocus", "onchange", "onblur"});
  for (const char* value : {"14", "14", "01"}) ChooseOption(*state, value);
  UserBlur(*state);
  EXPECT_THAT(page.log, ElementsAre("cboState.onfocus", "cboState.onchange", "cboState.onchange",
                                    "cboState.onblur"));
  EXPECT_EQ(state->Value(), "01");

  EXPECT_THAT(FailureText([&] { ChooseOption(*state, "99"); }), HasSubstr("'99'"));
  EXPECT_EQ(state->Value(), "01");
  EXPECT_THROW(ChooseOption(*page.Get("txtName"), "01"), RuntimeFailure);
}

// ---- Binding page logic, the current event, clicks as the page logic raises them ------------

TEST(EventTable, RefusesNamesThatWouldNeverFireAndMissingHandlers) {
  EventTable table;
  for (const char* name : {"click", "", "on"})
    EXPECT_THROW(table.Bind("txtName", name, [] {}), RuntimeFailure) << name;
  EXPECT_THROW(table.Bind("txtName", "onclick", EventHandler()), RuntimeFailure);
  EXPECT_TRUE(table.empty());
}

TEST(FireEvent, RunsTheBoundHandlerWithTheElementAsSource) {
  const auto page = Page().document;
  const auto window = page->ParentWindow();
  const auto name = page->GetElementById("txtName");
  std::string seen;
  page->Bind("txtName", "onblur", [&] {
    const Event* event = window->CurrentEvent();
    ASSERT_NE(event, nullptr);
    seen = event->Type() + " on " + event->SrcElement()->Id();
  });
  EXPECT_TRUE(name->FireEvent("onBlur"));
  EXPECT_EQ(seen, "blur on txtName");
  EXPECT_EQ(window->CurrentEvent(), nullptr);

  EXPECT_FALSE(name->FireEvent("onchange"));
  EXPECT_FALSE(page->CreateElement("input")->FireEvent("onblur"));  // no id, no handler
  EXPECT_THROW(name->FireEvent("blur"), RuntimeFailure);
}

TEST(FireEvent, NestedEventsGiveBackTheOuterEventEvenWhenAHandlerFails) {
  const auto page = Page().document;
  const auto window = page->ParentWindow();
  std::vector<std::string> log;
  const auto source = [&] {
    const Event* event = window->CurrentEvent();
    return event == nullptr ? std::string("none")
                            : event->Type() + ":" + event->SrcElement()->Id();
  };
  // The failure as the caller catches it, number, text and source.
  const auto fire_nric = [&] {
    try {
      page->GetElementById("txtNRIC")->FireEvent("onchange");
    } catch (const RuntimeFailure& failure) {
      return "caught " + failure.Text();
    }
    return std::string("swallowed");
  };
  page->Bind("txtNRIC", "onchange", [&] {
    log.push_back("inner sees " + source());
    throw RuntimeFailure(2310003, "Invalid IC Number", "txtNRIC_onchange");
  });
  page->Bind("lbl", "onclick", [&] { log.push_back("inner sees " + source()); });
  page->Bind("txtName", "onblur", [&] {
    log.push_back("outer sees " + source());
    page->GetElementById("lbl")->Click();
    log.push_back("outer sees " + source());
    log.push_back(fire_nric());
    log.push_back("outer sees " + source());
  });
  page->GetElementById("txtName")->FireEvent("onblur");
  EXPECT_THAT(log, ElementsAre("outer sees blur:txtName", "inner sees click:lbl",
                               "outer sees blur:txtName", "inner sees change:txtNRIC",
                               "caught 2310003: Invalid IC Number [txtNRIC_onchange]",
                               "outer sees blur:txtName"));
  EXPECT_EQ(window->CurrentEvent(), nullptr);
  // Uncaught, the handler's failure reaches the caller as it was thrown.
  EXPECT_EQ(fire_nric(), "caught 2310003: Invalid IC Number [txtNRIC_onchange]");
  EXPECT_EQ(window->CurrentEvent(), nullptr);
}

TEST(FireEvent, AHandlerMayUnbindItselfAndCloseItsPage) {
  auto page = Page().document;
  const auto name = page->GetElementById("txtName");
  int runs = 0;
  page->Bind("txtName", "onblur", [&page, &runs, captured = std::string("still here")] {
    page->Events().Unbind("txtName", "onblur");
    page.reset();  // the shell replaced the tab page
    runs += captured == "still here" ? 1 : 100;
  });
  EXPECT_TRUE(name->FireEvent("onblur"));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(name->OwnerDocument(), nullptr);
  EXPECT_FALSE(name->FireEvent("onblur"));
}

// A page's logic that goes takes its handlers with it; handlers bound by others stay.
TEST(FireEvent, AnOwnerTakesBackOnlyItsOwnHandlers) {
  const auto page = Page().document;
  const int logic = 0, other = 0;
  std::string ran;
  for (const auto& [id, event, owner] : {std::tuple{"txtName", "onblur", &logic}, {"txtName", "onfocus", &logic},
                                         {"txtNRIC", "onblur", &other}}) {
    page->Bind(id, event, [&ran, id] { ran += id; }, owner);
  }
  page->Events().UnbindOwner(&logic);
  for (const char* event : {"onblur", "onfocus"}) page->GetElementById("txtName")->FireEvent(event);
  page->GetElementById("txtNRIC")->FireEvent("onblur");
  EXPECT_EQ(ran, "txtNRIC");
}

// A page kind's constant table of handlers, bound with each page: the latest binding of an
// element's event holds, whether bound alone or by a table.
TEST(EventTable, TablesOfHandlersRunOnTheirPageAndGiveWayToLaterBindings) {
  struct Logic {
    std::string ran;
  } first, second;
  static constexpr auto kName = [](void* logic) { static_cast<Logic*>(logic)->ran += "name "; };
  static constexpr auto kNric = [](void* logic) { static_cast<Logic*>(logic)->ran += "nric "; };
  static constexpr HandlerRow kRows[] = {
      {"txtNRIC", "onblur", kNric}, {"txtName", "onblur", kName}, {"txtName", "onfocus", kName}};
  const auto page = Page().document;
  const auto fire = [&](std::string_view id, const char* event) {
    return page->GetElementById(id)->FireEvent(event);
  };
  page->Bind("txtNRIC", "onblur", [&] { first.ran += "alone "; });
  page->Events().BindRows(kRows, &first, &first);
  page->Events().BindRows(std::span(kRows).first(1), &second, &second);
  EXPECT_TRUE(fire("txtName", "onBlur") && fire("txtNRIC", "onblur"));
  EXPECT_EQ(first.ran + "| " + second.ran, "name | nric ");
  std::vector<std::string> bound;
  page->Events().ForEachBinding([&](std::string_view id, std::string_view event) {
    bound.push_back(std::string(id) + "." + std::string(event));
  });
  EXPECT_THAT(bound, ElementsAre("txtNRIC.onblur", "txtName.onblur", "txtName.onfocus"));

  page->Bind("txtName", "onblur", [&] { first.ran += "alone "; });
  page->Events().Unbind("txtName", "onfocus");
  page->Events().UnbindOwner(&second);
  EXPECT_TRUE(fire("txtName", "onblur") && fire("txtNRIC", "onblur"));
  EXPECT_FALSE(fire("txtName", "onfocus"));
  EXPECT_EQ(first.ran, "name alone nric ");
  static constexpr HandlerRow kUpper[] = {{"txtName", "onBlur", kName}};
  static constexpr HandlerRow kUnsorted[] = {{"txtName", "onblur", kName},
                                             {"txtNRIC", "onblur", kNric}};
  for (const std::span<const HandlerRow> rows :
       {std::span<const HandlerRow>(kUpper), std::span<const HandlerRow>(kUnsorted)}) {
    EXPECT_THROW(page->Events().BindRows(rows, &first, &first), RuntimeFailure);
  }
}

TEST(Click, CheckBoxesAndRadioButtonsChangeBeforeTheHandlerSeesThemDisabledOnesIgnoreIt) {
  const Page p;
  const auto page = p.document;
  const auto check = p.Get("chkNewAdd"), private_cover = p.Get("optPrivateKind");
  const auto commercial = p.Get("optCommercialKind"), locked = p.Get("chkLocked");
  std::vector<std::string> seen;
  page->Bind("chkNewAdd", "onclick",
             [&] { seen.push_back(check->Checked() ? "checked" : "clear"); });
  page->Bind("optCommercialKind", "onclick", [&] {
    seen.push_back(std::string("commercial ") + (commercial->Checked() ? "on" : "off") +
                   ", private " + (private_cover->Checked() ? "on" : "off"));
  });
  page->Bind("chkLocked", "onclick", [&] { seen.push_back("locked"); });
  for (const auto& element : {check, check, commercial, commercial, locked}) element->Click();
  EXPECT_THAT(seen, ElementsAre("checked", "clear", "commercial on, private off",
                                "commercial on, private off"));
  EXPECT_FALSE(locked->Checked());
}

}  // namespace
}  // namespace cn::dom
