#pragma once
// A named-driver table built on the test page, wired as the Vehicle tab wires it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "driver_world.h"
#include "tables/driver.h"

namespace cn::testing {

class DriverTableTest : public ::testing::Test {
 protected:
  DriverTableTest() : world_(kDriverPage) {
    world_.workspace.vehicle.DeleteNPersonLink = world_.page->GetElementById("lnkDeleteNPerson");
    table_ = std::make_shared<Driver>(world_.workspace);
    world_.page->Bind("kvExecuteCommand", "onclick", [this] { table_->EEC_onclick(); });
    const auto command = world_.page->GetElementById("kvExecuteCommand");
    EXPECT_TRUE(table_->BuildHeader(command, world_.page->GetElementById("divNPersonHeader")));
    EXPECT_TRUE(table_->BuildUI(command, world_.page->GetElementById("divNPerson")));
  }

  std::shared_ptr<dom::Element> Row(int i) const {
    return world_.page->FindElementById("rowDrv" + std::to_string(i));
  }
  dom::Element& Cell(int row, std::string_view control) const {
    return *Row(row)->GetFromAll(control);
  }
  void AddNamed(std::string_view name) { table_->Add(name, "", "", "", "M", "", ""); }
  // What a control's change script would send.
  void Changed(std::string_view command, int row) {
    table_->ExecuteTableCommand(command, "x{#,#}" + std::to_string(row));
  }

  DriverWorld world_;
  std::shared_ptr<Driver> table_;
};

}  // namespace cn::testing
