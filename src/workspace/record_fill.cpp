#include "workspace/record_fill.h"

#include <limits>

#include "base/separators.h"
#include "base/text.h"
#include "workspace/read_layouts.h"
#include "workspace/reply_layout.h"

namespace cn {
namespace {

constexpr int kFirstPosition = 0;
constexpr int kLastPosition = std::numeric_limits<int>::max();
// The ReadAdmin positions assigned after the previous document has been read.
constexpr int kLaterPositions = 105;
// The marital status waits for the last of the vehicle flags.
constexpr int kMaritalStatusAfter = 162;

// Transfers and extensions are rated against the document they replace.
bool ComparesWithPreviousDocument(std::string_view transaction_type) {
  return transaction_type == "T" || transaction_type == "E";
}

}  // namespace

std::vector<std::string> SplitReplyFields(std::string_view reply) {
  return Split(reply, FieldSeparator);
}

std::vector<std::string> SplitPolicyReplyFields(std::string_view reply) {
  const std::vector<std::string> parts = Split(reply, ParamSeparator);
  if (parts.size() < 2) return {};
  return SplitReplyFields(parts[1]);
}

void FillFromReadAdminReply(CoverNoteRecord& record, std::span<const std::string> reply_fields,
                            const ReadAdminSteps& steps) {
  const ReplyFields reply(reply_fields);
  if (reply.empty()) return;
  const ReplyLayout layout = ReadAdminLayout();

  AssignRows(record, Instance::kCurrent, layout, reply, kFirstPosition, kLaterPositions - 1);
  FillArrayGroups(record, Instance::kCurrent, layout, reply);

  if (!ComparesWithPreviousDocument(record.Current.TransactionType)) {
    record.Previous = PackedFields(record.Current);
  } else if (steps.ReadPreviousDocument) {
    steps.ReadPreviousDocument(record.Current.PreviousDocumentNo);
  }

  if (steps.TypedCoverNoteNo) record.Current.CoverNoteNo = steps.TypedCoverNoteNo();
  AssignRows(record, Instance::kCurrent, layout, reply, kLaterPositions, kMaritalStatusAfter);
  AssignMaritalStatus(record, Instance::kCurrent, layout, reply);
  AssignRows(record, Instance::kCurrent, layout, reply, kMaritalStatusAfter + 1, kLastPosition);

  if (steps.LoadClientAsRead) steps.LoadClientAsRead();
}

void FillPreviousFromReply(CoverNoteRecord& record, PreviousDocument source,
                           std::span<const std::string> reply_fields) {
  const ReplyFields reply(reply_fields);
  if (reply.empty()) return;
  const ReplyLayout layout =
      source == PreviousDocument::kPolicy ? PolicyReadLayout() : CoverNoteReadLayout();
  AssignRows(record, Instance::kPrevious, layout, reply, kFirstPosition, kLastPosition);
  FillArrayGroups(record, Instance::kPrevious, layout, reply);
}

}  // namespace cn
