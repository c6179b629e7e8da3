#pragma once
// The Vehicle tab's page file loaded on fake components, with the lists the workspace
// page would have read at start-up.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "../tables/driver_world.h"
#include "dom/document.h"
#include "pages/vehicle/cnaa_veh.h"
#include "tables/driver.h"

namespace cn::testing {

class VehicleTabTest : public ::testing::Test {
 protected:
  VehicleTabTest() : world_("<html><body></body></html>") {
    Workspace& ws = world_.workspace;
    ws.lists.VehicleMakeList = {Entry("PRO", "PROTON"), Entry("TOY", "TOYOTA")};
    ws.lists.SecurityDeviceList = {Entry("S1", "STEERING LOCK")};
    ws.record.Current.CoverType = "PRIVATE";
    ws.record.Current.TransactionType = "N";
    ws.record.Current.ClassCode = "A1";
    ws.record.Current.DriverNames = {""};
    world_.fakes.backend.Answer(
        "Tarvin.Find.BrowseUOM", "A1",
        CodeList({{"C", "CC"}, {"T", "TONNE"}}));
  }

  // Loads a fresh copy of the page file; `before_load` may change it first.
  void LoadPage(const std::function<void(dom::Document&)>& before_load = {}) {
    if (page_) page_->Unload();
    page_.reset();
    document_ = dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAVeh.htm");
    document_->ParentWindow()->SetDialogHost(world_.dialogs);
    document_->ParentWindow()->SetScriptHost(world_.shell);
    if (before_load) before_load(*document_);
    page_ = std::make_unique<CNAAVeh>(world_.workspace, document_);
    page_->Load();
  }

  dom::Element& Find(std::string_view id) const { return *document_->GetElementById(id); }
  Driver& Table() const { return *world_.workspace.vehicle.DriverTable; }
  std::shared_ptr<dom::Element> Row(int i) const {
    return document_->FindElementById("rowDrv" + std::to_string(i));
  }
  int SentCount(std::string_view command) const {
    return static_cast<int>(world_.fakes.backend.ParametersSent(command).size());
  }

  DriverWorld world_;
  std::shared_ptr<dom::Document> document_;
  std::unique_ptr<CNAAVeh> page_;
};

}  // namespace cn::testing
