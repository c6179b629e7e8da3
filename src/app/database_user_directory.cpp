#include "app/database_user_directory.h"

#include <string>

#include "backend/sqlite.h"
#include "web/user_name.h"

namespace cn::app {

namespace {

constexpr std::string_view kUserQuery = R"sql(
SELECT u.user_id, u.password_hash, a.code, a.agent_type
FROM app_user u JOIN agent a ON a.code = u.agent_code
WHERE u.user_id = ?1 AND u.password_hash IS NOT NULL
)sql";

struct StoredUser {
  std::string password_hash;
  web::Identity identity;
};

}  // namespace

DatabaseUserDirectory::DatabaseUserDirectory(std::shared_ptr<components::SharedBackend> backend)
    : backend_(std::move(backend)), verifier_(web::HashCost::kInteractive) {}

std::optional<web::Identity> DatabaseUserDirectory::Authenticate(std::string_view user,
                                                                 std::string_view password) const {
  const auto user_id = web::CanonicalUserName(user);
  const auto stored =
      backend_->WithDatabase([&](backend::Database& db) -> std::optional<StoredUser> {
        // In a transaction, as a command is: a database file deleted or replaced fails it.
        backend::Transaction reading(db, backend::Transaction::Kind::kDeferred);
        backend::Statement& query = db.Prepare(kUserQuery);
        query.Bind(1, std::string_view(user_id.value_or("")));
        std::optional<StoredUser> found;
        if (user_id && query.Step()) {
          found = StoredUser{query.Text(1), {query.Text(0), query.Text(2), query.Text(3)}};
        }
        query.Reset();
        reading.Commit();
        return found;
      });
  // The slow, memory-hard check runs after the store is free again for other sessions, and
  // runs for unknown users too.
  std::optional<std::string> hash;
  if (stored) hash = stored->password_hash;
  if (!verifier_.Matches(hash, password)) return std::nullopt;
  return stored->identity;
}

}  // namespace cn::app
