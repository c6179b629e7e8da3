// The endorsement as drawn: pages, what a reader finds in them, and the print view saying the
// same; the PDF read back with poppler's pdftotext and pdfinfo.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>

#include "../base/temp_folder.h"
#include "base/runtime_failure.h"
#include "documents/endorsement.h"
#include "documents/endorsement_layout.h"
#include "documents/html_document.h"
#include "documents/pdf_document.h"
#include "sample_endorsement.h"

namespace cn::documents {
namespace {

// The sample with an insured whose name holds markup, and a byte in each value read that is
// no UTF-8: it prints as a replacement character rather than failing.
Endorsement Sample(int changes) {
  Endorsement endorsement = testing::SampleEndorsement(changes);
  endorsement.number = "CN24000101/E3";
  endorsement.insured = "TAN & SON'S <SDN BHD>";
  for (ChangedField& change : endorsement.changes) change.as_read.insert(7, "\xff");
  return endorsement;
}

std::string ToolOutput(const std::string& command_line) {
  std::string output;
  FILE* pipe = ::popen((command_line + " 2>&1").c_str(), "r");
  char buffer[4096];
  while (pipe != nullptr) {
    const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe);
    if (read == 0) break;
    output.append(buffer, read);
  }
  if (pipe == nullptr || ::pclose(pipe) != 0) return "failed: " + command_line + "\n" + output;
  return std::regex_replace(output, std::regex("[ \t]+"), " ");
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

TEST(EndorsementPdf, ManyChangesRunOnToNumberedPagesWithTheirHeadingsAndTheSameBytesEachTime) {
  const cn::testing::TempFolder folder("endorsement-pdf");
  const PrintedDocument document = EndorsementDocument(Sample(90));
  const std::string pdf = RenderPdf(document);
  EXPECT_EQ(RenderPdf(document), pdf);
  const std::string file = (folder.path / "long.pdf").string();
  std::ofstream(file, std::ios::binary) << pdf;

  const std::string info = ToolOutput("pdfinfo " + file);
  EXPECT_NE(info.find("Pages: 3"), std::string::npos) << info;
  EXPECT_NE(info.find("Title: Endorsement CN24000101/E3"), std::string::npos) << info;
  const std::string text = ToolOutput("pdftotext -layout " + file + " -");
  EXPECT_EQ(Count(text, "Field As read As saved"), 3u) << text;
  EXPECT_EQ(Count(text, "Named driver "), 90u);
  for (const char* line : {"Page 1 of 3", "Page 3 of 3", "Insured TAN & SON'S <SDN BHD>",
                           "Named driver 90 DRIVER \xEF\xBF\xBD"
                           "90 DRIVER 190",
                           "Additional premium to be paid: 426.85"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
}

TEST(EndorsementPrintView, SaysWhatThePdfSaysWithItsMarkupKeptOutOfTheValues) {
  const Endorsement endorsement = Sample(2);
  Endorsement kept = endorsement;
  for (ChangedField& change : kept.changes) change.as_read.replace(7, 1, "\xEF\xBF\xBD");
  EXPECT_EQ(ReadEndorsementText(EndorsementText(endorsement)), kept);
  EXPECT_THROW(ReadEndorsementText("{\"number\": 5}"), RuntimeFailure);

  const std::string html = RenderHtml(
      EndorsementDocument(endorsement),
      {.stylesheet = "/styles/printed.css", .script = "/js/printed.js", .pdf = "/e/CN/E3"});
  for (const char* part :
       {"<title>Endorsement CN24000101/E3</title>", "href=\"/styles/printed.css\"",
        "src=\"/js/printed.js\"", "<a href=\"/e/CN/E3\">Open the PDF</a>",
        "<p class=\"issuer-name\">Kivo General Insurance Berhad</p>",
        "<th scope=\"row\">Insured</th><td>TAN &amp; SON&#39;S &lt;SDN BHD&gt;</td>",
        "NO 12, JALAN MERANTI 3<br>TAMAN SERI MERANTI", "<td>Named driver 2</td>",
        "<tr class=\"total\"><td>Total premium</td><td class=\"figure\">1,868.39</td>",
        "<p class=\"statement\">Additional premium to be paid: 426.85</p>",
        "Saved by NORHAYATI BINTI SALLEH (ADMIN) on 05-Dec-2026 10:00:00 AM"}) {
    EXPECT_NE(html.find(part), std::string::npos) << part << "\n" << html;
  }
  // Scripts only from the server's own files: nothing inline, no handler attributes.
  EXPECT_FALSE(
      std::regex_search(html, std::regex("<script(?![^>]*\\bsrc=)[^>]*>|\\son[a-z]+\\s*=")));
}

}  // namespace
}  // namespace cn::documents
