// Drop-down lists: options, value, selectedIndex, clearing and filling.
#include <gmock/gmock.h>

#include <functional>
#include <utility>
#include <vector>

#include "../base/failure_text.h"
#include "dom/document.h"
#include "dom/serialize.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Every option as "value=text", "*" after the selected ones.
std::string Listed(const std::shared_ptr<Element>& select) {
  std::string out;
  const auto options = select->Options();
  for (int i = 0; i < options.Length(); ++i) {
    const auto option = options.Item(i);
    out += (i == 0 ? "" : "|") + option->Value() + "=" + option->Text() +
           (option->Selected() ? "*" : "");
  }
  return out;
}

std::shared_ptr<Element> GenderSelect(const std::shared_ptr<Document>& page) {
  const auto select = page->GetElementById("txtGender");
  for (const auto& [value, text] : {std::pair{"M", "MALE"}, {"F", "FEMALE"}, {"C", "COMPANY"}}) {
    const auto option = page->CreateElement("OPTION");
    option->SetValue(value);
    option->SetText(text);
    select->Options().Add(option);
  }
  return select;
}

TEST(SelectOptions, OptionValueFallsBackToItsTextAndWhatIsNoOptionFails) {
  const auto page = testing::LoadVehicleTab();
  const auto make = page->GetElementById("cboVehicleMakeCode");
  EXPECT_EQ(Listed(make), "=|01=PROTON|02=PERODUA*|HONDA=HONDA");
  make->SetValue("HONDA");
  EXPECT_EQ(make->SelectedIndex(), 3);

  EXPECT_THROW(make->Options().Item(-1), RuntimeFailure);
  EXPECT_THAT(FailureText([&] { make->Options().Item(4); }),
              AllOf(StartsWith("9: "), HasSubstr("cboVehicleMakeCode")));
  const auto model = page->GetElementById("txtModel");
  EXPECT_THROW(model->Options(), RuntimeFailure);
  EXPECT_THROW(model->SelectedIndex(), RuntimeFailure);
  EXPECT_THROW(model->Text(), RuntimeFailure);
  EXPECT_THROW(make->Options().Add(page->CreateElement("DIV")), RuntimeFailure);
}

// Filling a list in one go leaves it as adding the options one by one does: the same
// selection, and the same insertions recorded for the browser.
TEST(SelectOptions, AppendingInOneGoIsAddingOneByOne) {
  struct Case { const char* select; std::string_view options; const char* listed; };  // "a*": a selected
  const Case cases[] = {
      {"<select id=s></select>", "ab", "a=a*|b=b"},
      {"<select id=s><option value=x>x</select>", "a", "x=x*|a=a"},
      {"<select id=s><option value=x>x<option value=y selected>y</select>", "a", "x=x|y=y*|a=a"},
      {"<select id=s><option value=x>x</select>", "a*bc*", "x=x|a=a|b=b|c=c*"},
      {"<select id=s><option value=x disabled>x</select>", "ab", "x=x|a=a*|b=b"},
      {"<select id=s multiple><option value=x>x</select>", "a*b*", "x=x|a=a*|b=b*"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.select);
    std::vector<std::pair<std::string, std::vector<Mutation>>> seen;  // listed, recorded
    for (const bool in_one_go : {false, true}) {
      const auto page = Document::Parse(c.select);
      page->SetRecording(true);
      const auto select = page->GetElementById("s");
      std::vector<std::shared_ptr<Element>> options;
      for (const char letter : c.options) {
        if (letter == '*') options.back()->SetSelected(true);
        if (letter != '*') options.push_back(page->CreateOption(std::string(1, letter), std::string(1, letter)));
      }
      page->TakeMutations();
      if (in_one_go) select->Options().Append(options);
      for (std::size_t i = 0; !in_one_go && i < options.size(); ++i) select->Options().Add(options[i]);
      seen.emplace_back(Listed(select), page->TakeMutations());
    }
    EXPECT_EQ(seen[0].first, c.listed);
    EXPECT_EQ(seen[1], seen[0]);
  }
  const auto page = Document::Parse("<select id=s></select>");
  EXPECT_THROW(page->GetElementById("s")->Options().Append({page->CreateElement("DIV")}), RuntimeFailure);
  // Put in as nodes: a selected option is the one shown, an unselected one changes nothing.
  const auto nodes = Document::Parse("<select id=s><option value=x>x</select>");
  const auto select = nodes->GetElementById("s");
  const auto chosen = nodes->CreateOption("a", "a");
  chosen->SetSelected(true);
  select->InsertBefore(chosen, select->Options().Item(0));
  select->AppendChild(nodes->CreateOption("b", "b"));
  EXPECT_EQ(Listed(select), "a=a*|x=x|b=b");
}

