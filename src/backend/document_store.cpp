#include "backend/document_store.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "backend/value_conversion.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

constexpr std::array<std::string_view, 3> kCoverNoteRows = {"driver", "ext_cover", "claim"};
constexpr std::array<std::string_view, 2> kPolicyRows = {"driver", "ext_cover"};

std::string RowTable(const DocumentKind& kind, std::string_view row_set) {
  return std::string(kind.table) + "_" + std::string(row_set);
}

std::string_view RowSetOf(std::string_view list_field) {
  return list_field.substr(0, list_field.find('.'));
}

std::string_view ColumnOf(std::string_view list_field) {
  return list_field.substr(list_field.find('.') + 1);
}

std::optional<std::int64_t> ToInt(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string Lookup(const FieldValues& values, std::string_view field) {
  const auto found = values.find(field);
  return found == values.end() ? std::string() : found->second;
}

void ReplaceRows(Database& db, const DocumentKind& kind, std::int64_t id,
                 std::string_view row_set, const ParsedRecord& record) {
  std::vector<std::pair<std::string_view, const std::vector<std::string>*>> columns;
  std::size_t row_count = 0;
  for (const auto& [field, values] : record.lists) {
    if (RowSetOf(field) != row_set) continue;
    columns.emplace_back(ColumnOf(field), &values);
    row_count = std::max(row_count, values.size());
  }
  if (columns.empty()) return;
  const std::string table = RowTable(kind, row_set);
  db.Prepare("DELETE FROM " + table + " WHERE " + std::string(kind.owner_column) + " = ?1")
      .Bind(1, id)
      .Run();
  std::string names = std::string(kind.owner_column) + ", seq";
  std::string slots = "?1, ?2";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    names += ", " + std::string(columns[i].first);
    slots += ", ?" + std::to_string(i + 3);
  }
  const std::string sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + slots + ")";
  for (std::size_t row = 0; row < row_count; ++row) {
    Statement& insert = db.Prepare(sql);
    insert.Bind(1, id).Bind(2, static_cast<std::int64_t>(row));
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const auto& values = *columns[i].second;
      insert.Bind(static_cast<int>(i + 3),
                  row < values.size() ? std::string_view(values[row]) : std::string_view());
    }
    insert.Run();
  }
}

}  // namespace

const DocumentKind kCoverNoteDocument{"cover_note", "cover_note_no", "cover_note_id",
                                      kCoverNoteRows};
const DocumentKind kPolicyDocument{"policy", "policy_no", "policy_id", kPolicyRows};
const DocumentKind kClientDocument{"client", "code", "", {}};

std::optional<std::int64_t> FindDocument(Database& db, const DocumentKind& kind,
                                         std::string_view number) {
  Statement& find = db.Prepare("SELECT id FROM " + std::string(kind.table) + " WHERE upper(" +
                               std::string(kind.number_column) + ") = upper(?1)");
  find.Bind(1, number);
  if (!find.Step()) return std::nullopt;
  return find.Int(0);
}

FieldValues LoadDocument(Database& db, const DocumentKind& kind, std::int64_t id) {
  FieldValues values;
  Statement& row = db.Prepare("SELECT * FROM " + std::string(kind.table) + " WHERE id = ?1");
  row.Bind(1, id);
  if (!row.Step()) return values;
  for (int column = 0; column < row.ColumnCount(); ++column) {
    values.emplace(row.ColumnName(column), row.Text(column));
  }
  for (std::string_view row_set : kind.row_sets) {
    Statement& rows = db.Prepare("SELECT * FROM " + RowTable(kind, row_set) + " WHERE " +
                                 std::string(kind.owner_column) + " = ?1 ORDER BY seq");
    rows.Bind(1, id);
    std::map<std::string, std::vector<std::string>, std::less<>> lists;
    std::vector<std::string> names;
    for (int column = 0; column < rows.ColumnCount(); ++column) {
      const std::string_view name = rows.ColumnName(column);
      if (name == kind.owner_column || name == "seq") continue;
      names.emplace_back(name);
      lists[std::string(name)];
    }
    while (rows.Step()) {
      for (int column = 0; column < rows.ColumnCount(); ++column) {
        const auto found = lists.find(rows.ColumnName(column));
        if (found != lists.end()) found->second.push_back(rows.Text(column));
      }
    }
    for (const std::string& name : names) {
      values[std::string(row_set) + "." + name] = Join(lists[name], DialogArgSeparator);
    }
  }
  return values;
}

bool AgentMayRead(Database& db, std::string_view owner, std::string_view agent_code) {
  if (!owner.empty() && owner == agent_code) return true;
  Statement& agent = db.Prepare("SELECT head_office FROM agent WHERE code = ?1");
  agent.Bind(1, agent_code);
  const bool head_office = agent.Step() && agent.Int(0) != 0;
  agent.Reset();
  return head_office;
}

