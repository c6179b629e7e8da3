// Reading, saving and finding cover notes, and reading previous policies.

#include <algorithm>
#include <array>

#include "backend/command.h"
#include "backend/document_store.h"
#include "backend/endorsements.h"
#include "backend/layouts.h"
#include "backend/parameters.h"
#include "backend/result_codes.h"
#include "backend/value_conversion.h"
#include "base/date_format.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

bool IsHeadOffice(Database& db, std::string_view agent_code) {
  Statement& agent = db.Prepare("SELECT head_office FROM agent WHERE code = ?1");
  agent.Bind(1, agent_code);
  return agent.Step() && agent.Int(0) != 0;
}

bool Has(const FieldValues& values, std::string_view column) {
  const auto found = values.find(column);
  return found != values.end() && !found->second.empty();
}

std::string Value(const FieldValues& values, std::string_view column) {
  const auto found = values.find(column);
  return found == values.end() ? std::string() : found->second;
}

std::int32_t ReadAdminCode(Database& db, const FieldValues& note, std::string_view agent_code) {
  if (Value(note, "agent_code") != agent_code && !IsHeadOffice(db, agent_code)) {
    return read_admin::kOtherAgent;
  }
  if (Has(note, "uploaded_at")) return read_admin::kUploaded;
  const std::string state = Value(note, "status");
  if (state == "C") return read_admin::kVoided;
  if (Has(note, "submitted_at")) return read_admin::kSubmitted;
  if (state == "U") return read_admin::kUnused;
  if (state == "M") return read_admin::kMissing;
  return read_admin::kAmendable;
}

// number, agent code, "0"
Result ReadAdmin(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 3);
  if (!values || (*values)[0].empty()) return Malformed();
  const auto id = FindDocument(context.db, kCoverNoteDocument, Trim((*values)[0]));
  if (!id) return Result{{}, read_admin::kNotFound};
  const FieldValues note = LoadDocument(context.db, kCoverNoteDocument, *id);
  const std::int32_t code = ReadAdminCode(context.db, note, (*values)[1]);
  if (code != read_admin::kAmendable) return Result{{}, code};
  return Result{BuildReply(ReadAdminReplyLayout(), note), read_admin::kAmendable};
}

// number, agent code, "1": the cover note a transfer or extension replaces; only for its own
// agent and the head office (another agent's is 2, and nothing of it is sent).
Result ReadPreviousCoverNote(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 3);
  if (!values) return Malformed();
  const auto id = FindDocument(context.db, kCoverNoteDocument, Trim((*values)[0]));
  if (!id) return Result{{}, 1};
  const FieldValues note = LoadDocument(context.db, kCoverNoteDocument, *id);
  if (!AgentMayRead(context.db, Value(note, "agent_code"), (*values)[1])) return Result{{}, 2};
  return Result{BuildReply(CoverNoteReadReplyLayout(), note), 0};
}

// number, agent code, "1": a policy in two parts, its heading and its fields; only for its own
// agent and the head office (another agent's is 2).
Result ReadPolicy(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 3);
  if (!values) return Malformed();
  const auto id = FindDocument(context.db, kPolicyDocument, Trim((*values)[0]));
  if (!id) return Result{{}, 1};
  const FieldValues policy = LoadDocument(context.db, kPolicyDocument, *id);
  if (!AgentMayRead(context.db, Value(policy, "agent_code"), (*values)[1])) return Result{{}, 2};
  const std::string heading = Join({Value(policy, "policy_no"), Value(policy, "status"),
                                    Value(policy, "agent_code")},
                                   FieldSeparator);
  return Result{heading + std::string(ParamSeparator) + BuildReply(PolicyReplyLayout(), policy),
                0};
}

struct User {
  std::string agent_code;
  std::int64_t authority_level = 0;
  bool head_office = false;
  bool may_amend = false;  // the role "amend", and not disabled
};

std::optional<User> FindUser(Database& db, std::string_view user_id) {
  Statement& user = db.Prepare(
      "SELECT coalesce(u.agent_code, ''), u.authority_level, coalesce(a.head_office, 1), "
      "CASE WHEN u.role = 'amend' AND u.disabled = 0 THEN 1 ELSE 0 END "
      "FROM app_user u LEFT JOIN agent a ON a.code = u.agent_code WHERE u.user_id = ?1");
  user.Bind(1, user_id);
  if (!user.Step()) return std::nullopt;
  return User{user.Text(0), user.Int(1), user.Int(2) != 0, user.Int(3) != 0};
}

