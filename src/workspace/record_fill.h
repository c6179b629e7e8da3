#pragma once
// Filling the cover note record from the replies of the read commands.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/cover_note_record.h"

namespace cn {

// A reply split at every U+FFFE into its positions; an empty reply has none.
std::vector<std::string> SplitReplyFields(std::string_view reply);

// The positions of a policy reply: its second part (after the first U+FFFB) split
// at every U+FFFE; none when the reply has no second part.
std::vector<std::string> SplitPolicyReplyFields(std::string_view reply);

// What the read of the Cover tab does at its steps of the fill. A step that is not
// set is skipped (and the number keeps the reply's spelling).
struct ReadAdminSteps {
  // Fills Previous from the previous cover note or policy (transfers and extensions).
  std::function<void(std::string_view previous_document_no)> ReadPreviousDocument = {};
  // The current value of "txtCoverNoteNumber": the number as the administrator typed it.
  std::function<std::string()> TypedCoverNoteNo = {};
  // The Cover tab's client step: reads the client master for the filled client code.
  std::function<void()> LoadClientAsRead = {};
};

// Fills Current from the positions of a "KivoGIUWR.CoverNote.ReadAdmin" reply,
// then Previous, then the typed number, then the client step. A reply without
// positions changes nothing, so the record stays as its defaults made it.
void FillFromReadAdminReply(CoverNoteRecord& record, std::span<const std::string> reply_fields,
                            const ReadAdminSteps& steps);

enum class PreviousDocument { kCoverNote, kPolicy };

// Fills Previous from the positions of a "KivoGIUWR.CoverNote.Read" reply or of the
// second part of a "Tarvin.Policy.Read" reply. A reply without positions changes
// nothing.
void FillPreviousFromReply(CoverNoteRecord& record, PreviousDocument source,
                           std::span<const std::string> reply_fields);

}  // namespace cn
