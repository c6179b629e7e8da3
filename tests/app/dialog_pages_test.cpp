// The dialog pages as a browser sees them: what the enquiry and selection dialogs open with,
// and what the enquiry's searches find in the sample database under an agent's identity.
#include "app/dialog_pages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/text.h"
#include "base/separators.h"
#include "components/product_components.h"
#include "components/shared_backend.h"
#include "fake_ports.h"
#include "integration/selection_file.h"
#include "test_screen.h"

namespace cn::app {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using web::testing::Refusal;

std::string Arg(std::vector<std::string> parts) { return Join(parts, DialogArgSeparator); }

std::vector<std::string> Values(const json& list) {
  std::vector<std::string> values;
  for (const auto& row : list["rows"]) values.push_back(row["value"]);
  return values;
}

class DialogPagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "installation");
    components_ = std::make_unique<Components>(components::ProductComponents(
        {.backend = components::OpenSharedBackend(folder_ / "sample.db", clock_),
         .settings = std::make_shared<const components::Settings>(components::DefaultSettings(folder_ / "installation")),
         .dialogs = std::make_shared<cn::testing::FakeDialogs>(),
         .overrides = {}},
        clock_));
    pages_ = ProductDialogPages(*components_, (folder_ / "installation").string());
  }
  static void TearDownTestSuite() {
    pages_.reset();
    components_.reset();
    fs::remove_all(folder_);
  }

  static json Search(std::string_view argument, std::string by, std::string text) {
    return pages_->Search("dlgEnq.htm", argument, {{"by", std::move(by)}, {"text", std::move(text)}});
  }

  static inline SystemClock clock_;
  static inline const fs::path folder_ =
      fs::temp_directory_path() / ("covernote-dialogs-" + std::to_string(::getpid()));
  static inline std::unique_ptr<Components> components_;
  static inline std::shared_ptr<web::DialogPages> pages_;
};

TEST_F(DialogPagesTest, CoverNoteEnquiryOffersThreeSearchesAndShowsNothingUntilAsked) {
  const json opening = pages_->Opening("dlgEnq.htm", Arg({"CoverNote Enquiry", "A1001", "U1"}));
  EXPECT_EQ(json({opening["title"], opening["searches"], opening["columns"].size(), opening["rows"], opening["listed"]}),
            json::parse(R"(["CoverNote Enquiry", [{"by":"NUMBER","label":"Cover Note No."},
                {"by":"VEHICLE","label":"Vehicle No."},{"by":"NAME","label":"Client Name"}], 6, [], false])"));
}

TEST_F(DialogPagesTest, CoverNoteSearchesFindTheAgentsOwnCoverNotesOnly) {
  const std::tuple<const char*, const char*, const char*, std::vector<std::string>> cases[] = {
      {"A1001", "NUMBER", "CN2400010", {"CN24000101", "CN24000102", "CN24000103", "CN24000104", "CN24000105",
                                        "CN24000106", "CN24000107", "CN24000108"}},
      {"A1001", "NUMBER", " cn24000103 ", {"CN24000103"}},  // trimmed; the number matches in any case
      {"A1001", "VEHICLE", "BMK 71", {"CN24000102", "CN24000107"}},
      {"A2001", "NUMBER", "CN2400010", {"CN24000109"}},  // another agent sees only his own
      {"HQ001", "NUMBER", "CN24000109", {"CN24000109"}},  // the head office sees everyone's
      {"A1001", "NUMBER", "CN24000109", {}},
      {"A1001", "NAME", "%", {}},  // a wildcard is a plain character
  };
  for (const auto& [agent, by, text, numbers] : cases) {
    SCOPED_TRACE(std::string(agent) + " " + by + " '" + text + "'");
    const json found = Search(Arg({"CoverNote Enquiry", agent, "U1"}), by, text);
    EXPECT_EQ(Values(found), numbers);
    EXPECT_EQ(found["notice"], numbers.empty() ? "Nothing matches." : "");
  }
  // A row shows the vehicle, and the status and transaction in words.
  const json cells = Search(Arg({"CoverNote Enquiry", "A1001", "U1"}), "NUMBER", "CN24000103")["rows"][0]["cells"];
  EXPECT_EQ(json({cells[0], cells[1], cells[3], cells[4]}), json({"CN24000103", "VFD 88", "Issued", "New"}));
}

