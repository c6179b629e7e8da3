#include "app/endorsement_command.h"

#include <algorithm>
#include <fstream>
#include <ostream>

#include "backend/backend.h"
#include "backend/endorsements.h"
#include "base/runtime_failure.h"
#include "base/text.h"
#include "components/database_setup.h"

namespace cn::app {
namespace {

constexpr std::string_view kName = "covernote endorsement: ";

// The endorsement the command names: a whole number as given, else the cover note's of that
// version, else its newest.
std::optional<std::string> Wanted(backend::Database& db, const EndorsementCommand& command) {
  const std::string note = UCase(Trim(command.note));
  if (note.find('/') != std::string::npos) return note;
  if (command.version) return backend::EndorsementNumber(note, *command.version);
  const std::vector<std::string> numbers = backend::EndorsementNumbers(db, note);
  if (numbers.empty()) return std::nullopt;
  return numbers.front();
}

std::string FileName(std::string number) {
  std::ranges::replace(number, '/', '-');
  return number + ".pdf";
}

}  // namespace

int RunEndorsementCommand(const EndorsementCommand& command, std::ostream& out, std::ostream& err) {
  try {
    const std::filesystem::path path =
        command.database.empty() ? components::EnsureDefaultDatabase() : command.database;
    const std::unique_ptr<backend::Database> db =
        backend::OpenDatabase(path, backend::Database::Access::kReadOnly);
    if (!db->HasTable("endorsement")) {
      err << kName
          << "the database keeps no endorsements yet (bring it up to date with "
             "`covernote db migrate`)\n";
      return 1;
    }
    const std::optional<std::string> number = Wanted(*db, command);
    if (!number) {
      err << kName << "cover note " << UCase(Trim(command.note)) << " has no endorsement\n";
      return 1;
    }
    const backend::EndorsementLookup found = backend::ReadEndorsement(*db, *number, std::nullopt);
    if (found.access != backend::EndorsementAccess::kFound) {
      err << kName << "there is no endorsement " << *number << "\n";
      return 1;
    }
    const backend::KeptEndorsement& endorsement = found.endorsement;
    if (command.out == "-") {
      out.write(endorsement.pdf.data(), static_cast<std::streamsize>(endorsement.pdf.size()));
      return out.flush() ? 0 : 1;
    }
    const std::filesystem::path file =
        command.out.empty() ? FileName(endorsement.number) : command.out;
    std::ofstream written(file, std::ios::binary);
    written.write(endorsement.pdf.data(), static_cast<std::streamsize>(endorsement.pdf.size()));
    if (!written.flush()) {
      err << kName << "cannot write " << file.string() << "\n";
      return 1;
    }
    err << "Endorsement " << endorsement.number << " written to " << file.string() << " (SHA-256 "
        << endorsement.digest << ")\n";
    return 0;
  } catch (const RuntimeFailure& failure) {
    err << kName << failure.description() << "\n";
  } catch (const std::exception& failure) {
    err << kName << failure.what() << "\n";
  }
  return 1;
}

}  // namespace cn::app
