#include "app/endorsement_files.h"

#include "backend/endorsements.h"
#include "documents/endorsement_layout.h"
#include "documents/html_document.h"

namespace cn::app {
namespace {

web::EndorsementFile::Outcome OutcomeOf(backend::EndorsementAccess access) {
  switch (access) {
    case backend::EndorsementAccess::kFound:
      return web::EndorsementFile::Outcome::kFound;
    case backend::EndorsementAccess::kOtherAgent:
      return web::EndorsementFile::Outcome::kOtherAgent;
    case backend::EndorsementAccess::kNotFound:
      break;
  }
  return web::EndorsementFile::Outcome::kNotFound;
}

class BackendEndorsements final : public web::Endorsements {
 public:
  explicit BackendEndorsements(std::shared_ptr<components::SharedBackend> backend)
      : backend_(std::move(backend)) {}

  web::EndorsementFile Pdf(const web::Identity& reader, std::string_view number) const override {
    const backend::EndorsementLookup found = Read(reader, number);
    return {OutcomeOf(found.access), found.endorsement.number, found.endorsement.pdf};
  }

  web::EndorsementFile PrintView(const web::Identity& reader, std::string_view number,
                                 std::string_view pdf_address) const override {
    const backend::EndorsementLookup found = Read(reader, number);
    if (found.access != backend::EndorsementAccess::kFound)
      return {OutcomeOf(found.access), {}, {}};
    const documents::PrintedDocument document =
        documents::EndorsementDocument(documents::ReadEndorsementText(found.endorsement.content));
    return {web::EndorsementFile::Outcome::kFound, found.endorsement.number,
            documents::RenderHtml(document, {.stylesheet = "/styles/printed.css",
                                             .script = "/js/printed.js",
                                             .pdf = std::string(pdf_address)})};
  }

 private:
  backend::EndorsementLookup Read(const web::Identity& reader, std::string_view number) const {
    return backend_->WithDatabase([&](backend::Database& db) {
      return backend::ReadEndorsement(db, number, std::string_view(reader.agent_code));
    });
  }

  std::shared_ptr<components::SharedBackend> backend_;
};

}  // namespace

std::shared_ptr<const web::Endorsements> ProductEndorsements(
    std::shared_ptr<components::SharedBackend> backend) {
  return std::make_shared<const BackendEndorsements>(std::move(backend));
}

}  // namespace cn::app
