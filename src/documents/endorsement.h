#pragma once
// What an endorsement says: the document the insured is sent for every saved amendment of a
// cover note, numbered from the note and its version ("CN24000101/E2"). Every text is already
// as the screen shows it (amounts in its money format, dates dd-MMM-yyyy); the document only
// lays it out. It is made once, at the save, and kept as made.

#include <string>
#include <string_view>
#include <vector>

namespace cn::documents {

// Who issues the document, from the settings: printed at the head of every endorsement.
struct Insurer {
  std::string name;
  std::vector<std::string> address;  // one line each
  bool operator==(const Insurer&) const = default;
};

// A field of the cover note the amendment changed, under the screen's caption.
struct ChangedField {
  std::string caption;
  std::string as_read;
  std::string as_saved;
  bool operator==(const ChangedField&) const = default;
};

// One figure of the premium before and after the amendment, and its change with a sign
// ("+250.00", "-12.50"; empty when it did not change).
struct PremiumLine {
  std::string caption;
  std::string before;
  std::string after;
  std::string change;
  bool operator==(const PremiumLine&) const = default;
};

struct Endorsement {
  Insurer insurer;
  std::string number;  // "CN24000101/E2"
  std::string date;    // of the save
  std::string cover_note_no;
  std::string insured;
  std::string address;  // lines joined with "\n"
  std::string vehicle;
  std::string period;                 // "30-Nov-2026 to 29-Nov-2027"
  std::vector<ChangedField> changes;  // but the premium's figures, which are set out below
  std::vector<PremiumLine> premium;   // the last line is the total
  std::string premium_due;  // "Additional premium to be paid: 250.00", a refund, or neither
  std::string saved_by;
  std::string saved_at;  // dd-MMM-yyyy hh:mm:ss AM/PM
  std::string made_at;   // ISO 8601 local time of the save, the PDF's creation date
  bool operator==(const Endorsement&) const = default;
};

// The content as kept beside the PDF (JSON), and back. A text that is not such content
// throws RuntimeFailure.
std::string EndorsementText(const Endorsement& endorsement);
Endorsement ReadEndorsementText(std::string_view text);

}  // namespace cn::documents
