#include "base/separators.h"
#include "base/text.h"

#include <gtest/gtest.h>

namespace cn {
namespace {

// "Zoë Ñúñez" has accented letters of two bytes each; rules that cut names must cut characters.
constexpr std::string_view kAccented = "Zo\xC3\xAB \xC3\x91\xC3\xBA\xC3\xB1" "ez";

using V = std::vector<std::string>;

TEST(Text, CountsAndCutsCharactersNotBytes) {
  EXPECT_EQ((std::vector<std::size_t>{Len(kAccented), Len(""), Len(RecordSeparator),
                                      InStr(kAccented, "ez"), InStr("a-b-c", "-", 3),
                                      InStr("abc", "x"), Len("a\xF0\x9F\x9A\x97" "b")}),
            (std::vector<std::size_t>{9, 0, 1, 8, 4, 0, 3}));
  EXPECT_EQ((V{Left(kAccented, 3), Right(kAccented, 4), Mid(kAccented, 5, 2), Mid(kAccented, 5),
               Mid("abc", 2, 99), Right("abc", 10)}),
            (V{"Zo\xC3\xAB", "\xC3\xBA\xC3\xB1" "ez", "\xC3\x91\xC3\xBA",
               "\xC3\x91\xC3\xBA\xC3\xB1" "ez", "bc", "abc"}));
}

TEST(Text, TrimsSpacesOnlyAndChangesCaseOfLatinLetters) {
  EXPECT_EQ((V{Trim("  WXY 1234 \t "), Trim("    "), RTrim("  a "), UCase(kAccented),
               LCase("ABC-\xC3\x91"), UCase("\xC3\x9F")}),  // sharp s stays as it is
            (V{"WXY 1234 \t", "", "  a", "ZO\xC3\x8B \xC3\x91\xC3\x9A\xC3\x91" "EZ", "abc-\xC3\xB1",
               "\xC3\x9F"}));
}

TEST(Text, SplitsLikeTheReplyListsAreRead) {
  EXPECT_EQ((std::vector{Split("", ";"), Split("a;", ";"), Split(";;", ";"), Split("1|~|2|~|3", "|~|")}),
            (std::vector<V>{{}, {"a", ""}, {"", "", ""}, {"1", "2", "3"}}));
  const std::string reply = std::string("A") + std::string(FieldSeparator) + "B" +
                            std::string(RecordSeparator) + "C";
  EXPECT_EQ(Split(reply, RecordSeparator).size(), 2u);
  EXPECT_EQ(Join(Split(reply, FieldSeparator), FieldSeparator), reply);
  EXPECT_EQ((V{Replace("12-34-56", "-", ""), Replace("aaa", "aa", "a"),
               Replace("L1\nL2", "\n", "\r\n")}),
            (V{"123456", "aa", "L1\r\nL2"}));
}

}  // namespace
}  // namespace cn
