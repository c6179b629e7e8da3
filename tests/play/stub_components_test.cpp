// The answer queue. The stub back end's rules (once, any parameter, unmatched, failing) are
// pinned by the golden stub-rules scenario.
#include "play/stub_components.h"

#include <gtest/gtest.h>

#include "dom/window.h"

namespace cn::play {
namespace {

constexpr Prompt kBox{.kind = "message box", .number = std::nullopt, .title = "", .url = ""};
constexpr Prompt kDialog{
    .kind = "dialog", .number = std::nullopt, .title = "", .url = "dlgEnq.htm"};

// Named answers answer every prompt they name, a number before a title; the queue answers
// the rest in order, whatever came between.
TEST(AnswerQueue, NamedAnswersComeFirstAndAnswerEveryPromptTheyName) {
  AnswerQueue queue(
      {6, std::string("CN1")},
      {{"Reset", 7}, {1010003, 1}, {"Save Cover Note", 2}, {"dlgReview.htm", std::string("save")}});
  // {number, title, url (a dialog when not empty), answer}
  const std::tuple<std::optional<std::int32_t>, std::string_view, std::string_view, Answer> cases[] = {
      // clang-format off
      {1010003, "Reset", "", 1}, {1210001, "Save Cover Note", "", 2},
      {std::nullopt, "", "pages/DLGREVIEW.HTM?mode=1", std::string("save")}, {std::nullopt, "Other", "", 6},
      {std::nullopt, "", "dlgEnq.htm", std::string("CN1")}, {std::nullopt, "", "dlgReview.htm", std::string("save")},
      // clang-format on
      {std::nullopt, "save cover note", "", 1},  // the queue is empty: the first button
  };
  for (const auto& [number, title, url, expected] : cases) {
    const Prompt prompt{.kind = "", .number = number, .title = title, .url = url};
    EXPECT_EQ(url.empty() ? Answer(queue.NextNumber(1, prompt, 1).value) : Answer(queue.NextText(prompt, 1).value),
              expected)
        << title << url;
  }
}

TEST(AnswerQueue, AnswerOfTheWrongKindIsAFaultNamingTheStep) {
  AnswerQueue queue({std::string("CN1")});
  EXPECT_EQ(queue.NextNumber(1, kBox, 4).value, 1);
  ASSERT_TRUE(queue.fault());
  EXPECT_EQ(*queue.fault(),
            "step 4: the message box shown here needs a number as its answer, and the next answer "
            "is not one");
  AnswerQueue start_up({1});
  start_up.NextText(kDialog, 0);
  EXPECT_EQ(start_up.fault()->substr(0, 9), "start-up:");
}

TEST(AnswerQueue, FirstButtonOfEachButtonSet) {
  namespace box = dom::message_box;
  const std::pair<int, std::int32_t> cases[] = {{box::kOkOnly | box::kExclamation, box::kOk},
                                                {box::kOkCancel | box::kQuestion, box::kOk},
                                                {box::kYesNo | box::kQuestion, box::kYes},
                                                {3, box::kYes},
                                                {box::kInformation, box::kOk}};
  for (const auto& [buttons, first] : cases) EXPECT_EQ(FirstButton(buttons), first) << buttons;
}

}  // namespace
}  // namespace cn::play
