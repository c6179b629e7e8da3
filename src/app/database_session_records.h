#pragma once
// The login sessions kept in the database (table login_session), so that every server of it
// accepts a browser's cookie and a restart keeps everyone logged in; the ids only as hashes.

#include <memory>

#include "components/shared_backend.h"
#include "web/session_records.h"

namespace cn::app {

class DatabaseSessionRecords final : public web::SessionRecords {
 public:
  explicit DatabaseSessionRecords(std::shared_ptr<components::SharedBackend> backend)
      : backend_(std::move(backend)) {}

  void Insert(const web::SessionRow& row) override;
  std::optional<web::SessionRow> Find(std::string_view id_hash) override;
  void Touch(std::string_view id_hash, std::int64_t last_used) override;
  std::vector<web::SessionRow> OfUser(std::string_view user) override;
  void End(std::string_view id_hash, std::string_view how, std::int64_t at) override;
  void Forget(std::int64_t before) override;

 private:
  std::shared_ptr<components::SharedBackend> backend_;
};

}  // namespace cn::app
