#pragma once
// The endorsement on paper: its sections and their rows, in order, as tables.

#include "documents/endorsement.h"
#include "documents/printed_document.h"

namespace cn::documents {

PrintedDocument EndorsementDocument(const Endorsement& endorsement);

}  // namespace cn::documents
