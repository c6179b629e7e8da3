#include "base/date_reader.h"

#include <gtest/gtest.h>

#include "base/date_format.h"

namespace cn {
namespace {

std::string Shown(std::string_view text) {
  const std::optional<DateTime> read = ReadDateTime(text);
  return read ? FormatDateTime(*read) : "";
}

// What administrators type and the back end sends, read as "dd-MMM-yyyy hh:mm:ss AM/PM" (a date
// alone as "dd-MMM-yyyy"); "" when it is no date.
TEST(DateReader, ReadsTheFormsInUseAndRefusesNonsense) {
  // clang-format off
  const std::pair<std::string_view, std::string> cases[] = {
      {"5-Mar-2014", "05-Mar-2014"}, {"05-MARCH-2014", "05-Mar-2014"}, {"March 5, 2014", "05-Mar-2014"},
      {"2014-Mar-05", "05-Mar-2014"}, {"5 Mar 14", "05-Mar-2014"}, {"5.3.2014", "05-Mar-2014"},
      {"  05-Mar-2014  ", "05-Mar-2014"}, {"100-01-01", "01-Jan-0100"},
      // Day first when both readings are dates, month first only when day first is none; year
      // first reads month/day, then day/month.
      {"10/02/2014", "10-Feb-2014"}, {"03/25/2014", "25-Mar-2014"}, {"2014-25-03", "25-Mar-2014"},
      {"2014-02-03", "03-Feb-2014"}, {"31/04/2014", ""}, {"2014-02-30", ""},
      // Two-digit years lie between 1930 and 2029.
      {"01/01/30", "01-Jan-1930"}, {"31/12/29", "31-Dec-2029"}, {"1-Jan-00", "01-Jan-2000"},
      {"12/31/99", "31-Dec-1999"}, {"1/1/1", "01-Jan-2001"},
      // The 29th of February only in leap years.
      {"29/02/2024", "29-Feb-2024"}, {"02/29/2024", "29-Feb-2024"}, {"29-Feb-2023", ""}, {"29-Feb-1900", ""},
      // A time beside the date or alone (on the zero date).
      {"05/03/2014 10:30:00 AM", "05-Mar-2014 10:30:00 AM"}, {"2014-03-05 14:05", "05-Mar-2014 02:05:00 PM"},
      {"05-Mar-2014 12:30:00 PM", "05-Mar-2014 12:30:00 PM"}, {"05-Mar-2014 10 pm", "05-Mar-2014 10:00:00 PM"},
      {"10:30 05-Mar-2014", "05-Mar-2014 10:30:00 AM"}, {"10:30:00 PM", "30-Dec-1899 10:30:00 PM"},
      {"05-Mar-2014 25:00", ""}, {"05-Mar-2014 13:00 PM", ""}, {"05 10:30 Mar 2014", ""},
      {"05-Mar-2014 10:30 11:30", ""},
      // Nonsense.
      {"", ""}, {"abc", ""}, {"05-Mac-2014", ""}, {"5/3", ""}, {"2014", ""}, {"20140305", ""},
      {"05-03-2014-01", ""}, {"05-Mar-2014-", ""}, {"0099-01-01", ""}, {"5-Mar-2014 10", ""},
      {"05-Mar-2014T10:30", ""}, {"\xD9\xA5-Mar-2014", ""},
      // What the formatters write reads back unchanged.
      {"05-Mar-2014 02:05:09 PM", "05-Mar-2014 02:05:09 PM"}, {"31-Dec-9999 11:59:59 PM", "31-Dec-9999 11:59:59 PM"},
      {"29-Feb-2024 12:00:00 AM", "29-Feb-2024"}, {"01-Jan-0100 12:30:00 PM", "01-Jan-0100 12:30:00 PM"}};
  // clang-format on
  // A date alone reads as midnight.
  for (const auto& [typed, read] : cases)
    EXPECT_EQ(Shown(typed), read.size() == 11 ? read + " 12:00:00 AM" : read) << typed;
  EXPECT_EQ(ReadDate("05/03/2014 10:30:00 AM"), Date::FromYmd(2014, 3, 5));
  EXPECT_EQ(ReadDate("10:30"), Date());
  EXPECT_FALSE(ReadDate("31-Apr-2014"));
}

}  // namespace
}  // namespace cn
