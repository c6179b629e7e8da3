#pragma once
// When two texts of the record say the same: "1500" and "1,500.00" are the same sum insured,
// and two lists are the same when each of their elements is. A figure only written
// differently is no amendment.

#include <span>
#include <string_view>

#include "workspace/cover_note_record.h"

namespace cn {

// Lists (elements joined by U+FFFD) compare element by element.
bool SameValue(std::string_view before, std::string_view after);

// Whether the arrays of `a` and `b` hold the same rows, element by element.
bool SameArrays(const CoverNoteFields& a, const CoverNoteFields& b,
                std::span<const TextArray> arrays);

}  // namespace cn
