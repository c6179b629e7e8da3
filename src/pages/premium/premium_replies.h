#pragma once
// The figures of the rating engines' replies, as layouts of {position, field, conversion},
// and how a reply is stored in the cover note: all of it or, when any figure is missing or
// not a number, none of it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/cover_note_record.h"

namespace cn {

enum class RatingEngine { kCurrent, kNewTariff };

struct RatingReply {
  RatingEngine engine;
  std::vector<std::string> figures;                       // the reply, or its first part
  std::optional<std::vector<std::string>> transaction;    // the second part of an "Ex" reply
};

// Splits a reply: at U+FFFE, or for an "Ex" command first at U+FFFB into its two parts.
RatingReply SplitRatingReply(RatingEngine engine, bool ex_command, std::string_view reply);

// Stores the reply's figures in `current` and returns true; returns false and leaves
// `current` as it was when the reply is too short or a figure is not a number. The excess
// the engine proposes is taken only when the administrator did not type one; the excess
// code and the extended covers' sum insured follow the stored figures.
bool StoreRatingReply(CoverNoteFields& current, const RatingReply& reply, bool excess_entered);

}  // namespace cn
