#pragma once
// The positional layouts the screen exchanges with the back end: each is a table
// of rows in position order, one row per position, naming the stored field and
// how its text is converted on the way in and out.

#include <span>
#include <string_view>

namespace cn::backend {

enum class Conversion {
  kText,      // as stored
  kUpper,     // upper-cased when written
  kTrimmed,   // trimmed when written
  kDigits,    // empty or a whole number
  kMoney,     // an amount: stored in ten-thousandths, sent with two decimals
  kDate,      // stored yyyy-mm-dd, sent dd-MMM-yyyy
  kDateTime,  // stored yyyy-mm-dd hh:mm:ss, sent dd-MMM-yyyy hh:mm:ss AM/PM
  kFlag,      // stored 0/1, sent "True"/"False"
  kKey,       // the document's key: its id and version, the optimistic lock
  kList,      // one column of the document's rows, values joined by U+FFFD
  kIgnored,   // sent empty; what arrives there is not stored
};

struct LayoutRow {
  int position;
  // A column of the document, "<rows>.<column>" for a list, or "" for none.
  std::string_view field;
  Conversion conversion;
};

// "KivoGIUWR.CoverNote.ReadAdmin" reply, positions 0 to 177.
std::span<const LayoutRow> ReadAdminReplyLayout();
// "KivoGIUWR.CoverNote.Read" reply, positions 0 to 205.
std::span<const LayoutRow> CoverNoteReadReplyLayout();
// Second part of the "Tarvin.Policy.Read" reply, positions 0 to 102.
std::span<const LayoutRow> PolicyReplyLayout();
// Record of "KivoGIUWR.CoverNote.WriteAdmin", positions 0 to 167.
std::span<const LayoutRow> WriteAdminRecordLayout();
// "KivoGlobal.Client.Read" reply (also each record of the client searches).
std::span<const LayoutRow> ClientReplyLayout();
// Client fields of "KivoGlobal.Client.Write", positions 0 to 22.
std::span<const LayoutRow> ClientWriteLayout();

// One past the highest position of a layout.
int FieldCount(std::span<const LayoutRow> layout);

}  // namespace cn::backend
