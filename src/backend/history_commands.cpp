// The saved amendments of a cover note, from the audit the saves write.

#include <algorithm>
#include <array>
#include <vector>

#include "backend/command.h"
#include "backend/document_store.h"
#include "backend/layouts.h"
#include "backend/parameters.h"
#include "backend/value_conversion.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

namespace history {
inline constexpr std::int32_t kNotFound = 1;
inline constexpr std::int32_t kOtherAgent = 2;
}  // namespace history

// The saved record's position of a stored column, as the screen captions it.
std::string PositionOf(std::string_view column) {
  for (const LayoutRow& row : WriteAdminRecordLayout()) {
    if (row.field == column) return std::to_string(row.position);
  }
  return {};
}

struct Change {
  std::string position, before, after;
};

struct Amendment {
  std::int64_t id = 0;
  std::string version, saved_at, user_id, endorsement;
  std::vector<Change> changes;
};

// number, agent code. One record per changed field, newest amendment first: version, saved
// at, user, total premium before and after, position, before, after, and the endorsement the
// amendment gave (empty for one saved before endorsements were made). An amendment that
// changed nothing gives one record with an empty position.
Result CoverNoteHistory(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 2);
  if (!values || Trim((*values)[0]).empty()) return Malformed();
  Database& db = context.db;
  const auto id = FindDocument(db, kCoverNoteDocument, Trim((*values)[0]));
  if (!id) return Result{{}, history::kNotFound};
  const FieldValues note = LoadDocument(db, kCoverNoteDocument, *id);
  if (!AgentMayRead(db, note.at("agent_code"), (*values)[1]))
    return Result{{}, history::kOtherAgent};

  Statement& find = db.Prepare(
      "SELECT a.id, a.version_after, a.saved_at, a.user_id, coalesce(e.endorsement_no, '') "
      "FROM amendment a LEFT JOIN endorsement e ON e.amendment_id = a.id "
      "WHERE a.document_kind = 'cover_note' AND upper(a.document_no) = upper(?1) "
      "ORDER BY a.id DESC");
  find.Bind(1, std::string_view(note.at("cover_note_no")));
  std::vector<Amendment> amendments;
  while (find.Step()) {
    amendments.push_back({find.Int(0),
                          find.Text(1),
                          ToReplyText(Conversion::kDateTime, find.Text(2)),
                          find.Text(3),
                          find.Text(4),
                          {}});
  }
  for (Amendment& amendment : amendments) {
    Statement& changes = db.Prepare(
        "SELECT field, before_value, after_value FROM amendment_change WHERE amendment_id = ?1");
    changes.Bind(1, amendment.id);
    while (changes.Step()) {
      amendment.changes.push_back({PositionOf(changes.Text(0)), changes.Text(1), changes.Text(2)});
    }
    // In the order of the saved record, as the screen lists its fields.
    std::ranges::stable_sort(amendment.changes, {}, [](const Change& change) {
      return change.position.empty() ? -1 : std::stoi(change.position);
    });
  }

  // The premium after the newest amendment is the one stored; each amendment's premium
  // before is the one after the amendment before it.
  std::string premium = ToReplyText(Conversion::kMoney, note.at("total_premium"));
  const std::string total_premium = PositionOf("total_premium");
  std::vector<std::string> records;
  for (const Amendment& amendment : amendments) {
    const std::string premium_after = premium;
    for (const Change& change : amendment.changes) {
      if (change.position == total_premium) premium = change.before;
    }
    std::vector<Change> listed = amendment.changes;
    if (listed.empty()) listed.push_back({});
    for (const Change& change : listed) {
      records.push_back(
          Join({amendment.version, amendment.saved_at, amendment.user_id, premium, premium_after,
                change.position, change.before, change.after, amendment.endorsement},
               FieldSeparator));
    }
  }
  return Result{Join(records, RecordSeparator), status::kOk};
}

constexpr std::array kCommands = {
    CommandEntry{"KivoGIUWR.CoverNote.History", CoverNoteHistory, Access::kRead},
};

}  // namespace

std::span<const CommandEntry> HistoryCommands() { return kCommands; }

}  // namespace cn::backend
