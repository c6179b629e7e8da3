#pragma once
// The format checks of single inputs. Each trims what was typed and may rewrite
// it into the plain form the screen works with; the rules need no database.
//
// Cover note numbers are "CN" followed by eight digits (the year's two digits and
// a six-digit serial, as CN24000101); policy numbers never start with "CN", so a
// number that is not a cover note number is read as a policy number.

#include "integration/components.h"

namespace cn::components {

class TextInputChecks final : public InputCheckService {
 public:
  // A number, not negative, at most four decimals; grouping commas and a trailing
  // "%" are dropped ("12.5 %" becomes "12.5"); empty becomes "0".
  InputCheckAnswer CheckPercentageText(std::string& text) override;
  // A number, not negative, at most two decimals; grouping commas and a leading
  // "+" are dropped ("1,234.50" becomes "1234.50"); empty becomes "0".
  InputCheckAnswer CheckAmountText(std::string& text) override;
  // Digits only, at most five (the exact length is the caller's rule).
  InputCheckAnswer CheckPostcodeText(std::string& text) override;
  // Four digits; two digits are widened as dates are (30 is 1930, 29 is 2029).
  InputCheckAnswer CheckYearMadeText(std::string& text) override;
  // Upper-cased, blanks removed. The flag is true when the result is NOT a cover
  // note number.
  InputCheckAnswer CheckNumberText(std::string& text) override;
};

}  // namespace cn::components
