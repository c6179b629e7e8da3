// The endorsement of a save, read back as a reader of the PDF would: the sample cover notes
// amended as the screen writes them, saved by the back end, and the kept PDF taken apart with
// poppler's tools (pdftotext, pdffonts, pdfinfo). COVERNOTE_ENDORSEMENT_PAGES=DIR leaves each
// case's PDF there, to be looked at.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "app/endorsement_wording.h"
#include "backend/endorsements.h"
#include "components/insurer_settings.h"
#include "integration/components.h"
#include "sample_database.h"
#include "workspace/record_fill.h"
#include "workspace/workspace.h"
#include "workspace/write_admin_record.h"

namespace cn {
namespace {

using testing::Params;

// What a tool prints for the file, or a failure naming the tool.
std::string ToolOutput(const std::string& command_line) {
  std::string output;
  FILE* pipe = ::popen((command_line + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return "cannot run " + command_line;
  char buffer[4096];
  while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) {
    output.append(buffer, read);
  }
  const int status = ::pclose(pipe);
  if (status != 0)
    output = "failed (" + std::to_string(status) + "): " + command_line + "\n" + output;
  return output;
}

// Runs of spaces, as pdftotext lays out columns, read as one.
std::string Squeezed(const std::string& text) {
  return std::regex_replace(text, std::regex("[ \t]+"), " ");
}

class Endorsements : public ::testing::Test {
 protected:
  Endorsements() : backend_(Open()) {}

  std::unique_ptr<backend::Backend> Open() {
    backend::Backend::Options options;
    options.endorsements =
        app::ProductEndorsementWording(components::Settings(components::SampleInsurerSettings()));
    return std::make_unique<backend::Backend>(folder_.path / "sample.db", clock_, options);
  }

  // Reads the cover note as the screen does, changes it and saves it; the save's reply.
  backend::Result Save(const std::string& number,
                       const std::function<void(CoverNoteFields&)>& change) {
    const Components components;
    Workspace ws(components, clock_);
    const backend::Result read =
        backend_->Execute("KivoGIUWR.CoverNote.ReadAdmin", Params({number, "HQ001", "0"}));
    EXPECT_EQ(read.status, 0) << number;
    FillFromReadAdminReply(ws.record, SplitReplyFields(read.reply), {});
    // The Cover tab names the cover type from the class's list.
    const std::string_view class_code = ws.record.Current.ClassCode;
    ws.record.Current.CoverType = class_code.starts_with("PC") ? "PRIVATE" : "COMMERCIAL";
    change(ws.record.Current);
    const std::string record = BuildWriteAdminRecord(
        ws.record, {.NewTariffInUse = true, .DriverCoverCode1 = "089", .DriverCoverCode2 = "006"});
    return backend_->Execute("KivoGIUWR.CoverNote.WriteAdmin",
                             Params({"ADMIN", number, number, record}));
  }

  backend::KeptEndorsement Kept(const std::string& number) {
    const auto found = backend_->WithDatabase(
        [&](backend::Database& db) { return backend::ReadEndorsement(db, number, std::nullopt); });
    EXPECT_EQ(found.access, backend::EndorsementAccess::kFound) << number;
    return found.endorsement;
  }

  // The PDF on disk, for the tools.
  std::string Written(const backend::KeptEndorsement& endorsement) {
    std::string name = endorsement.number;
    std::replace(name.begin(), name.end(), '/', '-');
    const std::filesystem::path file = folder_.path / (name + ".pdf");
    std::ofstream(file, std::ios::binary) << endorsement.pdf;
    if (const char* keep = std::getenv("COVERNOTE_ENDORSEMENT_PAGES")) {
      std::filesystem::copy_file(file, std::filesystem::path(keep) / file.filename(),
                                 std::filesystem::copy_options::overwrite_existing);
    }
    return file.string();
  }

  const testing::TempFolder folder_{"endorsements"};
  const FixedClock clock_{{*Date::FromYmd(2026, 12, 5), *Time::FromHms(10, 0, 0)}};
  std::unique_ptr<backend::Backend> backend_;
};

struct Case {
  std::string_view what;
  std::string number;
  std::function<void(CoverNoteFields&)> change;
  std::vector<std::string> lines;  // each found in the text, spaces squeezed
};

// The premium figures as Calculate leaves them, the rest as read.
void Premium(CoverNoteFields& note, std::string_view tariff, std::string_view basic,
             std::string_view gross, std::string_view tax, std::string_view total) {
  note.TariffPremium = tariff;
  note.BasicPremium = basic;
  note.GrossPremium = gross;
  note.ServiceTaxAmount = tax;
  note.TotalPremium = total;
}

TEST_F(Endorsements, SayWhatChangedAndWhatIsDueInTextAReaderCanSearch) {
  const std::vector<Case> cases = {
      {"a raised sum insured",
       "CN24000101",
       [](CoverNoteFields& note) {
         note.VehicleSumInsured = "60000";
         Premium(note, "1834.00", "1920.89", "2155.89", "129.35", "2295.24");
       },
       {"Endorsement CN24000101/E2", "Endorsement no. CN24000101/E2",
        "Date of endorsement 05-Dec-2026", "Insured AHMAD FAIZAL BIN ISMAIL",
        "Vehicle WQK 4521, TARUMA ISWARA 1.5 (M), 2022",
        "Period of cover 30-Nov-2026 to 29-Nov-2027", "Vehicle sum insured 48,000.00 60,000.00",
        "Tariff premium 1,522.00 1,834.00 +312.00", "Total premium 1,868.39 2,295.24 +426.85",
        "Additional premium to be paid: 426.85",
        "Saved by NORHAYATI BINTI SALLEH (ADMIN) on 05-Dec-2026 10:00:00 AM", "Page 1 of 1"}},
      {"a lowered sum insured",
       "CN24000102",
       [](CoverNoteFields& note) {
         note.VehicleSumInsured = "100000";
         Premium(note, "3900.00", "4030.00", "4397.50", "0.00", "4407.50");
       },
       {"Endorsement no. CN24000102/E2", "Vehicle sum insured 120,000.00 100,000.00",
        "Gross premium 4,769.18 4,397.50 -371.68", "Premium to be refunded: 371.68"}},
      {"an extended cover added",
       "CN24000108",
       [](CoverNoteFields& note) {
         note.ExtCoverCodes = {"089"};
         note.ExtCoverSumInsured = {"1000.00"};
         note.ExtCoverPercentages = {"15.00"};
         note.ExtCoverPremiums = {"150.00"};
         note.TotalExtSumInsured = "1000";
         note.TotalExtPremium = "150.00";
         Premium(note, "4174.00", "5013.93", "5163.93", "309.84", "5483.77");
       },
       {"Extended covers (none) 089 BREAKAGE OF GLASS IN", "Extended covers 0.00 150.00 +150.00",
        "Additional premium to be paid: 159.00"}},
      {"a premium agreed outside the tariff (type O), lowered; the commission left out",
       "CN24000126",
       [](CoverNoteFields& note) {
         note.GrossPremium = "1000.00";
         note.ServiceTaxAmount = "60.00";
         note.TotalPremium = "1070.00";
       },
       {"No field was changed other than the premium's figures.",
        "Gross premium 1,150.00 1,000.00 -150.00", "Total premium 1,229.00 1,070.00 -159.00",
        "Premium to be refunded: 159.00"}},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.what);
    const backend::Result saved = Save(each.number, each.change);
    ASSERT_EQ(saved.status, 0);
    const std::vector<std::string> reply = SplitReplyFields(saved.reply);
    ASSERT_EQ(reply.size(), 2u);
    const backend::KeptEndorsement kept = Kept(reply[0]);
    EXPECT_EQ(kept.digest, reply[1]);
    const std::string file = Written(kept);
    const std::string text = Squeezed(ToolOutput("pdftotext -layout " + file + " -"));
    for (const std::string& line : each.lines)
      EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

    // Every font in the file is embedded, as a subset; and the page is A4.
    const std::vector<std::string> fonts = Split(ToolOutput("pdffonts " + file), "\n");
    ASSERT_GT(fonts.size(), 3u) << fonts[0];
    for (std::size_t i = 2; i < fonts.size(); ++i) {
      if (fonts[i].empty()) continue;
      EXPECT_TRUE(std::regex_search(fonts[i],
                                    std::regex(R"(DejaVuSans.* yes +yes +(yes|no) +\d+ +\d+ *$)")))
          << fonts[i];
    }
    EXPECT_NE(ToolOutput("pdfinfo " + file).find("595.276 x 841.89 pts (A4)"), std::string::npos);
  }
}

TEST_F(Endorsements, ASecondSaveMakesASecondAndLeavesTheFirstAsItWas) {
  const auto raised = [](std::string_view amount) {
    return [amount](CoverNoteFields& note) { note.VehicleSumInsured = amount; };
  };
  ASSERT_EQ(Save("CN24000101", raised("60000")).status, 0);
  const backend::KeptEndorsement first = Kept("CN24000101/E2");
  ASSERT_EQ(Save("CN24000101", raised("65000")).status, 0);
  const backend::KeptEndorsement second = Kept("cn24000101/e3");

  EXPECT_EQ(Kept("CN24000101/E2").pdf, first.pdf);
  EXPECT_EQ(Kept("CN24000101/E2").digest, first.digest);
  EXPECT_NE(second.digest, first.digest);
  const std::string text = Squeezed(ToolOutput("pdftotext -layout " + Written(second) + " -"));
  EXPECT_NE(text.find("Vehicle sum insured 60,000.00 65,000.00"), std::string::npos) << text;
  EXPECT_EQ(backend_->WithDatabase([](backend::Database& db) {
    return backend::EndorsementNumbers(db, "cn24000101");
  }),
            (std::vector<std::string>{"CN24000101/E3", "CN24000101/E2"}));
}

}  // namespace
}  // namespace cn
