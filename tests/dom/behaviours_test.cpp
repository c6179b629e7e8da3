// Behaviour files on elements and the row tables' click and change scripts.
#include "dom/behaviours.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dom/document.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Script(std::string_view command, int row) {
  return "kvExecuteCommand.innerText='" + std::string(command) +
         "{#+#}' + event.srcElement.id + '{#,#}" + std::to_string(row) +
         "';kvExecuteCommand.click();";
}

// A layout table holding an extended-cover row table, as the premium tab has it.
constexpr std::string_view kPage = R"html(<body>
  <span id=kvExecuteCommand style="display:none"></span>
  <table id=layout><tr id=layoutRow><td>
    <table id=ExtBody>
      <tr id=rowExt0><td id=cell0><select id=cboExtendedCoverType><option value=A>A</select></td>
          <td><input id=txtSumInsured
                     style="TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\EntryCurSI.htc')"></td></tr>
      <tr id=rowCompany><td><input id=txtCompany></td></tr>
    </table>
    <input id=txtOutside>
  </td></tr></table>
</body>)html";

struct Page {
  std::shared_ptr<Document> document = Document::Parse(kPage);
  std::vector<std::string> commands;

  Page() {
    document->Bind("kvExecuteCommand", "onclick", [this] {
      commands.push_back(document->GetElementById("kvExecuteCommand")->InnerText());
    });
    const auto row = Get("rowExt0");
    row->AddBehavior("./Behaviors/DataEntry.htc");
    row->SetAttribute("onClicked", Script("cmsHighliteRow", 0));
    Get("rowCompany")->AddBehavior("./Behaviors/DataEntry.htc");         // behaviour, but no script
    Get("layoutRow")->SetAttribute("onClicked", Script("cmdWrong", 9));  // script, but no behaviour
  }
  std::shared_ptr<Element> Get(std::string_view id) const { return document->GetElementById(id); }
};

TEST(HasBehavior, ComparesFileNamesWithoutFolderOrCase) {
  Page page;
  const auto select = page.Get("cboExtendedCoverType");
  select->AddBehavior("./Behaviors/DataEntry.htc");
  EXPECT_TRUE(HasBehavior(*select, "DataEntry.htc"));
  EXPECT_TRUE(HasBehavior(*select, "dataentry.HTC"));
  EXPECT_TRUE(HasBehavior(*select, "Behaviors/DataEntry.htc"));
  EXPECT_FALSE(HasBehavior(*select, "Entry.htc"));
  // From the style, with the backslash the extended-cover cells are written with.
  EXPECT_TRUE(HasBehavior(*page.Get("txtSumInsured"), "EntryCurSI.htc"));
  EXPECT_FALSE(HasBehavior(*page.Get("txtSumInsured"), "EntryCur.htc"));
}

TEST(RaiseClickBehaviours, TheNearestRowWithTheDataEntryBehaviourReportsTheClickedControl) {
  Page page;
  RaiseClickBehaviours(*page.Get("txtSumInsured"));
  RaiseClickBehaviours(*page.Get("cell0"));
  RaiseClickBehaviours(*page.Get("rowExt0"));
  EXPECT_THAT(page.commands,
              ElementsAre("cmsHighliteRow{#+#}txtSumInsured{#,#}0",
                          "cmsHighliteRow{#+#}cell0{#,#}0", "cmsHighliteRow{#+#}rowExt0{#,#}0"));
  page.commands.clear();
  RaiseClickBehaviours(*page.Get("txtCompany"));  // a company row cannot be highlighted
  RaiseClickBehaviours(*page.Get("txtOutside"));  // the layout row has no behaviour
  EXPECT_THAT(page.commands, IsEmpty());
}

TEST(RaiseChangeBehaviours, OnlyControlsWithTheBehaviourAndAScriptReport) {
  Page page;
  const auto select = page.Get("cboExtendedCoverType");
  select->SetAttribute("onInpChanged", Script("cmdRefreshExtCover", 0));
  RaiseChangeBehaviours(*select);  // script, but no behaviour yet
  EXPECT_THAT(page.commands, IsEmpty());
  select->AddBehavior("./Behaviors/DataEntry.htc");
  RaiseChangeBehaviours(*select);
  RaiseChangeBehaviours(*page.Get("rowExt0"));  // the row's script is for clicks
  EXPECT_THAT(page.commands, ElementsAre("cmdRefreshExtCover{#+#}cboExtendedCoverType{#,#}0"));
}

}  // namespace
}  // namespace cn::dom
