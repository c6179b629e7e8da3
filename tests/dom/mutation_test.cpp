// Change listeners: who hears which change, and changes made while listening.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(MutationRecord, ListenersHearChangesOfTheirKindEvenWhenNotRecording) {
  const auto page = testing::LoadVehicleTab();
  std::vector<std::string> heard;
  const int id = page->AddChangeListener(MutationKind::kContentSet, [&](const Mutation& m) {
    heard.push_back(std::string(MutationKindName(m.kind)) + " " + m.value);
  });
  const auto message = page->GetElementById("UIF_ID_Msg");
  message->SetClassName("shown");
  message->SetInnerText("cmdSave");
  message->SetInnerText("cmdSave");  // the same message again is a change again
  page->RemoveChangeListener(id);
  message->SetInnerText("cmdReset");
  EXPECT_THAT(heard, ElementsAre("content cmdSave", "content cmdSave"));
  EXPECT_THAT(page->Mutations(), IsEmpty());
}

TEST(MutationRecord, AListenerMayChangeThePageWhileItRuns) {
  const auto page = testing::LoadVehicleTab();
  page->SetRecording(true);
  const auto message = page->GetElementById("UIF_ID_Msg");
  const auto status = page->GetElementById("divNPerson");
  page->AddChangeListener(MutationKind::kContentSet, [&](const Mutation& m) {
    if (m.node == message->node_id()) status->SetClassName("seen");
  });
  message->SetInnerText("COVPrem");
  const auto mutations = page->TakeMutations();
  ASSERT_FALSE(mutations.empty());
  EXPECT_EQ(mutations.back().name, "className");
  EXPECT_EQ(status->ClassName(), "seen");
}

}  // namespace
}  // namespace cn::dom
