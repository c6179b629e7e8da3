#include "base/date_reader.h"

#include <gtest/gtest.h>

#include "base/date_format.h"

namespace cn {
namespace {

struct ReadCase {
  std::string_view typed;
  std::string_view read;  // "dd-MMM-yyyy hh:mm:ss AM/PM"; empty when it is no date
};

std::string Shown(std::string_view text) {
  const std::optional<DateTime> read = ReadDateTime(text);
  return read ? FormatDateTime(*read) : "";
}

TEST(DateReader, ReadsTheFormsAdministratorsAndTheBackEndUse) {
  const ReadCase cases[] = {
      {"5-Mar-2014", "05-Mar-2014 12:00:00 AM"},    {"05-MARCH-2014", "05-Mar-2014 12:00:00 AM"},
      {"March 5, 2014", "05-Mar-2014 12:00:00 AM"}, {"2014-Mar-05", "05-Mar-2014 12:00:00 AM"},
      {"5 Mar 14", "05-Mar-2014 12:00:00 AM"},      {"5.3.2014", "05-Mar-2014 12:00:00 AM"},
      {"  05-Mar-2014  ", "05-Mar-2014 12:00:00 AM"}, {"100-01-01", "01-Jan-0100 12:00:00 AM"},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(Shown(c.typed), c.read) << c.typed;
}

TEST(DateReader, ReadsDayMonthFirstAndMonthDayOnlyWhenThatIsNoDate) {
  const ReadCase cases[] = {
      {"10/02/2014", "10-Feb-2014 12:00:00 AM"},  // both readings possible: day first
      {"03/25/2014", "25-Mar-2014 12:00:00 AM"},
      {"2014-25-03", "25-Mar-2014 12:00:00 AM"},  // year first: month/day, then day/month
      {"2014-02-03", "03-Feb-2014 12:00:00 AM"},
      {"31/04/2014", ""},  // neither reading is a date
      {"2014-02-30", ""},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(Shown(c.typed), c.read) << c.typed;
}

TEST(DateReader, PutsTwoDigitYearsBetween1930And2029) {
  const ReadCase cases[] = {
      {"01/01/30", "01-Jan-1930 12:00:00 AM"}, {"31/12/29", "31-Dec-2029 12:00:00 AM"},
      {"1-Jan-00", "01-Jan-2000 12:00:00 AM"}, {"12/31/99", "31-Dec-1999 12:00:00 AM"},
      {"1/1/1", "01-Jan-2001 12:00:00 AM"},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(Shown(c.typed), c.read) << c.typed;
}

TEST(DateReader, KnowsThe29thOfFebruaryOnlyInLeapYears) {
  const ReadCase cases[] = {
      {"29/02/2024", "29-Feb-2024 12:00:00 AM"},
      {"02/29/2024", "29-Feb-2024 12:00:00 AM"},
      {"29-Feb-2023", ""},
      {"29-Feb-1900", ""},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(Shown(c.typed), c.read) << c.typed;
}

TEST(DateReader, ReadsATimeBesideTheDateOrAlone) {
  const ReadCase cases[] = {
      {"05/03/2014 10:30:00 AM", "05-Mar-2014 10:30:00 AM"},
      {"2014-03-05 14:05", "05-Mar-2014 02:05:00 PM"},
      {"05-Mar-2014 12:30:00 PM", "05-Mar-2014 12:30:00 PM"},
      {"05-Mar-2014 10 pm", "05-Mar-2014 10:00:00 PM"},
      {"10:30 05-Mar-2014", "05-Mar-2014 10:30:00 AM"},
      {"10:30:00 PM", "30-Dec-1899 10:30:00 PM"},  // the zero date
      {"05-Mar-2014 25:00", ""},
      {"05-Mar-2014 13:00 PM", ""},
      {"05 10:30 Mar 2014", ""},
      {"05-Mar-2014 10:30 11:30", ""},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(Shown(c.typed), c.read) << c.typed;
}

TEST(DateReader, RefusesNonsense) {
  // clang-format off
  const std::string_view nonsense[] = {
      "", "abc", "05-Mac-2014", "5/3", "2014", "20140305", "05-03-2014-01", "05-Mar-2014-",
      "0099-01-01", "5-Mar-2014 10", "05-Mar-2014T10:30", "\xD9\xA5-Mar-2014"};
  // clang-format on
  for (const std::string_view text : nonsense) EXPECT_EQ(Shown(text), "") << text;
}

TEST(DateReader, ReadsBackWhatTheFormattersWrite) {
  for (const std::string_view shown : {"05-Mar-2014 02:05:09 PM", "29-Feb-2024 12:00:00 AM",
                                       "31-Dec-9999 11:59:59 PM", "01-Jan-0100 12:30:00 PM"}) {
    EXPECT_EQ(Shown(shown), shown);
  }
  EXPECT_EQ(ReadDate("05/03/2014 10:30:00 AM"), Date::FromYmd(2014, 3, 5));
  EXPECT_EQ(ReadDate("10:30"), Date());
  EXPECT_FALSE(ReadDate("31-Apr-2014"));
}

}  // namespace
}  // namespace cn