TEST_F(DialogPagesTest, ClientEnquiryFindsByNameOrIdentityNumberAndReturnsTheCode) {
  const std::string argument = Arg({"Client Enquiry", "A1001", "U1"});
  const json opening = pages_->Opening("dlgEnq.htm", argument);
  EXPECT_EQ(opening["searches"].size(), 2u);
  const json by_name = Search(argument, "NAME", "tan mei");
  EXPECT_EQ(Values(by_name), std::vector<std::string>{"C0000102"});
  const json& cells = by_name["rows"][0]["cells"];
  EXPECT_EQ(std::make_pair(cells[1], cells.size()), std::make_pair(json("TAN MEI LING"), opening["columns"].size()));
  EXPECT_EQ(Values(Search(argument, "IDNO", "800111-01-1123")), std::vector<std::string>{"C0000101"});
}

TEST_F(DialogPagesTest, ClientListGivenByThePageIsShownWithoutSearching) {
  const std::string list = Join({Join({"C1", "ALI", "", "800101-01-1111", "", "ADDR", "TOWN", "40000", "10"},
                                      FieldSeparator),
                                 Join({" C2 ", "ABU"}, FieldSeparator)},
                                RecordSeparator);
  const json opening = pages_->Opening("dlgEnq.htm", Arg({"Client Enquiry", "A1001", "U1", list}));
  EXPECT_TRUE(opening["listed"]);
  EXPECT_EQ(Values(opening), (std::vector<std::string>{"C1", "C2"}));  // the code, trimmed
  EXPECT_EQ(opening["rows"][1]["cells"].size(), 9u);
}

TEST_F(DialogPagesTest, SearchProblemsAreNoticesAndBadQueriesAreRefused) {
  const std::string argument = Arg({"CoverNote Enquiry", "A1001", "U1"});
  EXPECT_EQ(Search(argument, "NUMBER", "   ")["notice"], "Type what to search for.");
  for (const json& query : {json{{"by", "IDNO"}, {"text", "1"}}, json{{"by", "NUMBER"}},
                            json{{"by", 1}, {"text", "1"}}, json{{"by", "NUMBER"}, {"text", std::string(101, 'A')}}}) {
    SCOPED_TRACE(query.dump());
    EXPECT_EQ(Refusal([&] { pages_->Search("dlgEnq.htm", argument, query); }).substr(0, 3), "400");
  }
  EXPECT_EQ(Refusal([&] { pages_->Search("dlgSrch.htm", "SearchBody", {{"by", "NUMBER"}, {"text", "1"}}); }).substr(0, 3),
            "404");
}

TEST_F(DialogPagesTest, SelectionDialogListsTheSessionsSelectionFile) {
  const fs::path file = SelectionFilePath((folder_ / "installation").string());
  fs::create_directories(file.parent_path());
  const auto write = [&](std::string_view text) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << EncodeUtf16File(text);
  };
  write(Join({Join({"M01", "SAGA 1.3", "1299.00", "CC", "SALOON", "5"}, FieldSeparator),
              Join({"M02", "MYVI \xE2\x80\x93 1.5 \xF0\x9F\x9A\x97"}, FieldSeparator)},
             RecordSeparator));
  const json models = pages_->Opening("dlgSrch.htm", "SearchModel");
  EXPECT_EQ(models["title"], "Select Model");
  EXPECT_EQ(models["columns"], json::parse(R"(["Code","Model","Capacity","Unit","Body","Seats"])"));
  EXPECT_EQ(Values(models), (std::vector<std::string>{"True;M01;SAGA 1.3", "True;M02;MYVI \xE2\x80\x93 1.5 \xF0\x9F\x9A\x97"}));
  EXPECT_EQ(models["rows"][1]["cells"], json::parse(R"(["M02","MYVI \u2013 1.5 \ud83d\ude97","","","",""])"));

  write(Join({Join({"", "[NONE]"}, FieldSeparator), Join({"MB01", "BANK A"}, FieldSeparator)}, RecordSeparator));
  const json mortgagees = pages_->Opening("dlgSrch.htm", "SearchMortgagee");
  EXPECT_EQ(mortgagees["title"], "Select Mortgagee");
  EXPECT_EQ(Values(mortgagees), (std::vector<std::string>{"True;;[NONE]", "True;MB01;BANK A"}));

  fs::remove(file);
  const json empty = pages_->Opening("dlgSrch.htm", "SearchBody");
  EXPECT_EQ(json({empty["rows"], empty["notice"]}), json::parse(R"([[], "There is nothing to choose from."])"));
  EXPECT_TRUE(pages_->Opening("dlgOther.htm", "x").is_null());
}

}  // namespace
}  // namespace cn::app
