#include "backend/endorsements.h"

#include <sodium.h>

#include <array>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "documents/endorsement_layout.h"
#include "documents/pdf_document.h"

namespace cn::backend {
namespace {

std::string Sha256Hex(std::string_view bytes) {
  if (sodium_init() < 0) {
    throw RuntimeFailure(failure::kInvalidArgument, "The hash library cannot start", "Endorsement");
  }
  std::array<unsigned char, crypto_hash_sha256_BYTES> hash{};
  crypto_hash_sha256(hash.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                     bytes.size());
  std::array<char, crypto_hash_sha256_BYTES * 2 + 1> hex{};
  sodium_bin2hex(hex.data(), hex.size(), hash.data(), hash.size());
  return hex.data();
}

// The endorsement names who saved it as the insurer's staff know him.
std::string UserNamed(Database& db, std::string_view user_id) {
  Statement& user = db.Prepare("SELECT name FROM app_user WHERE user_id = ?1");
  user.Bind(1, user_id);
  if (!user.Step() || Trim(user.Text(0)).empty()) return std::string(user_id);
  return Trim(user.Text(0)) + " (" + std::string(user_id) + ")";
}

std::string Value(const FieldValues& values, std::string_view column) {
  const auto found = values.find(column);
  return found == values.end() ? std::string() : found->second;
}

// The code lists an endorsement reads its codes from, by the column they are kept in.
struct CodeList {
  std::string_view column;
  std::string_view query;
};
constexpr CodeList kCodeLists[] = {
    {"ext_cover.code", "SELECT description FROM extended_cover WHERE code = ?1"},
    {"motor_cover_code", "SELECT description FROM motor_cover WHERE code = ?1"},
};

CodeMeaning MeaningIn(Database& db) {
  return [&db](std::string_view column, std::string_view code) -> std::string {
    for (const CodeList& list : kCodeLists) {
      if (list.column != column) continue;
      Statement& find = db.Prepare(list.query);
      find.Bind(1, code);
      const std::string meaning = find.Step() ? find.Text(0) : std::string();
      find.Reset();
      return meaning;
    }
    return {};
  };
}

}  // namespace

std::string EndorsementNumber(std::string_view cover_note_no, std::int64_t version) {
  return UCase(cover_note_no) + "/E" + std::to_string(version);
}

MadeEndorsement MakeEndorsement(Database& db, const EndorsementWording& wording,
                                std::int64_t amendment_id, std::string_view user_id,
                                const DateTime& saved_at, const FieldValues& before,
                                const FieldValues& after) {
  const std::string cover_note_no = Value(after, "cover_note_no");
  const std::string number =
      EndorsementNumber(cover_note_no, std::stoll("0" + Value(after, "version")));
  const documents::Endorsement content = EndorsementContent(wording,
                                                            {.number = number,
                                                             .user = UserNamed(db, user_id),
                                                             .saved_at = saved_at,
                                                             .meaning = MeaningIn(db)},
                                                            before, after);
  const std::string pdf = documents::RenderPdf(documents::EndorsementDocument(content));
  MadeEndorsement made{number, Sha256Hex(pdf)};
  db.Prepare(
        "INSERT INTO endorsement (endorsement_no, amendment_id, cover_note_no, agent_code, "
        "content, document, digest) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)")
      .Bind(1, std::string_view(number))
      .Bind(2, amendment_id)
      .Bind(3, std::string_view(UCase(cover_note_no)))
      .Bind(4, std::string_view(Value(after, "agent_code")))
      .Bind(5, std::string_view(documents::EndorsementText(content)))
      .BindBytes(6, pdf)
      .Bind(7, std::string_view(made.digest))
      .Run();
  return made;
}

EndorsementLookup ReadEndorsement(Database& db, std::string_view number,
                                  std::optional<std::string_view> agent_code) {
  Statement& read = db.Prepare(
      "SELECT endorsement_no, cover_note_no, content, document, digest, agent_code "
      "FROM endorsement WHERE endorsement_no = ?1");
  read.Bind(1, std::string_view(UCase(Trim(number))));
  if (!read.Step()) return {};
  EndorsementLookup found{EndorsementAccess::kFound,
                          {read.Text(0), read.Text(1), read.Text(2), read.Bytes(3), read.Text(4)}};
  const std::string owner = read.Text(5);
  read.Reset();
  if (Sha256Hex(found.endorsement.pdf) != found.endorsement.digest) {
    throw RuntimeFailure(
        failure::kInvalidArgument,
        "The kept PDF of endorsement " + found.endorsement.number + " does not match its digest",
        "Endorsement");
  }
  if (agent_code && !AgentMayRead(db, owner, *agent_code))
    return {EndorsementAccess::kOtherAgent, {}};
  return found;
}

std::vector<std::string> EndorsementNumbers(Database& db, std::string_view cover_note_no) {
  Statement& list = db.Prepare(
      "SELECT endorsement_no FROM endorsement WHERE cover_note_no = ?1 ORDER BY amendment_id DESC");
  list.Bind(1, std::string_view(UCase(Trim(cover_note_no))));
  std::vector<std::string> numbers;
  while (list.Step()) numbers.push_back(list.Text(0));
  return numbers;
}

}  // namespace cn::backend
