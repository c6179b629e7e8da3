// Back-end replies as the screen reads them: split into positions and filled into the cover
// note record by each reply layout. A position that does not convert is a RuntimeFailure
// (type mismatch), as the screen reports it.
#include "base/runtime_failure.h"
#include "refusal.h"
#include "workspace/cover_note_record.h"
#include "workspace/record_fill.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply = cn::fuzzing::Text(data, size);
  const auto fields = cn::SplitReplyFields(reply);
  cn::CoverNoteRecord record;  // a fresh record for each layout
  cn::fuzzing::MayRefuse(
      [&, record]() mutable { cn::FillFromReadAdminReply(record, fields, {}); });
  cn::fuzzing::MayRefuse([&, record]() mutable {
    cn::FillPreviousFromReply(record, cn::PreviousDocument::kCoverNote, fields);
  });
  cn::fuzzing::MayRefuse([&, record]() mutable {
    cn::FillPreviousFromReply(record, cn::PreviousDocument::kPolicy,
                              cn::SplitPolicyReplyFields(reply));
  });
  return 0;
}
