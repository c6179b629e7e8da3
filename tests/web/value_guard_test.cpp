#include "web/value_guard.h"

#include <gtest/gtest.h>

#include "dom/element.h"

namespace cn::web {
namespace {

class ValueGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    document_ = dom::Document::Parse(R"(<html><body>
      <input id="txtA"><input id="txtLocked" readonly><input id="txtOff" disabled>
      <input id="chkA" type="checkbox"><textarea id="txtMemo"></textarea>
      <select id="cboA"><option value="1">One</option><option value="2">Two</option></select>
      </body></html>)");
    document_->SetRecording(true);
  }
  dom::NodeId Id(const char* id) { return document_->GetElementById(id)->node_id(); }
  std::vector<std::string> Values(std::initializer_list<const char*> ids) {
    std::vector<std::string> values;
    for (const char* id : ids) values.push_back(document_->GetElementById(id)->Value());
    return values;
  }
  // The server changes something, told to the browser in answer `answer`.
  void ServerChange(std::uint64_t answer, const std::function<void()>& change) {
    change();
    guard_.Note(*document_, document_->TakeMutations(), answer);
  }

  std::shared_ptr<dom::Document> document_;
  ValueGuard guard_;
};

// Typed values go into text boxes, text areas and selects; fields the administrator cannot
// type in keep their values.
TEST_F(ValueGuardTest, TypedValuesGoOnlyWhereTheAdministratorCanType) {
  const std::vector<BrowserValue> values{{Id("txtA"), "abc"},    {Id("txtMemo"), "line"}, {Id("cboA"), "2"},
                                         {Id("txtLocked"), "x"}, {Id("txtOff"), "x"},     {Id("chkA"), "x"},
                                         {999999, "x"}};
  EXPECT_EQ(ApplyBrowserValues(*document_, guard_, values, 0).size(), 3u);
  EXPECT_EQ(Values({"txtA", "txtMemo", "cboA", "txtLocked", "txtOff", "chkA"}),
            (std::vector<std::string>{"abc", "line", "2", "", "", "on"}));
}

TEST_F(ValueGuardTest, AServerChangeTheBrowserHasNotSeenWins) {
  ServerChange(5, [&] { document_->GetElementById("txtA")->SetValue("server"); });
  ServerChange(5, [&] { document_->GetElementById("cboA")->Options().Item(1)->SetSelected(true); });
  ServerChange(6, [&] { document_->GetElementById("txtMemo")->SetInnerText("memo"); });

  const std::vector<BrowserValue> stale{{Id("txtA"), "typed"}, {Id("cboA"), "1"}, {Id("txtMemo"), "typed"}};
  EXPECT_TRUE(ApplyBrowserValues(*document_, guard_, stale, 4).empty());
  EXPECT_EQ(Values({"txtA", "cboA", "txtMemo"}), (std::vector<std::string>{"server", "2", "memo"}));

  // Having seen answer 5, the browser's values for what changed there go in; answer 6 not yet.
  EXPECT_EQ(ApplyBrowserValues(*document_, guard_, stale, 5).size(), 2u);
  EXPECT_EQ(Values({"txtA", "cboA", "txtMemo"}), (std::vector<std::string>{"typed", "1", "memo"}));
}

TEST_F(ValueGuardTest, OtherServerChangesDoNotBlockTheTypedValue) {
  ServerChange(5, [&] {
    document_->GetElementById("txtA")->SetStyle("backgroundColor", "yellow");
    document_->GetElementById("txtA")->SetMaxLength(4);
  });
  EXPECT_EQ(ApplyBrowserValues(*document_, guard_, std::vector<BrowserValue>{{Id("txtA"), "ab"}}, 0).size(), 1u);
}

}  // namespace
}  // namespace cn::web