TEST(SelectValue, KnownUnknownAndEmptyValuesAndSelectedIndex) {
  const auto page = Document::Parse("<select id=txtGender></select>");
  const auto gender = GenderSelect(page);
  // A filled drop-down shows its first option until a value is chosen.
  EXPECT_EQ(gender->SelectedIndex(), 0);
  EXPECT_EQ(gender->Value(), "M");
  // No such option, no empty option in this list, values compared exactly: nothing selected.
  struct Case { const char* value; int index; const char* reads; };
  const Case cases[] = {{"F", 1, "F"}, {"X", -1, ""}, {"", -1, ""}, {"f", -1, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    gender->SetValue(c.value);
    EXPECT_EQ(gender->SelectedIndex(), c.index);
    EXPECT_EQ(gender->Value() + "/" + gender->GetProperty("Value"), std::string(c.reads) + "/" + c.reads);
  }
  gender->SetSelectedIndex(2);
  EXPECT_EQ(Listed(gender), "M=MALE|F=FEMALE|C=COMPANY*");
  gender->SetProperty("SelectedIndex", "-1");
  EXPECT_EQ(gender->Value(), "");
  gender->SetSelectedIndex(7);
  EXPECT_EQ(gender->SelectedIndex(), -1);
  gender->Options().Item(1)->SetSelected(true);
  EXPECT_EQ(gender->SelectedIndex(), 1);
  // Adding before an index, and removing.
  const auto empty = page->CreateElement("option");
  gender->Options().Add(empty, 0);
  EXPECT_EQ(Listed(gender), "=|M=MALE|F=FEMALE*|C=COMPANY");
  gender->Options().Remove(0);
  EXPECT_EQ(Listed(gender), "M=MALE|F=FEMALE*|C=COMPANY");
}

// A list filled in one go from a lookup is kept as data until its option nodes are asked for.
// Read, changed, cleared, written out and made into nodes at any step, it is the list the
// options as nodes make: the same values, markup, node ids and recorded changes.
TEST(SelectOptions, AListKeptAsDataIsTheListItsNodesMake) {
  const std::vector<OptionText> list{{"", ""}, {"A&B", "a < b"}, {"q\"", "Quote"}, {"c", "C"}};
  const char* const selects[] = {"<select id=s></select>", "<select id=s size=3></select>",
                                 "<select id=s multiple></select>"};
  // Each step on both lists; "nodes" asks for the option nodes of the kept one.
  const std::vector<std::function<void(Element&)>> steps{
      [](Element&) {},
      [](Element& s) { s.SetValue("c"); },
      [](Element& s) { s.SetValue("none"); },
      [](Element& s) { s.SetSelectedIndex(1); },
      [](Element& s) { s.SetProperty("selectedIndex", "9"); },
      [](Element& s) { s.SetInnerHtml(""); },
      [&](Element& s) { s.Options().Fill(list); },
      [](Element& s) { s.Options().Item(2)->SetSelected(true); },
  };
  const SerializeOptions with_ids{.node_id_attribute = "n"};
  for (const char* markup : selects) {
    for (std::size_t made_at = 0; made_at <= steps.size(); ++made_at) {
      SCOPED_TRACE(std::string(markup) + " nodes asked for before step " + std::to_string(made_at));
      const auto kept = Document::Parse(markup);
      const auto nodes = Document::Parse(markup);
      kept->GetElementById("s")->Options().Fill(list);
      std::vector<std::shared_ptr<Element>> options;
      for (const OptionText& o : list) options.push_back(nodes->CreateOption(o.value, o.text));
      nodes->GetElementById("s")->Options().Append(options);
      EXPECT_TRUE(kept->GetElementById("s")->KeptOptionsOf().has_value());
      for (const auto& page : {kept, nodes}) page->SetRecording(true);
      for (std::size_t step = 0; step < steps.size(); ++step) {
        // Made into nodes, and two steps on kept as data again where the nodes allow it.
        if (step == made_at) kept->GetElementById("s")->ChildNodes();
        if (step == made_at + 2) kept->GetElementById("s")->KeepOptionNodesAsData();
        for (const auto& page : {kept, nodes}) steps[step](*page->GetElementById("s"));
        const auto a = kept->GetElementById("s"), b = nodes->GetElementById("s");
        EXPECT_EQ(SerializeNode(*a, with_ids), SerializeNode(*b, with_ids)) << "step " << step;
        const auto reads = [](Element& s) {
          return s.Value() + "/" + std::to_string(s.SelectedIndex()) + "/" +
                 std::to_string(s.Options().Length());
        };
        EXPECT_EQ(reads(*a), reads(*b));
        EXPECT_EQ(kept->TakeMutations(), nodes->TakeMutations()) << "step " << step;
      }
    }
  }
}

// The browser knows a kept option by the id it was written with: looking the id up makes the
// options, and the id finds that option.
TEST(SelectOptions, AKeptOptionsIdFindsItsNode) {
  const auto page = Document::Parse("<select id=s></select><input id=after>");
  const auto select = page->GetElementById("s");
  select->Options().Fill({{"1", "One"}, {"2", ""}, {"3", "Three"}});
  // Searches by id and for frames pass the kept options by.
  EXPECT_EQ(page->AllWithId("s").size(), 1u);
  EXPECT_NE(page->Body()->FindInAll("after"), nullptr);
  EXPECT_TRUE(page->Frames().empty());
  EXPECT_TRUE(select->KeptOptionsOf().has_value());
  const NodeId first = select->KeptOptionsOf()->first_id;
  const auto input = page->CreateElement("INPUT");
  EXPECT_EQ(input->node_id(), first + 5);  // two ids for an option with text, one without
  const auto third = std::static_pointer_cast<Element>(page->FindNode(first + 3));
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->Value() + "=" + third->Text(), "3=Three");
  EXPECT_EQ(third->ParentElement(), select);
  EXPECT_FALSE(select->KeptOptionsOf().has_value());
  EXPECT_EQ(Listed(select), "1=One*|2=|3=Three");
  EXPECT_FALSE(select->KeepOptionNodesAsData());  // the test still holds the third option
}

// Options go back to data only as a fill makes them and when nothing but the list holds them.
TEST(SelectOptions, OnlyPlainOptionsGoBackToData) {
  struct Case {
    const char* options;
    bool kept;
  };
  const Case cases[] = {{"<option value=a>A<option value=b selected>B<option value=c>", true},
                        {"<option value=a>A<option value=b>B", true},
                        {"<option>A", false},
                        {"<option value=a id=a>A", false},
                        {"<option value=a style='color:red'>A", false},
                        {"<option value=a selected>A<option value=b selected>B", false},
                        {"<option value=a disabled>A", false},
                        {"<optgroup label=g><option value=a>A</optgroup>", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const auto page =
        Document::Parse(std::string("<select id=s multiple>") + c.options + "</select>");
    const auto select = page->GetElementById("s");
    const std::string before = SerializeNode(*select, {.node_id_attribute = "n"});
    EXPECT_EQ(select->KeepOptionNodesAsData(), c.kept);
    EXPECT_EQ(SerializeNode(*select, {.node_id_attribute = "n"}), before);
  }
}

}  // namespace
}  // namespace cn::dom
