#pragma once
// `covernote endorsement NOTE [--version N] [--out FILE] [--db PATH]`: writes an endorsement as
// it was made at its save. NOTE is the cover note (its newest endorsement, or the one of
// version N) or a whole endorsement number ("CN24000101/E2"). Without --out the file is
// NUMBER.pdf ("CN24000101-E2.pdf") in the current folder; "--out -" writes to stdout.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace cn::app {

struct EndorsementCommand {
  std::string note;
  std::optional<long long> version;
  std::string out;
  std::filesystem::path database;  // empty: the user's default database
};

// 0 when written; 1 (with the reason on `err`) when there is no such endorsement or the
// database cannot be read.
int RunEndorsementCommand(const EndorsementCommand& command, std::ostream& out, std::ostream& err);

}  // namespace cn::app
