// The Cover tab: reading a cover note for amendment.

#include "pages/cover/cnaa_cov.h"

namespace cn {

void CNAACov::cmdReadCNoteNo_onclick() {}
void CNAACov::cmdreadcnoteno_onkeydown() {}
void CNAACov::txtCoverNoteNumber_onkeypress() {}
int CNAACov::ReadCoverNoteAdmin(std::string_view /*cover_note_no*/) { return 0; }
void CNAACov::ReadPreviousDocument(std::string_view /*document_no*/) {}
void CNAACov::ShowRecordOnCoverTab() {}

}  // namespace cn
