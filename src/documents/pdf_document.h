#pragma once
// A printed document as a PDF: A4, drawn with Cairo's PDF surface and Pango in DejaVu Sans,
// the font embedded as a subset so that the text can be selected and searched. Tables that
// do not fit go on to further pages with their headings again; every page is numbered. The
// same document always gives the same bytes: its creation date is its own `made_at`, and
// nothing of the clock or the machine's settings goes in.

#include <string>

#include "documents/printed_document.h"

namespace cn::documents {

// The PDF's bytes. Throws RuntimeFailure when the font is missing or Cairo fails. Safe to
// call from several threads: each call has its own fonts and surface.
std::string RenderPdf(const PrintedDocument& document);

// "" when the documents' font can be used, else what is missing: checked as a server starts,
// so that no save later fails for want of it.
std::string FontProblem();

}  // namespace cn::documents
