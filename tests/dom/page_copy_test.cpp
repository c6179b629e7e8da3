// Pages loaded as copies of a page parsed once: what the page logic and the browser see must be
// what a fresh parse of the file gives, and each copy must be a page of its own.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "../base/temp_folder.h"
#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/page_templates.h"
#include "dom/serialize.h"

namespace cn::dom {
namespace {

namespace fs = std::filesystem;

// Both trees node by node: same kind, node id, tag, attributes, style and text.
void ExpectSameTree(const Node& copy, const Node& parsed, const std::string& where) {
  ASSERT_EQ(copy.type(), parsed.type()) << where;
  EXPECT_EQ(copy.node_id(), parsed.node_id()) << where;
  if (parsed.IsText()) {
    EXPECT_EQ(static_cast<const Text&>(copy).data(), static_cast<const Text&>(parsed).data()) << where;
    return;
  }
  const auto& a = static_cast<const Element&>(copy);
  const auto& b = static_cast<const Element&>(parsed);
  const std::string here = where + "/" + b.Describe();
  EXPECT_EQ(a.TagName(), b.TagName()) << here;
  EXPECT_EQ(a.Attributes(), b.Attributes()) << here;
  EXPECT_EQ(a.Style(), b.Style()) << here;
  ASSERT_EQ(a.ChildNodes().size(), b.ChildNodes().size()) << here;
  for (std::size_t i = 0; i < b.ChildNodes().size(); ++i) ExpectSameTree(*a.ChildNodes()[i], *b.ChildNodes()[i], here);
}

TEST(PageFileCopy, OfEveryProductPageIsWhatParsingTheFileAgainGives) {
  for (const char* name : {"CNAAMain.htm", "CNAACov.htm", "CNAAVeh.htm", "CNAAPrm.htm",
                           "CNAANPrm.htm", "CNAAOPrm.htm", "dlgEnq.htm", "dlgSrch.htm"}) {
    SCOPED_TRACE(name);
    const fs::path file = fs::path(COVERNOTE_PAGES_DIR) / name;
    const auto copy = Document::Load(file)->Copy();
    const auto parsed = Document::Load(file);
    EXPECT_EQ(copy->Url(), parsed->Url());
    ExpectSameTree(*copy->DocumentElement(), *parsed->DocumentElement(), "");
    // The next node made gets the same id too.
    EXPECT_EQ(copy->CreateElement("DIV")->node_id(), parsed->CreateElement("DIV")->node_id());
    for (const auto& element : parsed->All()) {
      const auto found = copy->FindNode(element->node_id());
      ASSERT_NE(found, nullptr);
      EXPECT_EQ(found->OwnerDocument(), copy);
    }
  }
}

const std::string kForm =
    "<html><body><iframe name=UIF_ID_UserEx></iframe>"
    "<select id=cboState><option value=01>One<option value=02 selected>Two</select>"
    "<input id=txtName value=Default style='text-transform: uppercase'>"
    "<input type=checkbox id=chkNew checked></body></html>";

TEST(PageCopy, IsAPageOfItsOwnRecordingItsChangesWithItsOwnNodeIds) {
  const auto page = Document::Parse(kForm, "form.htm");
  const auto copy = page->Copy();
  EXPECT_NE(copy->ParentWindow(), page->ParentWindow());
  EXPECT_EQ(copy->ParentWindow()->document(), copy);
  EXPECT_NE(copy->Frames().at(0)->ContentDocument(), page->Frames().at(0)->ContentDocument());

  // Changing the copy leaves the page it came from as it was, and the other way round; a second
  // copy is of the page as it stands (its own change included), not of the first copy.
  const auto state = [](const Document& document) {
    return document.GetElementById("txtName")->Value() + " " +
           document.GetElementById("cboState")->Value() + " " +
           (document.GetElementById("chkNew")->Checked() ? "checked " : "clear ") +
           std::to_string(document.GetElementById("txtName")->MaxLength()) + " " +
           document.GetElementById("cboState")->Options().Item(0)->Text();
  };
  copy->GetElementById("txtName")->SetValue("CHANGED");
  copy->GetElementById("cboState")->SetSelectedIndex(0);
  copy->GetElementById("chkNew")->SetChecked(false);
  page->GetElementById("txtName")->SetAttribute("maxlength", "3");
  // Texts are shared with the page copied until one of them changes.
  const auto& one = copy->GetElementById("cboState")->Options().Item(0)->ChildNodes().at(0);
  std::static_pointer_cast<Text>(one)->SetData("Uno");
  EXPECT_EQ(state(*page), "Default 02 checked 3 One");
  EXPECT_EQ(state(*copy), "CHANGED 01 clear " + std::to_string(kNoMaxLength) + " Uno");
  EXPECT_EQ(state(*page->Copy()), "Default 02 checked 3 One");
  // A copy records its changes, under its own node ids, only once told to.
  page->SetRecording(true);
  EXPECT_FALSE(page->Copy()->IsRecording());
  copy->SetRecording(true);
  const auto name = copy->GetElementById("txtName");
  name->SetValue("X");
  ASSERT_EQ(copy->Mutations().size(), 1u);
  EXPECT_EQ(copy->Mutations()[0].node, name->node_id());
  EXPECT_EQ(copy->FindNode(name->node_id()), name);
  EXPECT_TRUE(page->Mutations().empty());
}

// Once its interval has passed since the file was last looked at; not before.
TEST(PageTemplates, AFileChangedOnDiskIsReadAgainOnceItsRecheckIsDue) {
  const cn::testing::TempFolder folder("covernote-templates");
  const fs::path file = folder.path / "page.htm";
  std::ofstream(file) << "<body><input id=txtOne></body>";
  PageTemplates at_once(std::chrono::milliseconds(0));
  PageTemplates hourly(std::chrono::hours(1));
  at_once.Load(file);
  hourly.Load(file);
  const auto before = fs::last_write_time(file);
  std::ofstream(file) << "<body><input id=txtTwo></body>";
  fs::last_write_time(file, before + std::chrono::seconds(1));
  const auto page = at_once.Load(file);
  EXPECT_TRUE(page->FindElementById("txtOne") == nullptr && page->FindElementById("txtTwo") != nullptr);
  EXPECT_NE(hourly.Load(file)->FindElementById("txtOne"), nullptr);
}

// The form above as a page file, and the templates that load it.
class FormTemplate : public ::testing::Test {
 protected:
  FormTemplate() { std::ofstream(file) << kForm; }
  const cn::testing::TempFolder folder{"covernote-form"};
  const fs::path file = folder.path / "form.htm";
  PageTemplates templates;
};

// What copies build alike (markup written into an element, options, the lock-down of an input)
// is built once and shared, yet no copy's later change reaches another copy or the template.
TEST_F(FormTemplate, CopiesBuildingAlikeShareTheWorkButNeverEachOthersChanges) {
  const auto build = [](const std::shared_ptr<Document>& page) {
    const auto cell = page->CreateElement("TD");
    page->Body()->AppendChild(cell);
    cell->SetInnerHtml("<input id=txtRow tabindex=1><b>row</b>");
    page->GetElementById("cboState")->Options().Add(page->CreateOption("03", "Three"));
    const auto name = page->GetElementById("txtName");
    name->SetTabIndex(-1);
    name->SetReadOnly(true);
    name->SetStyle("backgroundColor", "#c0c0c0");
    page->GetElementById("chkNew")->SetTabIndex(-1);
    return page;
  };
  const auto one = build(templates.Load(file)), two = build(templates.Load(file));
  // A lookup list the logic keeps, or fills into a list, is held once for every copy.
  EXPECT_EQ(one->SharedList({"01|ONE"}), two->SharedList({"01|ONE"}));
  EXPECT_NE(one->SharedList({"01|ONE"}), one->SharedList({"02|TWO"}));
  EXPECT_EQ(one->SharedText("1011|~|TBA"), two->SharedText("1011|~|TBA"));
  EXPECT_NE(one->SharedText("1011|~|TBA"), one->SharedText("1011|~|NR"));
  const auto lists = std::array{one->CreateElement("SELECT"), two->CreateElement("SELECT")};
  for (const auto& list : lists) list->Options().Fill({{"1", "One"}});
  EXPECT_EQ(&lists[0]->KeptOptionsOf()->data, &lists[1]->KeptOptionsOf()->data);
  const std::string built = SerializeNode(*build(Document::Parse(kForm))->DocumentElement());
  EXPECT_EQ(SerializeNode(*one->DocumentElement()), built);
  EXPECT_EQ(SerializeNode(*two->DocumentElement()), built);
  EXPECT_EQ(two->GetElementById("txtRow")->OwnerDocument(), two);
  one->GetElementById("txtRow")->SetTabIndex(5);
  one->GetElementById("cboState")->Options().Item(2)->SetText("Changed");
  one->GetElementById("txtName")->SetReadOnly(false);
  one->GetElementById("txtName")->SetStyle("backgroundColor", "red");
  EXPECT_EQ(two->Body()->InnerHtml(), build(templates.Load(file))->Body()->InnerHtml());
  EXPECT_EQ(std::to_string(two->GetElementById("txtRow")->TabIndex()) + two->GetElementById("cboState")->Options().Item(2)->Text() +
                (two->GetElementById("txtName")->ReadOnly() ? " locked " : " open ") +
                two->GetElementById("txtName")->GetStyle("backgroundColor"),
            "1Three locked #c0c0c0");
  const auto three = build(templates.Load(file));
  three->GetElementById("txtName")->SetStyle("backgroundColor", "blue");
  EXPECT_EQ(three->GetElementById("txtName")->GetStyle("backgroundColor") + " " +
                one->GetElementById("txtName")->GetStyle("backgroundColor"),
            "blue red");
  EXPECT_EQ(SerializeNode(*templates.Load(file)->DocumentElement()), SerializeNode(*Document::Parse(kForm)->DocumentElement()));
}

// Copies of a template share the index of the ids they start with; each copy's lookups follow
// its own changes as a page parsed on its own would, and never another copy's.
TEST_F(FormTemplate, ACopysIdLookupsFollowItsOwnChangesOnly) {
  const auto lookups = [](const std::shared_ptr<Document>& page) {
    std::string seen;
    for (const char* id : {"cboState", "txtName", "txtOther", "chkNew"}) {
      const auto found = page->FindElementById(id);
      seen += found ? found->OuterHtml() + "@" + std::to_string(found->IndexInParent()) + " " : "none ";
    }
    return seen;
  };
  using Change = void (*)(Document&);
  const Change changes[] = {
      [](Document&) {},
      [](Document& page) { page.GetElementById("txtName")->SetId("txtOther"); },
      [](Document& page) { page.GetElementById("chkNew")->Remove(); },
      [](Document& page) {  // a second cboState, before the first in tree order
        const auto twin = page.CreateElement("INPUT");
        twin->SetId("cboState");
        page.Body()->InsertBefore(twin, page.Body()->ChildNodes().front());
      },
      [](Document& page) { page.GetElementById("cboState")->SetId(""); },  // the twin gives it up
  };
  const auto reference = Document::Parse(kForm), one = templates.Load(file), two = templates.Load(file);
  const std::string untouched = lookups(two);
  for (const Change change : changes) {
    change(*reference), change(*one);
    EXPECT_EQ(lookups(one), lookups(reference));
    EXPECT_EQ(one->GetElementById("cboState")->OwnerDocument(), one);
  }
  EXPECT_EQ(lookups(two), untouched);
  EXPECT_EQ(lookups(templates.Load(file)), untouched);
}

// A value typed into a copy is kept beside the attributes it shares with the other copies; what
// the page logic and the browser see of it is what a page parsed on its own shows.
TEST_F(FormTemplate, ACopysValuesFollowItsOwnChangesOnly) {
  const auto name = [](const std::shared_ptr<Document>& page) {
    const auto input = page->GetElementById("txtName");
    return input->OuterHtml() + " " + input->Value() + " " + std::static_pointer_cast<Element>(page->ImportCopy(*input))->OuterHtml();
  };
  using Change = void (*)(Element&);
  const Change changes[] = {
      [](Element& input) { input.SetValue("Typed"); },
      [](Element& input) { input.SetTabIndex(-1); },
      [](Element& input) { input.SetAttribute("VALUE", "Again"); },
      [](Element& input) { input.RemoveAttribute("value"); },
      [](Element& input) { input.SetValue("Back"); },  // now after the others, as in a browser
  };
  const auto reference = Document::Parse(kForm), one = templates.Load(file), two = templates.Load(file);
  const std::string untouched = name(two);
  for (const Change change : changes) {
    change(*reference->GetElementById("txtName")), change(*one->GetElementById("txtName"));
    EXPECT_EQ(name(one), name(reference));
  }
  EXPECT_EQ(name(two), untouched);
  EXPECT_EQ(name(templates.Load(file)), untouched);
}

TEST(PageTemplates, SessionsOnSeveralThreadsLoadTheSamePage) {
  PageTemplates templates;
  const fs::path file = fs::path(COVERNOTE_PAGES_DIR) / "CNAACov.htm";
  const std::string expected = SerializeNode(*Document::Load(file)->DocumentElement());
  std::vector<std::string> seen(4);
  {
    std::vector<std::jthread> sessions;
    for (std::size_t i = 0; i < seen.size(); ++i) {
      sessions.emplace_back([&, i] {
        for (int load = 0; load < 5; ++load) {
          const auto page = templates.Load(file);
          page->Body()->SetAttribute("data-session", std::to_string(i));  // each changes its own
          page->Body()->RemoveAttribute("data-session");
          seen[i] = SerializeNode(*page->DocumentElement());
        }
      });
    }
  }
  for (const auto& page : seen) EXPECT_EQ(page, expected);
}

}  // namespace
}  // namespace cn::dom
