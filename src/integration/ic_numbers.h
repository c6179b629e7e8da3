#pragma once
// Malaysian identity-card numbers, always handled as text. A new IC number is
// twelve digits YYMMDD-PP-SSSS (birth date, place code, serial), written with two
// dashes as "800111-01-1123"; an old IC number has at most eight characters
// ("A1234567"). The nil words "nil", "NIL", "na", "NA" and "-" (exactly, after
// trimming) mean "no number" and are written back as "-".

#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "integration/components.h"

namespace cn {

// Message shown for a number that is not a valid IC number, titled "Invalid IC Number".
inline constexpr std::int32_t kInvalidICNumberMessage = 2310003;

// Drops a dash that starts the text or follows another dash; a text of one
// character stays as it is. "--80--01-" becomes "80-01-".
std::string NormaliseICDashes(std::string_view text);

// The new IC number written with its two dashes, "-" for a nil word, "" for an
// empty one, and "0" when it is not a valid number (with the message when
// `show_message`). The birth date part passes when it reads as day/month/year or,
// failing that, as month/day/year.
std::string FormatNewIC(const Components& components, std::string_view number,
                        bool show_message);

// The old IC number trimmed, "-" for a nil word, and "0" with the message when it
// has nine or more characters.
std::string FormatOldIC(const Components& components, std::string_view number);

// The birth date "DD-MM-YY" of a 14-character new IC number; "DD-MM-19YY" when the
// two-digit year would lie after the current year of `local_clock`. "" for other
// lengths and for a birth date that is not a date or has a month of 13 or more
// (then with the message when `show_message`).
std::string DOBFromNewIC(const Components& components, const Clock& local_clock,
                         std::string_view number, bool show_message);

}  // namespace cn
