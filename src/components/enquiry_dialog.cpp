#include "components/enquiry_dialog.h"

#include <algorithm>
#include <array>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/service_gateway.h"

namespace cn::components {
namespace {

constexpr std::size_t kMostQueryCharacters = 100;
constexpr std::int32_t kTooManyMatches = 2;

constexpr std::array kCoverNoteSearches{
    EnquirySearch{"NUMBER", "Cover Note No."},
    EnquirySearch{"VEHICLE", "Vehicle No."},
    EnquirySearch{"NAME", "Client Name"},
};
constexpr std::array kClientSearches{
    EnquirySearch{"NAME", "Name"},
    EnquirySearch{"IDNO", "IC / Registration No."},
};

constexpr std::array<std::string_view, 6> kCoverNoteColumns{"Cover Note No.", "Vehicle No.", "Client",
                                                             "Status",         "Transaction", "Issued"};
constexpr std::array<std::string_view, 9> kClientColumns{"Code",     "Name", "Old IC",   "New IC", "Business Reg.",
                                                         "Address", "Town", "Postcode", "State"};
// The fields of a full client record that the client list shows, in column order.
constexpr std::array<std::size_t, 9> kClientRecordFields{0, 1, 2, 3, 4, 9, 10, 11, 12};

// The result list speaks in words; an unknown code is shown as it is.
struct CodeName {
  std::string_view code;
  std::string_view name;
};
constexpr std::array kStatusNames{
    CodeName{"I", "Issued"}, CodeName{"C", "Cancelled"}, CodeName{"M", "Missing"},
    CodeName{"U", "Unused"}, CodeName{"R", "Referred risk"},
};
constexpr std::array kTransactionNames{
    CodeName{"N", "New"},       CodeName{"B", "New insured"}, CodeName{"R", "Renewal"},
    CodeName{"T", "Transfer"},  CodeName{"E", "Extension"},   CodeName{"D", "Endorsement"},
    CodeName{"S", "Road tax"},  CodeName{"F", "Road tax transfer"}, CodeName{"M", "Fleet (road tax)"},
    CodeName{"I", "Fleet (inclusion)"},
};

std::string NameOf(std::span<const CodeName> names, std::string_view code) {
  for (const CodeName& entry : names) {
    if (entry.code == code) return std::string(entry.name);
  }
  return std::string(code);
}

DialogList Headed(EnquiryKind kind) {
  DialogList list;
  if (kind == EnquiryKind::kCoverNote) {
    list.title = "CoverNote Enquiry";
    list.columns.assign(kCoverNoteColumns.begin(), kCoverNoteColumns.end());
  } else {
    list.title = "Client Enquiry";
    list.columns.assign(kClientColumns.begin(), kClientColumns.end());
  }
  return list;
}

std::vector<std::string> Fields(std::string_view record, std::size_t at_least) {
  std::vector<std::string> fields = Split(record, FieldSeparator);
  if (fields.size() < at_least) fields.resize(at_least);
  return fields;
}

void AddCoverNotes(DialogList& list, std::string_view reply) {
  for (const std::string& record : Split(reply, RecordSeparator)) {
    std::vector<std::string> fields = Fields(record, kCoverNoteColumns.size());
    fields.resize(kCoverNoteColumns.size());
    fields[3] = NameOf(kStatusNames, fields[3]);
    fields[4] = NameOf(kTransactionNames, fields[4]);
    list.rows.push_back({fields, fields[0]});
  }
}

// `positions`: which field of each record goes into which column.
void AddClients(DialogList& list, std::string_view records, std::span<const std::size_t> positions) {
  const std::size_t needed = *std::max_element(positions.begin(), positions.end()) + 1;
  for (const std::string& record : Split(records, RecordSeparator)) {
    const std::vector<std::string> fields = Fields(record, needed);
    DialogRow row;
    for (const std::size_t position : positions) row.cells.push_back(Trim(fields[position]));
    row.value = Trim(fields[positions.front()]);
    list.rows.push_back(std::move(row));
  }
}

}  // namespace

EnquiryArgument ParseEnquiryArgument(std::string_view argument) {
  const std::vector<std::string> parts = Split(argument, DialogArgSeparator);
  EnquiryArgument parsed;
  if (parts[0] == "CoverNote Enquiry") parsed.kind = EnquiryKind::kCoverNote;
  if (parts[0] == "Client Enquiry") parsed.kind = EnquiryKind::kClient;
  if (parts.size() > 1) parsed.agent_code = parts[1];
  if (parts.size() > 2) parsed.user_id = parts[2];
  if (parts.size() > 3 && parsed.kind == EnquiryKind::kClient) {
    parsed.has_list = true;
    parsed.list = parts[3];
  }
  return parsed;
}

std::span<const EnquirySearch> EnquirySearches(EnquiryKind kind) {
  if (kind == EnquiryKind::kCoverNote) return kCoverNoteSearches;
  if (kind == EnquiryKind::kClient) return kClientSearches;
  return {};
}

DialogList EnquiryOpening(const EnquiryArgument& argument) {
  if (argument.kind == EnquiryKind::kUnknown) {
    DialogList list;
    list.title = "Enquiry";
    list.notice = "This enquiry is not known.";
    return list;
  }
  DialogList list = Headed(argument.kind);
  if (argument.has_list) {
    // The list a client check found: the display fields in column order.
    constexpr std::array<std::size_t, 9> kDisplayFields{0, 1, 2, 3, 4, 5, 6, 7, 8};
    if (!argument.list.empty()) AddClients(list, argument.list, kDisplayFields);
    if (list.rows.empty()) list.notice = "No clients to choose from.";
  }
  return list;
}

DialogList SearchEnquiry(const Components& components, const EnquiryArgument& argument,
                         std::string_view by, std::string_view text) {
  const auto searches = EnquirySearches(argument.kind);
  if (std::none_of(searches.begin(), searches.end(), [&](const EnquirySearch& search) { return search.by == by; })) {
    throw BadEnquiry("This dialog cannot search by \"" + std::string(by) + "\"");
  }
  if (Len(text) > kMostQueryCharacters) throw BadEnquiry("The search text is too long");
  DialogList list = Headed(argument.kind);
  const std::string what = Trim(text);
  if (what.empty()) {
    list.notice = "Type what to search for.";
    return list;
  }
  const bool cover_notes = argument.kind == EnquiryKind::kCoverNote;
  const std::string command = cover_notes ? "KivoGIUWR.CoverNote.Enquire" : "KivoGlobal.Client.Enquire";
  std::string parameters = std::string(by) + std::string(ParamSeparator) + what;
  if (cover_notes) parameters += std::string(ParamSeparator) + argument.agent_code;
  try {
    ServiceGateway gateway(components);
    const CommandReply found = gateway.ExecuteCommand(command, parameters);
    if (found.status == kTooManyMatches) {
      list.notice = "Too many match. Type more of it to narrow the search.";
      return list;
    }
    if (found.status != 0) {
      list.notice = "The search failed (result " + std::to_string(found.status) + ").";
      return list;
    }
    if (cover_notes && !found.reply.empty()) AddCoverNotes(list, found.reply);
    if (!cover_notes && !found.reply.empty()) AddClients(list, found.reply, kClientRecordFields);
  } catch (const RuntimeFailure& failure) {
    list.notice = failure.number() == failure::kDatabaseUnavailable
                      ? failure.description()
                      : "The search failed: " + failure.description();
    return list;
  }
  if (list.rows.empty()) list.notice = "Nothing matches.";
  return list;
}

}  // namespace cn::components
