#pragma once
// Every saved amendment of a cover note gives an endorsement, made in the save's own
// transaction from exactly what was written, numbered from the note and its version after
// the save ("CN24000101/E2"), and kept as made: what it says, the PDF and the PDF's SHA-256.
// A later amendment makes a new one and leaves the earlier ones as they are.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backend/endorsement_content.h"
#include "backend/sqlite.h"

namespace cn::backend {

// "CN24000101/E2": the cover note's number and its version after the save.
std::string EndorsementNumber(std::string_view cover_note_no, std::int64_t version);

struct MadeEndorsement {
  std::string number;
  std::string digest;  // SHA-256 of the PDF, lower-case hex
};

// Makes and keeps the endorsement of the amendment `amendment_id` just recorded.
MadeEndorsement MakeEndorsement(Database& db, const EndorsementWording& wording,
                                std::int64_t amendment_id, std::string_view user_id,
                                const DateTime& saved_at, const FieldValues& before,
                                const FieldValues& after);

struct KeptEndorsement {
  std::string number;
  std::string cover_note_no;
  std::string content;  // documents::EndorsementText
  std::string pdf;
  std::string digest;
};

enum class EndorsementAccess { kFound, kNotFound, kOtherAgent };
struct EndorsementLookup {
  EndorsementAccess access = EndorsementAccess::kNotFound;
  KeptEndorsement endorsement;
};

// The endorsement with this number (any letter case), for the agent: his own cover notes'
// only, every one for the head office. No agent: every one (the command line on the server).
// A PDF that no longer matches its digest throws RuntimeFailure rather than being handed out.
EndorsementLookup ReadEndorsement(Database& db, std::string_view number,
                                  std::optional<std::string_view> agent_code);

// The numbers of a cover note's endorsements, newest first.
std::vector<std::string> EndorsementNumbers(Database& db, std::string_view cover_note_no);

}  // namespace cn::backend
