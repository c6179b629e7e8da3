#include "base/separators.h"
#include "base/text.h"

#include <gtest/gtest.h>

namespace cn {
namespace {

// "Zoë Ñúñez" has accented letters of two bytes each; rules that cut names must cut characters.
constexpr std::string_view kAccented = "Zo\xC3\xAB \xC3\x91\xC3\xBA\xC3\xB1" "ez";

TEST(Text, CountsAndCutsCharactersNotBytes) {
  EXPECT_EQ(Len(kAccented), 9u);
  EXPECT_EQ(Len(""), 0u);
  EXPECT_EQ(Len(RecordSeparator), 1u);
  EXPECT_EQ(Left(kAccented, 3), "Zo\xC3\xAB");
  EXPECT_EQ(Right(kAccented, 4), "\xC3\xBA\xC3\xB1" "ez");
  EXPECT_EQ(Mid(kAccented, 5, 2), "\xC3\x91\xC3\xBA");
  EXPECT_EQ(Mid(kAccented, 5), "\xC3\x91\xC3\xBA\xC3\xB1" "ez");
  EXPECT_EQ(Mid("abc", 2, 99), "bc");
  EXPECT_EQ(Right("abc", 10), "abc");
  EXPECT_EQ(InStr(kAccented, "ez"), 8u);
  EXPECT_EQ(InStr("a-b-c", "-", 3), 4u);
  EXPECT_EQ(InStr("abc", "x"), 0u);
}

TEST(Text, TrimsSpacesOnlyAndChangesCaseOfLatinLetters) {
  EXPECT_EQ(Trim("  WXY 1234 \t "), "WXY 1234 \t");
  EXPECT_EQ(Trim("    "), "");
  EXPECT_EQ(RTrim("  a "), "  a");
  EXPECT_EQ(UCase(kAccented), "ZO\xC3\x8B \xC3\x91\xC3\x9A\xC3\x91" "EZ");
  EXPECT_EQ(LCase("ABC-\xC3\x91"), "abc-\xC3\xB1");
  EXPECT_EQ(UCase("\xC3\x9F"), "\xC3\x9F");  // sharp s stays as it is
}

TEST(Text, SplitsLikeTheReplyListsAreRead) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split("", ";"), V{});
  EXPECT_EQ(Split("a;", ";"), (V{"a", ""}));
  EXPECT_EQ(Split(";;", ";"), (V{"", "", ""}));
  EXPECT_EQ(Split("1|~|2|~|3", "|~|"), (V{"1", "2", "3"}));
  const std::string reply = std::string("A") + std::string(FieldSeparator) + "B" +
                            std::string(RecordSeparator) + "C";
  EXPECT_EQ(Split(reply, RecordSeparator).size(), 2u);
  EXPECT_EQ(Join(Split(reply, FieldSeparator), FieldSeparator), reply);
  EXPECT_EQ(Replace("12-34-56", "-", ""), "123456");
  EXPECT_EQ(Replace("aaa", "aa", "a"), "aa");
  EXPECT_EQ(Replace("L1\nL2", "\n", "\r\n"), "L1\r\nL2");
}

}  // namespace
}  // namespace cn
