#include <gtest/gtest.h>

#include <initializer_list>

#include "components/input_check_service.h"

namespace cn::components::testing {
namespace {

using Operation = InputCheckAnswer (InputCheckService::*)(std::string&);

struct Case {
  const char *typed, *written_back;
  bool flag;
  const char* title;  // "" when the check has nothing to say
};

void ExpectChecks(Operation operation, std::initializer_list<Case> cases) {
  TextInputChecks checks;
  for (const Case& c : cases) {
    std::string text = c.typed;
    const InputCheckAnswer answer = (checks.*operation)(text);
    SCOPED_TRACE('"' + std::string(c.typed) + '"');
    EXPECT_EQ(text, c.written_back);
    EXPECT_EQ(answer.flag, c.flag);
    EXPECT_EQ(answer.title, c.title);
    EXPECT_EQ(answer.message.empty(), std::string_view(c.title).empty());
  }
}

TEST(InputChecks, AmountsPercentagesPostcodesAndYearsMade) {
  ExpectChecks(&InputCheckService::CheckAmountText, {
      {"1,234.50", "1234.50", true, ""}, {"+3.5", "3.5", true, ""},
      {".5", "0.5", true, ""}, {"", "0", true, ""},
      {"12.345", "12.345", false, "Invalid Format"}, {"-5", "-5", false, "Invalid Data"},
      {"12a", "12a", false, "Invalid Format"},
      {"99999999999999", "99999999999999", false, "Invalid Data"},
  });
  ExpectChecks(&InputCheckService::CheckPercentageText, {
      {"12.5%", "12.5", true, ""}, {" 38.33 % ", "38.33", true, ""},
      {"", "0", true, ""}, {"12.34567", "12.34567", false, "Invalid Format"},
      {"-1", "-1", false, "Invalid Data"},
      {"%", "0", true, ""},  // a lone "%" is an empty percentage: nought
  });
  ExpectChecks(&InputCheckService::CheckPostcodeText, {
      {" 50450 ", "50450", true, ""},
      {"5045", "5045", true, ""},  // the length is the caller's rule
      {"504500", "504500", false, "Invalid Data"}, {"5O450", "5O450", false, "Invalid Data"},
      {"", "", false, "Invalid Data"},
  });
  ExpectChecks(&InputCheckService::CheckYearMadeText, {
      {" 1998 ", "1998", true, ""}, {"29", "2029", true, ""}, {"30", "1930", true, ""},
      {"201", "201", false, "Invalid Format"}, {"20190", "20190", false, "Invalid Format"},
      {"", "", false, "Invalid Format"},
  });
}

// The flag is raised for what is NOT a cover note number: policy numbers and
// anything else go to the policy read.
TEST(InputChecks, CoverNoteNumbersAreToldFromPolicyNumbers) {
  ExpectChecks(&InputCheckService::CheckNumberText, {
      {"CN24000101", "CN24000101", false, ""}, {" cn24000101 ", "CN24000101", false, ""},
      {"CN 2400 0101", "CN24000101", false, ""},
      {"VPC2300011", "VPC2300011", true, "Invalid Cover Note Number"},
      {"CN2400010", "CN2400010", true, "Invalid Cover Note Number"},
      {"CNX4000101", "CNX4000101", true, "Invalid Cover Note Number"},
  });

  TextInputChecks checks;
  std::string policy = "VPC2300011";
  EXPECT_EQ(checks.CheckNumberText(policy).message,
            "\"VPC2300011\" is not a cover note number. A cover note number is CN followed by "
            "eight digits, for example CN24000101.");
}

}  // namespace
}  // namespace cn::components::testing
