// Text the administrator types or a reply carries, read as dates, amounts and numbers.
#include "base/currency.h"
#include "base/date_reader.h"
#include "base/decimal_text.h"
#include "base/number_format.h"
#include "refusal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = cn::fuzzing::Text(data, size);
  (void)cn::ReadDateTime(text);
  (void)cn::ReadDate(text);
  (void)cn::ScanDecimal(text);
  if (const auto amount = cn::Currency::TryParse(text)) (void)cn::FormatMoney2(*amount);
  (void)cn::FormatFigure(text, 0);  // a stored figure is shown, never refused
  // Typed text: not a number, or too large, is refused.
  cn::fuzzing::MayRefuse([&] { (void)cn::FormatNumber(text, 2); });
  return 0;
}
