// Clients: reading, checking by identity number, writing and the client lists.

#include <array>

#include "backend/command.h"
#include "backend/document_store.h"
#include "backend/layouts.h"
#include "backend/parameters.h"
#include "backend/result_codes.h"
#include "backend/value_conversion.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

std::string WithoutDashes(std::string_view text) { return Replace(Trim(text), "-", ""); }

// A known user whose role lets him amend, and who is not disabled.
bool MayAmend(Database& db, std::string_view user_id) {
  Statement& user = db.Prepare(
      "SELECT 1 FROM app_user WHERE user_id = ?1 AND role = 'amend' AND disabled = 0");
  user.Bind(1, user_id);
  const bool may = user.Step();
  user.Reset();
  return may;
}

// Clients found by a query whose first column is the client's id.
std::string ClientRecords(Database& db, Statement& query, bool& too_many) {
  std::vector<std::int64_t> ids;
  too_many = false;
  while (query.Step()) {
    if (static_cast<int>(ids.size()) == kMaxSearchMatches) {
      too_many = true;
      break;
    }
    ids.push_back(query.Int(0));
  }
  std::vector<std::string> records;
  for (const std::int64_t id : ids) {
    records.push_back(BuildReply(ClientReplyLayout(), LoadDocument(db, kClientDocument, id)));
  }
  return Join(records, RecordSeparator);
}

// client code
Result ReadClient(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 1);
  if (!values || Trim((*values)[0]).empty()) return Malformed();
  const auto id = FindDocument(context.db, kClientDocument, Trim((*values)[0]));
  if (!id) return Result{{}, client_status::kNotFound};
  return Result{BuildReply(ClientReplyLayout(), LoadDocument(context.db, kClientDocument, *id)),
                client_status::kOk};
}

// name (apostrophes doubled), identity number: the clients already holding that
// identity number, so that no client is entered twice.
Result ValidateClient(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 2);
  if (!values) return Malformed();
  const std::string number = WithoutDashes((*values)[1]);
  if (number.empty()) return Result{{}, 0};
  Statement& find = context.db.Prepare(
      "SELECT id FROM client WHERE replace(nric, '-', '') = ?1 OR old_nric = ?1 "
      "OR upper(replace(business_registration_no, '-', '')) = upper(?1) ORDER BY code");
  find.Bind(1, std::string_view(number));
  bool too_many = false;
  return Result{ClientRecords(context.db, find, too_many), 0};
}

// client code, user id, the client's fields. Identity as read, address and
// contact details as edited; refused when the client changed since it was read.
Result WriteClient(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 3, /*record_last=*/true);
  if (!values) return Malformed();
  const ParsedRecord record = ParseRecord(ClientWriteLayout(), (*values)[2]);
  if (!record.valid || Trim((*values)[1]).empty()) return Malformed();
  Database& db = context.db;
  if (!MayAmend(db, Trim((*values)[1]))) return Result{{}, client_status::kNotAllowed};
  const auto id = FindDocument(db, kClientDocument, Trim((*values)[0]));
  if (!id) return Result{{}, client_status::kNotFound};
  const FieldValues before = LoadDocument(db, kClientDocument, *id);
  const auto key = ParseDocumentKey(record.key);
  if (!key || key->id != *id || DocumentKey(before) != record.key) {
    return Result{{}, client_status::kChangedSinceRead};
  }
  StoreRecord(db, kClientDocument, *id, record, {});
  const FieldValues after = LoadDocument(db, kClientDocument, *id);
  const std::string saved_at = IsoDateTime(context.clock.Now());
  RecordAmendment(db, {"client", after.at("code"), Trim((*values)[1]), saved_at},
                  ClientWriteLayout(), before, after);
  return Result{{}, client_status::kOk};
}

// "1" nationalities, "2" insured occupations, "3" natures of business.
Result FindClientList(CommandContext& context, std::string_view parameters) {
  static constexpr std::array<std::string_view, 3> kQueries = {
      "SELECT code, name FROM nationality ORDER BY name",
      "SELECT code, name FROM insured_occupation ORDER BY name",
      "SELECT code, name FROM business_nature ORDER BY name",
  };
  const auto values = SplitParameters(parameters, 1);
  if (!values) return Malformed();
  const auto list = WholeNumber((*values)[0], 1, 3);
  if (!list) return Malformed();
  Statement& query = context.db.Prepare(kQueries[static_cast<std::size_t>(*list - 1)]);
  std::vector<std::string> records;
  while (query.Step()) records.push_back(query.Text(0) + std::string(FieldSeparator) + query.Text(1));
  return Result{Join(records, RecordSeparator), 0};
}

// "NAME" with any part of the name, or "IDNO" with an identity number.
Result EnquireClients(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 2);
  if (!values || Trim((*values)[1]).empty()) return Malformed();
  const std::string kind = UCase((*values)[0]);
  bool too_many = false;
  std::string records;
  if (kind == "NAME") {
    Statement& find = context.db.Prepare(
        "SELECT id FROM client WHERE upper(name) LIKE upper(?1) ESCAPE '\\' "
        "ORDER BY name, code LIMIT ?2");
    std::string pattern;
    for (const char c : Trim((*values)[1])) {
      if (c == '%' || c == '_' || c == '\\') pattern += '\\';
      pattern += c;
    }
    // A client is remembered by any part of the name, whatever its case.
    find.Bind(1, std::string_view("%" + pattern + "%"))
        .Bind(2, std::int64_t{kMaxSearchMatches + 1});
    records = ClientRecords(context.db, find, too_many);
  } else if (kind == "IDNO") {
    return ValidateClient(context, std::string(ParamSeparator) + (*values)[1]);
  } else {
    return Malformed();
  }
  if (too_many) return Result{{}, kTooManyMatches};
  return Result{records, 0};
}

constexpr std::array kCommands = {
    CommandEntry{"KivoGlobal.Client.Read", ReadClient, Access::kRead},
    CommandEntry{"KivoGlobal.Client.Validate", ValidateClient, Access::kRead},
    CommandEntry{"KivoGlobal.Client.Write", WriteClient, Access::kWrite},
    CommandEntry{"KivoGlobal.Client.Find", FindClientList, Access::kRead},
    CommandEntry{"KivoGlobal.Client.Enquire", EnquireClients, Access::kRead},
};

}  // namespace

std::span<const CommandEntry> ClientCommands() { return kCommands; }

}  // namespace cn::backend
