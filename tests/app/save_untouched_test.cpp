// Saving a cover note the administrator did not change writes back what was read: the record
// the screen builds holds, position by position, the reply the read gave (in the forms the
// save sends), and the back end stores nothing new. A row of the save's table that slipped by
// one position, or a conversion that loses a digit, shows up here as a changed stored field.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "integration/components.h"
#include "sample_database.h"
#include "workspace/record_fill.h"
#include "workspace/workspace.h"
#include "workspace/write_admin_record.h"

namespace cn {
namespace {

using testing::Params;

// Where the saved record differs from the read reply by rule rather than by accident.
const std::map<int, std::string_view> kDerivedPositions = {
    // clang-format off
    {1, "the number as read, not as the reply spelt it"}, {2, "issue date and time as one date-time"},
    {28, "effective date and time as one date-time"}, {57, "vehicle and trailer sums insured added"},
    {87, "by transaction type"}, {88, "by transaction type"}, {89, "by transaction type"},
    {90, "commission rate"}, {91, "commission"}, {92, "premium less commission"},
    {101, "driver category from cover type and drivers"}, {131, "always 0"}, {152, "always empty"},
    {153, "always empty"}, {156, "an OTC amount left empty reads as 0.00"}};
// clang-format on

TEST(SaveUntouched, TheReferredSampleNotesAreWrittenBackAsTheyWereRead) {
  const testing::SampleDatabase sample("save-untouched");
  backend::Backend& backend = *sample.backend;
  int saved = 0;
  for (const std::string number : {"CN24000101", "CN24000102", "CN24000103", "CN24000105",
                                   "CN24000106", "CN24000107", "CN24000108"}) {
    SCOPED_TRACE(number);
    const Components components;
    Workspace ws(components, sample.clock);
    const backend::Result read =
        backend.Execute("KivoGIUWR.CoverNote.ReadAdmin", Params({number, "HQ001", "0"}));
    ASSERT_EQ(read.status, 0);
    const std::vector<std::string> reply = SplitReplyFields(read.reply);
    FillFromReadAdminReply(ws.record, reply, {});
    // The Cover tab names the cover type from the class's list.
    const std::string_view class_code = ws.record.Current.ClassCode;
    ws.record.Current.CoverType = class_code.starts_with("PC")   ? "PRIVATE"
                                  : class_code.starts_with("MC") ? "MOTORCYCLE"
                                                                 : "COMMERCIAL";
    const std::string record =
        BuildWriteAdminRecord(ws.record, {.NewTariffInUse = true,
                                          .DriverCoverCode1 = "089",
                                          .DriverCoverCode2 = "006"});
    const std::vector<std::string> sent = Split(record, FieldSeparator);
    for (int position = 0; position < 168; ++position) {
      if (kDerivedPositions.contains(position)) continue;
      const std::string& as_read = reply[static_cast<std::size_t>(position)];
      const std::string& as_sent = sent[static_cast<std::size_t>(position)];
      EXPECT_EQ(Replace(as_sent, ",", ""), Replace(as_read, ",", ""))
          << "position " << position;
    }

    const backend::Result write = backend.Execute(
        "KivoGIUWR.CoverNote.WriteAdmin", Params({"ADMIN", number, number, record}));
    if (write.status != 0) continue;  // only referred risks may be saved
    ++saved;
    const backend::Result again =
        backend.Execute("KivoGIUWR.CoverNote.ReadAdmin", Params({number, "HQ001", "0"}));
    const std::vector<std::string> after = SplitReplyFields(again.reply);
    ASSERT_EQ(after.size(), reply.size());
    for (std::size_t position = 1; position < after.size(); ++position) {
      // The save's commission is ten percent held to four decimals; the engine's is rounded
      // to the cent first, so half a cent may come out the other way.
      if (position == 156 || position == 92) continue;
      EXPECT_EQ(after[position], reply[position]) << "stored position " << position;
    }
  }
  EXPECT_GE(saved, 2);
}

}  // namespace
}  // namespace cn
