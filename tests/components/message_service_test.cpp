#include <array>

#include "components/message_catalogue.h"
#include "components/message_service.h"
#include "components_fixture.h"

namespace cn::components::testing {
namespace {

namespace box = dom::message_box;

struct ScreenMessage {
  std::int32_t number;
  const char* title;
  std::array<std::string_view, 5> parameters;
  const char* shown;  // the whole text the user reads
  int buttons_and_icon;
};

// Messages of each kind of box, with and without parameters, that no scenario shows (the saved,
// reset and unused-note boxes are in the save and read scenarios); 2010010 is shown with other
// parameter sets there.
constexpr int kWarning = box::kOkOnly | box::kExclamation;
// clang-format off
const ScreenMessage kScreenMessages[] = {
    {1210005, "Save Cover Note", {"SUPERVISOR", "05-Dec-2026 09:58:12 AM"},
     "SUPERVISOR saved this cover note at 05-Dec-2026 09:58:12 AM, after you read it. Nothing of your amendment has "
     "been saved. Read the cover note again now to see it, then redo your amendment?", box::kOkCancel | box::kQuestion},
    {1210003, "Save Cover Note", {}, "Another user has saved this cover note since you read it. Please read it again and "
     "redo your amendment.", kWarning},
    {1210009, "Incomplete Data", {"[Vehicle]"},
     "Some required details are missing on the tab [Vehicle]. Please complete them and try again.", kWarning},
    {1319999, "Get Cover Note", {}, "The server gave an answer this screen does not expect. Please try again; if it "
     "happens again, contact your system administrator.", box::kOkOnly | box::kCritical},
    {2010010, "Save Cover Note", {"target cover note's transaction", "done at backend", "Update"},
     "Target cover note's transaction has been done at backend. Update not allowed.", kWarning},
    {2210008, "Invalid Data", {"Date!"}, "Invalid Date! Please check the value entered.", kWarning},
    {2310003, "Invalid IC Number", {"New", "800111-01-1123"},
     "Invalid New IC number. Please enter it in the form 800111-01-1123.", kWarning}};
// clang-format on

class MessageServiceTest : public ::testing::Test {
 protected:
  std::shared_ptr<FakeDialogs> dialogs_ = std::make_shared<FakeDialogs>();
  CatalogueMessageService service_{dialogs_};
};

// The box as the user sees it: "title | text | buttons and icon".
std::string Box(const FakeDialogs& dialogs) {
  if (dialogs.boxes.size() != 1) return std::to_string(dialogs.boxes.size()) + " boxes";
  const auto& shown = dialogs.boxes[0];
  return shown.title + " | " + shown.prompt + " | " + std::to_string(shown.buttons_and_icon);
}

TEST_F(MessageServiceTest, EveryMessageOfTheScreenShowsItsTextTitleButtonsAndIcon) {
  for (const ScreenMessage& message : kScreenMessages) {
    dialogs_->boxes.clear();
    const auto& p = message.parameters;
    service_.ShowMessage(message.number, message.title, p[0], p[1], p[2], p[3], p[4]);
    EXPECT_EQ(Box(*dialogs_), std::string(message.title) + " | " + message.shown + " | " +
                                  std::to_string(message.buttons_and_icon));
  }
}

TEST_F(MessageServiceTest, TheAnswerIsTheButtonPressedAndAnUnknownNumberIsShownNotFailed) {
  dialogs_->box_answers = {box::kCancel};
  EXPECT_EQ(service_.ShowMessage(1210001, "Reset", "", "", "", "", ""), answer::kCancel);
  EXPECT_EQ(service_.ShowMessage(1210004, "Remove row", "", "", "", "", ""), answer::kOk);
  dialogs_->boxes.clear();
  EXPECT_EQ(service_.ShowMessage(9999999, "Odd", "first", "", "third", "", ""), answer::kOk);
  EXPECT_EQ(Box(*dialogs_),
            "Odd | Message 9999999 (no text is held for it): first | third. | " + std::to_string(kWarning));
  EXPECT_THROW(CatalogueMessageService(nullptr), RuntimeFailure);  // no dialog host
}

TEST(FillPlaceholders, ParametersAreInsertedOnceAndOtherPercentSignsStay) {
  const MessageParameters parameters{"%2", "B", "", "", "E"};
  EXPECT_EQ(FillPlaceholders("%1 and %2, 50% of %5%6.", parameters), "%2 and B, 50% of E%6.");
  EXPECT_EQ(FillPlaceholders("trailing %", parameters), "Trailing %");
  EXPECT_EQ(FillPlaceholders("", parameters), "");
}

}  // namespace
}  // namespace cn::components::testing