// user id, number as read, number to save under, record. Saved: the endorsement's number and
// the SHA-256 of its PDF.
Result WriteAdmin(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 4, /*record_last=*/true);
  if (!values) return Malformed();
  const ParsedRecord record = ParseRecord(WriteAdminRecordLayout(), (*values)[3]);
  if (!record.valid) return Malformed();
  const std::string user_id = Trim((*values)[0]);
  const std::string read_number = UCase(Trim((*values)[1]));
  const std::string new_number = UCase(Trim((*values)[2]));
  if (user_id.empty() || read_number.empty() || new_number.empty()) {
    return Result{{}, write_admin::kIncomplete};
  }
  const auto user = FindUser(context.db, user_id);
  if (!user) return Result{{}, write_admin::kIncomplete};
  // A user who may only enquire writes nothing, whatever the request.
  if (!user->may_amend) return Result{{}, write_admin::kNotAllowed};

  Database& db = context.db;
  const auto id = FindDocument(db, kCoverNoteDocument, read_number);
  if (!id) return Result{{}, write_admin::kNotFound};
  const FieldValues before = LoadDocument(db, kCoverNoteDocument, *id);
  if (!user->head_office && Value(before, "agent_code") != user->agent_code) {
    return Result{{}, write_admin::kOtherAgent};
  }
  if (Has(before, "uploaded_at")) return Result{{}, write_admin::kUploaded};
  if (Has(before, "submitted_at") || Value(before, "status") != "R") {
    return Result{{}, write_admin::kNotAmendable};
  }
  const DateTime now = context.clock.Now();
  if (Has(before, "expiry_date") && Value(before, "expiry_date") < IsoDate(now.date)) {
    return Result{{}, write_admin::kExpired};
  }
  const auto key = ParseDocumentKey(record.key);
  if (!key || key->id != *id || std::to_string(key->version) != Value(before, "version")) {
    // Who saved it since, and when, so that the administrator knows whom to ask.
    const std::string saved_by =
        Has(before, "amended_by")
            ? Join({Value(before, "amended_by"),
                    ToReplyText(Conversion::kDateTime, Value(before, "amended_at"))},
                   FieldSeparator)
            : std::string();
    return Result{saved_by, write_admin::kChangedSinceRead};
  }
  if (new_number != UCase(Value(before, "cover_note_no"))) {
    if (FindDocument(db, kCoverNoteDocument, new_number)) {
      return Result{{}, write_admin::kNumberTaken};
    }
  }
  // A loading set by a higher authority stays as that authority set it.
  const auto loading = std::find_if(record.columns.begin(), record.columns.end(),
                                    [](const auto& c) { return c.first == "load_percentage"; });
  const std::int64_t loading_authority = std::stoll("0" + Value(before, "loading_authority"));
  if (loading_authority > user->authority_level && loading != record.columns.end() &&
      loading->second.value_or("") != Value(before, "load_percentage")) {
    return Result{{}, write_admin::kLoadingLocked};
  }

  const std::array<std::pair<std::string_view, std::string>, 3> extra = {{
      {"cover_note_no", new_number},
      {"amended_by", user_id},
      {"amended_at", IsoDateTime(now)},
  }};
  StoreRecord(db, kCoverNoteDocument, *id, record, extra);
  const FieldValues after = LoadDocument(db, kCoverNoteDocument, *id);
  const std::int64_t amendment =
      RecordAmendment(db, {"cover_note", new_number, user_id, IsoDateTime(now)},
                      WriteAdminRecordLayout(), before, after);
  // The endorsement is part of the save: one that cannot be made leaves nothing written.
  const MadeEndorsement endorsement =
      MakeEndorsement(db, context.endorsements, amendment, user_id, now, before, after);
  return Result{Join({endorsement.number, endorsement.digest}, FieldSeparator),
                write_admin::kSaved};
}

std::string LikePrefix(std::string_view text) {
  std::string pattern;
  for (const char c : text) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

// "NUMBER", "VEHICLE" (the beginning of either) or "NAME" (any part of it), agent code. One record per
// cover note: number, vehicle, client name, status, transaction type, issue date.
Result EnquireCoverNotes(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 3);
  if (!values) return Malformed();
  const std::string kind = UCase((*values)[0]);
  std::string_view column;
  if (kind == "NUMBER") column = "cover_note_no";
  if (kind == "VEHICLE") column = "vehicle_no";
  if (kind == "NAME") column = "client_name";
  if (column.empty() || Trim((*values)[1]).empty()) return Malformed();
  const bool everyone = IsHeadOffice(context.db, (*values)[2]);
  Statement& find = context.db.Prepare(
      "SELECT cover_note_no, coalesce(vehicle_no, ''), coalesce(client_name, ''), status, "
      "transaction_type, coalesce(issued_at, '') FROM cover_note WHERE upper(" +
      std::string(column) + ") LIKE upper(?1) ESCAPE '\\' AND (?2 OR agent_code = ?3) " +
      "ORDER BY cover_note_no LIMIT ?4");
  // A client is remembered by any part of the name; numbers by how they begin.
  const std::string pattern =
      (kind == "NAME" ? "%" : "") + LikePrefix(Trim((*values)[1]));
  find.Bind(1, std::string_view(pattern))
      .Bind(2, std::int64_t{everyone})
      .Bind(3, std::string_view((*values)[2]))
      .Bind(4, std::int64_t{kMaxSearchMatches + 1});
  std::vector<std::string> records;
  while (find.Step()) {
    if (static_cast<int>(records.size()) == kMaxSearchMatches) return Result{{}, kTooManyMatches};
    records.push_back(Join({find.Text(0), find.Text(1), find.Text(2), find.Text(3),
                            find.Text(4), ToReplyText(Conversion::kDate, find.Text(5))},
                           FieldSeparator));
  }
  return Result{Join(records, RecordSeparator), 0};
}

constexpr std::array kCommands = {
    CommandEntry{"KivoGIUWR.CoverNote.ReadAdmin", ReadAdmin, Access::kRead},
    CommandEntry{"KivoGIUWR.CoverNote.Read", ReadPreviousCoverNote, Access::kRead},
    CommandEntry{"Tarvin.Policy.Read", ReadPolicy, Access::kRead},
    CommandEntry{"KivoGIUWR.CoverNote.WriteAdmin", WriteAdmin, Access::kWrite},
    CommandEntry{"KivoGIUWR.CoverNote.Enquire", EnquireCoverNotes, Access::kRead},
};

}  // namespace

std::span<const CommandEntry> CoverNoteCommands() { return kCommands; }

}  // namespace cn::backend