std::string DocumentKey(const FieldValues& values) {
  return Lookup(values, "id") + "." + Lookup(values, "version");
}

std::optional<ParsedKey> ParseDocumentKey(std::string_view key) {
  const auto dot = key.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const auto id = ToInt(key.substr(0, dot));
  const auto version = ToInt(key.substr(dot + 1));
  if (!id || !version) return std::nullopt;
  return ParsedKey{*id, *version};
}

std::string BuildReply(std::span<const LayoutRow> layout, const FieldValues& values) {
  std::vector<std::string> fields(static_cast<std::size_t>(FieldCount(layout)));
  for (const LayoutRow& row : layout) {
    fields[static_cast<std::size_t>(row.position)] =
        row.conversion == Conversion::kKey ? DocumentKey(values)
                                           : ToReplyText(row.conversion, Lookup(values, row.field));
  }
  return Join(fields, FieldSeparator);
}

ParsedRecord ParseRecord(std::span<const LayoutRow> layout, std::string_view record) {
  ParsedRecord parsed;
  const std::vector<std::string> fields = Split(record, FieldSeparator);
  if (static_cast<int>(fields.size()) != FieldCount(layout)) return parsed;
  for (const LayoutRow& row : layout) {
    const std::string& sent = fields[static_cast<std::size_t>(row.position)];
    const StoredValue value = FromSentText(row.conversion, sent);
    if (!value.valid) return parsed;
    switch (row.conversion) {
      case Conversion::kIgnored:
        break;
      case Conversion::kKey:
        parsed.key = sent;
        break;
      case Conversion::kList:
        parsed.lists[row.field] = Split(sent, DialogArgSeparator);
        break;
      default:
        parsed.columns.emplace_back(row.field, value.value);
    }
  }
  parsed.valid = true;
  return parsed;
}

void StoreRecord(Database& db, const DocumentKind& kind, std::int64_t id,
                 const ParsedRecord& record,
                 std::span<const std::pair<std::string_view, std::string>> extra_columns) {
  std::string sql = "UPDATE " + std::string(kind.table) + " SET version = version + 1";
  int slot = 1;
  for (const auto& column : record.columns) {
    sql += ", " + std::string(column.first) + " = ?" + std::to_string(slot++);
  }
  for (const auto& column : extra_columns) {
    sql += ", " + std::string(column.first) + " = ?" + std::to_string(slot++);
  }
  sql += " WHERE id = ?" + std::to_string(slot);
  Statement& update = db.Prepare(sql);
  slot = 1;
  for (const auto& column : record.columns) update.Bind(slot++, column.second);
  for (const auto& column : extra_columns) update.Bind(slot++, std::string_view(column.second));
  update.Bind(slot, id).Run();
  for (std::string_view row_set : kind.row_sets) ReplaceRows(db, kind, id, row_set, record);
}

std::vector<ChangedField> ChangedFields(std::span<const LayoutRow> layout,
                                        const FieldValues& before, const FieldValues& after) {
  std::vector<ChangedField> changed;
  for (const LayoutRow& row : layout) {
    if (row.conversion == Conversion::kKey || row.conversion == Conversion::kIgnored) continue;
    if (std::ranges::any_of(changed,
                            [&](const ChangedField& c) { return c.row->field == row.field; })) {
      continue;
    }
    std::string old_text = ToReplyText(row.conversion, Lookup(before, row.field));
    std::string new_text = ToReplyText(row.conversion, Lookup(after, row.field));
    if (old_text != new_text) changed.push_back({&row, std::move(old_text), std::move(new_text)});
  }
  return changed;
}

std::int64_t RecordAmendment(Database& db, const AmendmentEntry& entry,
                             std::span<const LayoutRow> layout, const FieldValues& before,
                             const FieldValues& after) {
  db.Prepare(
        "INSERT INTO amendment (document_kind, document_no, user_id, saved_at, version_before, "
        "version_after) VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
      .Bind(1, entry.document_kind)
      .Bind(2, std::string_view(entry.document_no))
      .Bind(3, std::string_view(entry.user_id))
      .Bind(4, std::string_view(entry.saved_at))
      .Bind(5, ToInt(Lookup(before, "version")).value_or(0))
      .Bind(6, ToInt(Lookup(after, "version")).value_or(0))
      .Run();
  const std::int64_t amendment_id = db.LastInsertId();
  for (const ChangedField& change : ChangedFields(layout, before, after)) {
    db.Prepare(
          "INSERT INTO amendment_change (amendment_id, field, before_value, after_value) "
          "VALUES (?1, ?2, ?3, ?4)")
        .Bind(1, amendment_id)
        .Bind(2, change.row->field)
        .Bind(3, std::string_view(change.before))
        .Bind(4, std::string_view(change.after))
        .Run();
  }
  return amendment_id;
}

}  // namespace cn::backend
