#pragma once
// An endorsement as a save of CN24000101 makes it, with as many changed fields as asked: for
// the documents' tests and for endorsement_bench.

#include <string>

#include "documents/endorsement.h"

namespace cn::documents::testing {

inline Endorsement SampleEndorsement(int changes) {
  Endorsement endorsement{
      .insurer = {"Kivo General Insurance Berhad",
                  {"Level 12, Menara Kivo, 28 Jalan Cempaka", "50450 Kuala Lumpur",
                   "Tel. 03-2100 8000  motor.admin@kivo.example.my"}},
      .number = "CN24000101/E2",
      .date = "05-Dec-2026",
      .cover_note_no = "CN24000101",
      .insured = "AHMAD FAIZAL BIN ISMAIL",
      .address = "NO 12, JALAN MERANTI 3\nTAMAN SERI MERANTI\n46000 PETALING JAYA",
      .vehicle = "WQK 4521, TARUMA ISWARA 1.5 (M), 2022",
      .period = "30-Nov-2026 to 29-Nov-2027",
      .changes = {},
      .premium = {{"Tariff premium", "1,522.00", "1,834.00", "+312.00"},
                  {"Loading", "0.00", "0.00", ""},
                  {"Less no-claim discount", "0.00", "0.00", ""},
                  {"Basic premium", "1,518.20", "1,920.89", "+402.69"},
                  {"Extended covers", "235.00", "235.00", ""},
                  {"Gross premium", "1,753.20", "2,155.89", "+402.69"},
                  {"Service tax", "105.19", "129.35", "+24.16"},
                  {"Stamp duty", "10.00", "10.00", ""},
                  {"Total premium", "1,868.39", "2,295.24", "+426.85"}},
      .premium_due = "Additional premium to be paid: 426.85",
      .saved_by = "NORHAYATI BINTI SALLEH (ADMIN)",
      .saved_at = "05-Dec-2026 10:00:00 AM",
      .made_at = "2026-12-05T10:00:00",
  };
  for (int i = 1; i <= changes; ++i) {
    endorsement.changes.push_back(
        {"Named driver " + std::to_string(i), "DRIVER " + std::to_string(i),
         "DRIVER " + std::to_string(i + 100)});
  }
  return endorsement;
}

}  // namespace cn::documents::testing
