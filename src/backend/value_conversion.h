#pragma once
// How one field's text changes between what the screen sends and reads and what
// the database keeps (see Conversion).

#include <optional>
#include <string>
#include <string_view>

#include "backend/layouts.h"
#include "base/date.h"

namespace cn::backend {

// Longest text one field may hold; a list field may hold this many per row.
inline constexpr std::size_t kMaxFieldCharacters = 200;
inline constexpr std::size_t kMaxListCharacters = 4000;

// The stored text (empty for NULL) as the screen reads it.
std::string ToReplyText(Conversion conversion, std::string_view stored);

// What to store for the text the screen sent: nullopt stores NULL. `valid` is
// false for text that does not fit the field (not a number where an amount
// belongs, not a date, a separator inside the data, too long).
struct StoredValue {
  bool valid = true;
  std::optional<std::string> value;
};
StoredValue FromSentText(Conversion conversion, std::string_view sent);

// The database's own forms: yyyy-mm-dd and yyyy-mm-dd hh:mm:ss.
std::string IsoDate(const Date& date);
std::string IsoDateTime(const DateTime& date_time);

// Two decimals, no grouping: 1234.50, -0.50, 0.00.
std::string AmountText(std::string_view stored_units);

}  // namespace cn::backend
