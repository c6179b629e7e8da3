#pragma once
// Cover notes, policies and clients read and written through their layouts:
// one row of the document's table plus, for each kind of child row (named
// drivers, extended covers, claims), one list per column.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "backend/layouts.h"
#include "backend/sqlite.h"

namespace cn::backend {

struct DocumentKind {
  std::string_view table;          // also the prefix of its child tables
  std::string_view number_column;  // the number users know it by
  std::string_view owner_column;   // the child tables' reference to it
  std::span<const std::string_view> row_sets;
};

extern const DocumentKind kCoverNoteDocument;
extern const DocumentKind kPolicyDocument;
extern const DocumentKind kClientDocument;

// Stored texts by column; lists as "<rows>.<column>" joined by U+FFFD. NULL is "".
using FieldValues = std::map<std::string, std::string, std::less<>>;

// The id of the document with this number (letter case ignored).
std::optional<std::int64_t> FindDocument(Database& db, const DocumentKind& kind,
                                         std::string_view number);
FieldValues LoadDocument(Database& db, const DocumentKind& kind, std::int64_t id);

// Whether an agent may read a document of `owner`'s: his own, and every one when he is the
// head office.
bool AgentMayRead(Database& db, std::string_view owner, std::string_view agent_code);

// The key the screen carries from a read to its write: "<id>.<version>".
std::string DocumentKey(const FieldValues& values);
struct ParsedKey {
  std::int64_t id;
  std::int64_t version;
};
std::optional<ParsedKey> ParseDocumentKey(std::string_view key);

// Reply fields in position order, joined by U+FFFE.
std::string BuildReply(std::span<const LayoutRow> layout, const FieldValues& values);

// A record the screen sent, converted to stored values. `valid` is false when the
// record has the wrong number of fields or a field does not fit.
struct ParsedRecord {
  bool valid = false;
  std::string key;
  std::vector<std::pair<std::string_view, std::optional<std::string>>> columns;
  std::map<std::string_view, std::vector<std::string>> lists;
};
ParsedRecord ParseRecord(std::span<const LayoutRow> layout, std::string_view record);

// Overwrites the document's columns and child rows with the record, adds one to
// its version and sets the extra columns given.
void StoreRecord(Database& db, const DocumentKind& kind, std::int64_t id,
                 const ParsedRecord& record,
                 std::span<const std::pair<std::string_view, std::string>> extra_columns);

// A field of the layout whose text a save changed, in the texts a reply would carry. A field
// at several positions is listed once, at its first.
struct ChangedField {
  const LayoutRow* row;
  std::string before;
  std::string after;
};
std::vector<ChangedField> ChangedFields(std::span<const LayoutRow> layout,
                                        const FieldValues& before, const FieldValues& after);

// One audit entry with every field of the layout whose text changed; returns its id.
struct AmendmentEntry {
  std::string_view document_kind;
  std::string document_no;
  std::string user_id;
  std::string saved_at;
};
std::int64_t RecordAmendment(Database& db, const AmendmentEntry& entry,
                             std::span<const LayoutRow> layout, const FieldValues& before,
                             const FieldValues& after);

}  // namespace cn::backend
