#include "web/patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "dom/element.h"
#include "web/render.h"

namespace cn::web {
namespace {

using nlohmann::json;

constexpr const char* kPage = R"(<html><body>
<label id="lblTitle">Cover</label>
<input id="txtA" value="1"><input id="txtB">
<select id="cboList"><option value="1">One</option><option value="2">Two</option></select>
<table id="tblRows"><tbody><tr id="row1"><td>first</td></tr><tr id="row2"><td>second</td></tr></tbody></table>
<div id="divBox"><span id="spnA">a</span><span id="spnB">b</span></div>
</body></html>)";

// A tree as text with its attributes sorted, so that two trees compare however their
// attributes were ordered.
std::string Canonical(const dom::Node& node) {
  if (node.IsText()) return static_cast<const dom::Text&>(node).data();
  const auto& element = static_cast<const dom::Element&>(node);
  std::vector<std::string> attributes;
  for (const auto& attribute : element.Attributes()) attributes.push_back(attribute.name + "=" + attribute.value);
  std::sort(attributes.begin(), attributes.end());
  std::string out = "<" + element.TagName();
  for (const auto& attribute : attributes) out += " " + attribute;
  out += ">";
  for (const auto& child : element.ChildNodes()) out += Canonical(*child);
  return out + "</>";
}

// The browser's side, played by a second document built from the first render: applies the
// ops by node id as pages/js/render.js does and fails on any id that is missing or doubled.
class Mirror {
 public:
  explicit Mirror(const dom::Document& server) {
    document_ = dom::Document::Parse("<html><body></body></html>");
    document_->Body()->SetInnerHtml(RenderChildren(*server.Body()));
    document_->Body()->SetAttribute(std::string(kNodeIdAttribute), std::to_string(server.Body()->node_id()));
  }

  void Apply(const json& ops) {
    for (const json& op : ops) {
      const std::string kind = op.at("op"), name = op.value("name", ""), value = op.value("value", "");
      const auto element = Find(op.contains("parent") ? op.at("parent") : op.at("id"));
      if (!element && kind != "remove") throw std::runtime_error("no node for " + op.dump() + " in the browser");
      if (kind == "remove" && element) element->Remove();
      if (kind == "content") element->SetInnerHtml(op.at("html").get<std::string>());
      if (kind == "prop") element->SetProperty(name, value);
      if (kind == "attr") element->SetAttribute(name, value);
      if (kind == "attr-removed") element->RemoveAttribute(name);
      if (kind == "style") element->SetStyle(name, value);
      if (kind == "create") {
        const auto holder = document_->CreateElement(element->TagName());
        holder->SetInnerHtml(op.at("html").get<std::string>());
        ASSERT_EQ(holder->ChildNodes().size(), 1u) << op.dump();
        const std::size_t index = op.at("index");
        ASSERT_LE(index, element->ChildNodes().size()) << op.dump();
        const auto node = holder->ChildNodes().front();
        element->InsertBefore(node, index == element->ChildNodes().size() ? nullptr : element->ChildNodes()[index]);
      }
      // No id may be present twice at any point.
      std::map<std::string, int> seen;
      for (const auto& each : document_->Body()->All()) {
        const std::string id = each->GetAttribute(kNodeIdAttribute);
        if (!id.empty()) { EXPECT_EQ(++seen[id], 1) << "node " << id << " twice after " << op.dump(); }
      }
    }
  }

  std::string Body() const { return Canonical(*document_->Body()); }

 private:
  std::shared_ptr<dom::Element> Find(const json& id) const {
    const std::string wanted = std::to_string(id.get<dom::NodeId>());
    if (document_->Body()->GetAttribute(kNodeIdAttribute) == wanted) return document_->Body();
    for (const auto& element : document_->Body()->All()) {
      if (element->GetAttribute(kNodeIdAttribute) == wanted) return element;
    }
    return nullptr;
  }

