// Binding page logic to a page, the current event, clicks on check boxes and radio buttons.
#include "dom/events.h"

#include <gmock/gmock.h>

#include "base/runtime_failure.h"
#include "dom/document.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kPage = R"(<body>
  <input id=txtName><input id=txtNRIC><span id=lbl>label</span>
  <input type=checkbox id=chkNewAdd>
  <input type=radio name=cover id=optPrivateCover checked>
  <input type=radio name=cover id=optCommercialCover>
  <input type=checkbox id=chkLocked disabled>
</body>)";

TEST(EventTable, RefusesNamesThatWouldNeverFireAndMissingHandlers) {
  EventTable table;
  for (const char* name : {"click", "", "on"}) {
    EXPECT_THROW(table.Bind("txtName", name, [] {}), RuntimeFailure) << name;
  }
  EXPECT_THROW(table.Bind("txtName", "onclick", EventHandler()), RuntimeFailure);
  EXPECT_TRUE(table.empty());
}

TEST(FireEvent, RunsTheBoundHandlerWithTheElementAsSource) {
  const auto page = Document::Parse(kPage);
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
  const auto page = Document::Parse(kPage);
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
  auto page = Document::Parse(kPage);
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

TEST(Click, CheckBoxesAndRadioButtonsChangeBeforeTheHandlerSeesThemDisabledOnesIgnoreIt) {
  const auto page = Document::Parse(kPage);
  const auto check = page->GetElementById("chkNewAdd");
  const auto private_cover = page->GetElementById("optPrivateCover");
  const auto commercial = page->GetElementById("optCommercialCover");
  const auto locked = page->GetElementById("chkLocked");
  std::vector<std::string> seen;
  page->Bind("chkNewAdd", "onclick",
             [&] { seen.push_back(check->Checked() ? "checked" : "clear"); });
  page->Bind("optCommercialCover", "onclick", [&] {
    seen.push_back(std::string("commercial ") + (commercial->Checked() ? "on" : "off") +
                   ", private " + (private_cover->Checked() ? "on" : "off"));
  });
  page->Bind("chkLocked", "onclick", [&] { seen.push_back("locked"); });
  check->Click();
  check->Click();
  commercial->Click();
  commercial->Click();  // a checked radio button stays checked
  locked->Click();
  EXPECT_THAT(seen, ElementsAre("checked", "clear", "commercial on, private off",
                                "commercial on, private off"));
  EXPECT_FALSE(locked->Checked());
}

}  // namespace
}  // namespace cn::dom
