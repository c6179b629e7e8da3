// The Cover tab as it opens: a read left for it runs, anything else left is dropped, and the
// tab locks. What each answer of the back end shows is pinned by the read scenarios.

#include <gtest/gtest.h>

#include "base/separators.h"
#include "base/text.h"
#include "cover_fields_fixture.h"
#include "workspace/read_layouts.h"

namespace cn::cover_testing {
namespace {

// A full-length ReadAdmin reply, empty except for the named record fields.
std::string ReadAdminReply(std::initializer_list<std::pair<std::string_view, std::string_view>>
                               values) {
  Texts fields(178);
  for (const auto& [name, value] : values) {
    bool found = false;
    for (const LayoutRow& row : ReadAdminLayout()) {
      if (row.field->name != name) continue;
      fields[static_cast<std::size_t>(row.position)] = std::string(value);
      found = true;
    }
    EXPECT_TRUE(found) << name << " is not in the ReadAdmin reply";
  }
  return Join(fields, FieldSeparator);
}

TEST(CoverTabLoad, APendingReadOfThisTabRunsAsItOpensAndTheTabStillLocks) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1031", "TBA"}});
  world.fakes.backend.Answer(
      "KivoGIUWR.CoverNote.ReadAdmin",
      "CN777" + std::string(ParamSeparator) + "AG001" + std::string(ParamSeparator) + "0",
      ReadAdminReply({{"CoverNoteStatus", "R"}, {"VehicleNo", "WXY1"}, {"ClientName", "LIM"}}));
  world.workspace.page.PendingTabCommand = "COVCover;ReadCoverNote;CN777";
  world.workspace.page.SaveButtonId = "cmdSave";
  world.cover->Load();
  EXPECT_EQ(world.Get("txtName").Value(), "LIM");
  EXPECT_TRUE(world.Ran("ShowTitle('Cover Note Amendment - Administrator : CN777')"));
  EXPECT_TRUE(world.Ran("EnableCmdButton('cmdSave', true)"));
  EXPECT_TRUE(world.workspace.premium.FactorsChangedNewTariff);
  EXPECT_EQ(world.workspace.page.PendingTabCommand, "");
  EXPECT_TRUE(world.Get("txtName").ReadOnly());
}

TEST(CoverTabLoad, APendingCommandForAnotherTabOrAnotherActionIsDropped) {
  for (const char* command :
       {"COVVeh;ReadCoverNote;CN777", "COVCover;Something;CN777", "COVCover;ReadCoverNote"}) {
    SCOPED_TRACE(command);
    CoverTabWorld world;
    world.workspace.page.PendingTabCommand = command;
    world.workspace.premium.TariffPremiumEntered = true;
    world.cover->Load();
    // Showing the record leaves a typed tariff premium as typed.
    EXPECT_TRUE(world.workspace.premium.TariffPremiumEntered);
    EXPECT_TRUE(world.ParametersSent("KivoGIUWR.CoverNote.ReadAdmin").empty());
    EXPECT_EQ(world.workspace.page.PendingTabCommand, "");
    EXPECT_EQ(world.Get("txtCoverNoteNumber").Value(), "");
  }
}

}  // namespace
}  // namespace cn::cover_testing
