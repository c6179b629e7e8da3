#pragma once
// When two sets of a record's rows say the same: element by element, as the review compares
// one field (base/same_value.h), so that "1500" and "1,500.00" are the same sum insured.

#include <span>

#include "base/same_value.h"
#include "workspace/cover_note_record.h"

namespace cn {

// Whether the arrays of `a` and `b` hold the same rows, element by element.
bool SameArrays(const CoverNoteFields& a, const CoverNoteFields& b,
                std::span<const TextArray> arrays);

}  // namespace cn
