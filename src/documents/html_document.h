#pragma once
// A printed document as an HTML page, for browsers set not to open PDFs: the same letterhead
// and blocks in the same order, laid out for A4 by its print stylesheet. No script or style
// is written into the page itself, so that it keeps the server's strict content policy.

#include <string>

#include "documents/printed_document.h"

namespace cn::documents {

// Where the page's own files are, as addresses of the server that sends it.
struct HtmlLinks {
  std::string stylesheet;  // screen and print styles
  std::string script;      // the Print button's
  std::string pdf;         // the same document as a PDF
};

std::string RenderHtml(const PrintedDocument& document, const HtmlLinks& links);

}  // namespace cn::documents