  std::shared_ptr<dom::Document> document_;
};

// The page, recording its changes.
std::shared_ptr<dom::Document> Recording() {
  auto document = dom::Document::Parse(kPage);
  document->SetRecording(true);
  return document;
}

TEST(PatchTest, TheBrowserApplyingThePatchesEndsWithTheServersPage) {
  const std::vector<std::pair<const char*, std::function<void(dom::Document&)>>> cases{
      {"a property and a style", [](dom::Document& d) {
         d.GetElementById("txtA")->SetValue("42");
         d.GetElementById("txtB")->SetReadOnly(true);
         d.GetElementById("txtB")->SetStyle("backgroundColor", "buttonface");
       }},
      {"text of a label", [](dom::Document& d) { d.GetElementById("lblTitle")->SetInnerText("Vehicle"); }},
      {"options replaced", [](dom::Document& d) {
         const auto select = d.GetElementById("cboList");
         select->SetInnerHtml("");
         for (const char* value : {"A", "B", "C"}) {
           auto option = d.CreateElement("OPTION");
           option->SetAttribute("value", value);
           option->SetText(std::string("Item ") + value);
           select->Options().Add(option);
         }
         select->SetValue("B");
       }},
      {"rows inserted, one deleted", [](dom::Document& d) {
         const auto table = d.GetElementById("tblRows");
         auto row = table->InsertRow(0);
         row->InsertCell()->SetInnerHtml("<input id=txtDrv value=x>");
         table->InsertRow(-1)->InsertCell()->SetInnerText("last");
         table->DeleteRow(2);  // the old second row
         row->SetAttribute("class", "sel");
       }},
      {"an element moved", [](dom::Document& d) {
         d.GetElementById("divBox")->AppendChild(d.GetElementById("spnA"));
         d.GetElementById("spnA")->SetInnerText("moved");
       }},
      {"a new element changed after insertion", [](dom::Document& d) {
         auto span = d.CreateElement("SPAN");
         d.GetElementById("divBox")->InsertBefore(span, d.GetElementById("spnB"));
         span->SetId("spnNew");
         span->SetInnerText("new");
         span->SetStyle("display", "none");
       }},
      {"removed after a change", [](dom::Document& d) {
         d.GetElementById("spnB")->SetAttribute("title", "gone soon");
         d.GetElementById("spnB")->Remove();
       }},
      {"attribute removed", [](dom::Document& d) { d.GetElementById("txtA")->RemoveAttribute("value"); }},
  };
  for (const auto& [name, change] : cases) {
    SCOPED_TRACE(name);
    auto document = Recording();
    Mirror browser(*document);
    RemovedElements removed(*document);
    change(*document);
    const json ops = BuildPatches(*document, document->TakeMutations(), &removed);
    EXPECT_NO_THROW(browser.Apply(ops)) << ops.dump();
    EXPECT_EQ(browser.Body(), Mirror(*document).Body());  // as a browser freshly given the page
  }
}

TEST(PatchTest, OpsComeRemovesFirstThenNewMarkupThenUpdates) {
  auto document = Recording();
  RemovedElements removed(*document);
  document->GetElementById("txtA")->SetValue("7");                    // update
  document->GetElementById("tblRows")->InsertRow(-1)->InsertCell();   // create
  document->GetElementById("lblTitle")->SetInnerText("Claims");       // content
  document->GetElementById("spnA")->Remove();                         // remove
  std::vector<std::string> kinds;
  for (const json& op : BuildPatches(*document, document->TakeMutations(), &removed)) kinds.push_back(op.at("op"));
  EXPECT_EQ(kinds, (std::vector<std::string>{"remove", "content", "create", "prop"}));
}

TEST(PatchTest, EventHandlerAttributesAndStatusNeverTravelAndNewBehavioursRewire) {
  auto document = Recording();
  document->GetElementById("row1")->SetAttribute("onClicked", "kvExecuteCommand.click();");
  document->ParentWindow()->SetStatus("Loading page...");
  document->GetElementById("txtB")->AddBehavior("Behaviors/EntryDate.htc");
  const std::string id = std::to_string(document->GetElementById("txtB")->node_id());
  EXPECT_EQ(BuildPatches(*document, document->TakeMutations()),
            json::parse(R"([{"op":"wire","id":)" + id + R"(,"wiring":")" + id +
                        R"(::EntryDate.htc;"}])"));
}

TEST(PatchTest, TheLastFocusOrSelectionWinsWhileItsElementRemains) {
  auto document = Recording();
  document->GetElementById("txtA")->Focus();
  document->GetElementById("txtB")->Focus();
  document->GetElementById("txtB")->Select();
  EXPECT_EQ(LastFocus(*document, document->Mutations()),
            (FocusChange{document->GetElementById("txtB")->node_id(), true}));
  document->GetElementById("txtB")->Remove();
  EXPECT_EQ(LastFocus(*document, document->Mutations()), std::nullopt);
}

// Every element carries its node id. The page's wiring is built in one walk; each element's
// entry must be what the element alone gets (as a "wire" patch sends it), rows nested in rows
// and behaviours on cells included; cells of a row table report clicks.
TEST(RenderTest, EveryElementCarriesItsNodeIdAndTheWholePagesWiringAgreesWithEachElementsOwn) {
  auto document = dom::Document::Parse(
      "<html><body><table><tr id='outer'><td id='c1'><table><tr id='inner'><td id='c2'>x</td></tr></table>"
      "<input id='t1'></td></tr><tr id='plain'><td><input id='t2'></td></tr></table></body></html>");
  const auto id = [&](const char* name) { return std::to_string(document->GetElementById(name)->node_id()); };
  document->GetElementById("outer")->AddBehavior("Behaviors/DataEntry.htc");
  document->GetElementById("t2")->AddBehavior("./Behaviors/DATAENTRY.HTC");
  document->GetElementById("t2")->AddBehavior("Behaviors/EntryCur.htc");
  document->Bind("c2", "ondblclick", [] {});
  document->Bind("t1", "onKeyPress", [] {});
  const json page = RenderDocument(*document, 3);
  EXPECT_EQ(page.at("key"), 3);
  EXPECT_EQ(page.at("body"), document->Body()->node_id());
  const std::string html = page.at("html");
  const auto wiring = ReadWiring(page.at("wiring").get<std::string>());
  for (const auto& element : document->Body()->All()) {
    SCOPED_TRACE(element->Describe());
    EXPECT_NE(html.find("data-nid='" + std::to_string(element->node_id()) + "'"), std::string::npos);
    std::map<dom::NodeId, WiringEntry> in_page;
    if (const auto it = wiring.find(element->node_id()); it != wiring.end()) in_page.insert(*it);
    EXPECT_EQ(in_page, ReadWiring(ElementWiring(*element)));
  }
  const std::string text = page.at("wiring");
  for (const std::string& entry :
       {id("c1") + ":click:;", id("c2") + ":click,dblclick:;", id("t1") + ":click,keypress:;",
        id("t2") + ":change,blur:EntryCur.htc;"}) {
    EXPECT_NE(text.find(entry), std::string::npos) << entry << " in " << text;
  }
  EXPECT_EQ(wiring.count(document->GetElementById("plain")->node_id()), 0u);
  EXPECT_EQ(ReadWiring("7:blur:EntryDate.htc,EntrySpace.htc;8::;"),
            (std::map<dom::NodeId, WiringEntry>{
                {7, {{"blur"}, {"EntryDate.htc", "EntrySpace.htc"}}}, {8, {}}}));
  EXPECT_THROW(ReadWiring("7:blur;"), std::invalid_argument);
}

}  // namespace
}  // namespace cn::web
