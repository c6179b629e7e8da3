#include "documents/html_document.h"

#include <algorithm>
#include <sstream>

namespace cn::documents {
namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Line breaks in a value (an address) stay line breaks.
std::string Lines(std::string_view text) {
  std::string out;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    out += Escaped(text.substr(start, end - start));
    if (end == std::string_view::npos) return out;
    out += "<br>";
    start = end + 1;
  }
}

std::string Percent(double share) {
  return std::to_string(static_cast<int>(share * 100 + 0.5)) + "%";
}

void Table(std::ostringstream& html, const Block& block) {
  const bool details = block.kind == Block::Kind::kDetails;
  html << "<table class=\"" << (details ? "details" : "ruled") << "\">\n<colgroup>";
  for (const Column& column : block.columns) {
    html << "<col style=\"width:" << Percent(column.share) << "\">";
  }
  html << "</colgroup>\n";
  const bool headed =
      std::ranges::any_of(block.columns, [](const Column& c) { return !c.heading.empty(); });
  if (headed) {
    html << "<thead><tr>";
    for (const Column& column : block.columns) {
      html << "<th scope=\"col\"" << (column.align == Align::kRight ? " class=\"figure\"" : "")
           << ">" << Escaped(column.heading) << "</th>";
    }
    html << "</tr></thead>\n";
  }
  html << "<tbody>\n";
  for (std::size_t i = 0; i < block.rows.size(); ++i) {
    const bool total = block.total_row && i + 1 == block.rows.size();
    html << (total ? "<tr class=\"total\">" : "<tr>");
    for (std::size_t c = 0; c < block.columns.size(); ++c) {
      const std::string cell = c < block.rows[i].size() ? block.rows[i][c] : std::string();
      const bool label = details && c == 0;
      html << (label ? "<th scope=\"row\"" : "<td")
           << (block.columns[c].align == Align::kRight ? " class=\"figure\"" : "") << ">"
           << Lines(cell) << (label ? "</th>" : "</td>");
    }
    html << "</tr>\n";
  }
  html << "</tbody></table>\n";
}

}  // namespace

std::string RenderHtml(const PrintedDocument& document, const HtmlLinks& links) {
  std::ostringstream html;
  html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
       << Escaped(document.title) << "</title>\n<link rel=\"stylesheet\" href=\""
       << Escaped(links.stylesheet) << "\">\n<script type=\"module\" src=\""
       << Escaped(links.script) << "\"></script>\n</head>\n<body class=\"printed\">\n"
       << "<nav class=\"print-bar\" aria-label=\"Document\"><button id=\"print\" "
          "type=\"button\">Print</button> <a href=\""
       << Escaped(links.pdf) << "\">Open the PDF</a></nav>\n<article class=\"sheet\">\n"
       << "<header class=\"letterhead\">\n<div class=\"issuer\">";
  for (std::size_t i = 0; i < document.letterhead.size(); ++i) {
    html << (i == 0 ? "<p class=\"issuer-name\">" : "<p>") << Escaped(document.letterhead[i])
         << "</p>";
  }
  html << "</div>\n<div class=\"title\"><h1>" << Escaped(document.heading)
       << "</h1><p class=\"reference\">" << Escaped(document.reference)
       << "</p></div>\n</header>\n";
  for (const Block& block : document.blocks) {
    switch (block.kind) {
      case Block::Kind::kHeading:
        html << "<h2>" << Escaped(block.text) << "</h2>\n";
        break;
      case Block::Kind::kDetails:
      case Block::Kind::kTable:
        Table(html, block);
        break;
      case Block::Kind::kStatement:
        if (!block.text.empty())
          html << "<p class=\"statement\">" << Escaped(block.text) << "</p>\n";
        break;
      case Block::Kind::kNote:
        html << "<p class=\"note\">" << Escaped(block.text) << "</p>\n";
        break;
    }
  }
  html << "<footer>" << Escaped(document.foot) << "</footer>\n</article>\n</body>\n</html>\n";
  return html.str();
}

}  // namespace cn::documents
