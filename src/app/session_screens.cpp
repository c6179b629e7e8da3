#include "app/session_screens.h"

#include <signal.h>
#include <spdlog/spdlog.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "app/dialog_pages.h"
#include "app/endorsement_wording.h"
#include "backend/store_address.h"
#include "base/clock.h"
#include "base/text.h"
#include "components/data_paths.h"
#include "components/database_setup.h"
#include "components/insurer_settings.h"
#include "components/product_components.h"
#include "components/settings_registry.h"
#include "components/shared_backend.h"
#include "documents/pdf_document.h"
#include "dom/page_templates.h"
#include "integration/lookup_state.h"
#include "workspace/screen.h"
#include "workspace/unsaved_changes.h"

namespace cn::app {

// What every session shares: the clock, the open back end and the settings file's values.
struct ServedProduct {
  SystemClock clock;
  std::shared_ptr<components::SharedBackend> backend;
  std::shared_ptr<const components::Settings> settings;
  std::string installation_path;
  // Every session's tab pages are copies of files parsed once.
  std::shared_ptr<dom::PageTemplates> page_templates = std::make_shared<dom::PageTemplates>();
  mutable std::atomic<std::uint64_t> sessions_opened{0};
};

namespace {

// A folder of the session's own under the installation path, for its selection files; gone
// with the session. Empty when there is no installation path to put it under (the selection
// then fails with the missing setting's message, as it would on a desktop).
class SessionFolder {
 public:
  explicit SessionFolder(const ServedProduct& product) {
    if (product.installation_path.empty()) return;
    const auto number = ++product.sessions_opened;
    path_ = std::filesystem::path(product.installation_path) / "Sessions" /
            (std::to_string(::getpid()) + "-" + std::to_string(number));
    std::error_code error;
    std::filesystem::create_directories(path_, error);
    if (error) {
      spdlog::warn("No session folder at {}: {}", path_.string(), error.message());
      path_.clear();
    }
  }
  ~SessionFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  SessionFolder(const SessionFolder&) = delete;
  SessionFolder& operator=(const SessionFolder&) = delete;

  std::string Text() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Session folders left behind by a server that did not stop cleanly (its process is gone).
void RemoveAbandonedSessionFolders(const std::string& installation_path) {
  std::error_code error;
  const std::filesystem::path sessions = std::filesystem::path(installation_path) / "Sessions";
  for (const auto& entry : std::filesystem::directory_iterator(sessions, error)) {
    const std::string name = entry.path().filename().string();
    const long owner = std::strtol(name.c_str(), nullptr, 10);
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(owner), 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

std::vector<components::SettingValue> SessionOverrides(const web::Identity& identity, const SessionFolder& folder) {
  auto overrides = components::IdentityOverrides(identity.user_id, identity.agent_code,
                                                 identity.agent_type, identity.role);
  if (!folder.Text().empty()) {
    overrides.push_back({std::string(components::kProductKeyPath), "Installation Path", folder.Text()});
  }
  return overrides;
}

// One administrator's screen: his components, the page logic over them and the shell that
// shows it. Members are destroyed in reverse order, so the shell goes before the logic it
// calls, the logic before its components, and the session folder last.
struct SessionScreen {
  SessionScreen(std::shared_ptr<const ServedProduct> served, const web::Identity& identity,
                std::shared_ptr<dom::DialogHost> dialogs)
      : product(std::move(served)),
        folder(*product),
        components(components::ProductComponents({.backend = product->backend,
                                                  .settings = product->settings,
                                                  .dialogs = dialogs,
                                                  .overrides = SessionOverrides(identity, folder)},
                                                 product->clock)),
        screen(components, product->clock),
        dialog_pages(ProductDialogPages(components, folder.Text())) {}

  std::shared_ptr<const ServedProduct> product;
  SessionFolder folder;
  Components components;
  Screen screen;
  std::shared_ptr<web::DialogPages> dialog_pages;
  std::shared_ptr<shell::HostShell> shell;
};

}  // namespace

std::shared_ptr<const ServedProduct> OpenProduct(const ProductPaths& paths) {
  auto served = std::make_shared<ServedProduct>();
  const std::filesystem::path database =
      paths.database.empty() ? components::EnsureDefaultDatabase() : paths.database;
  const std::filesystem::path settings =
      paths.settings.empty() ? components::DefaultSettingsPath() : paths.settings;
  served->settings = std::make_shared<const components::Settings>(components::LoadOrCreateSettings(
      settings, paths.settings.empty() ? components::DefaultDataFolder() : settings.parent_path()));
  // Every save makes an endorsement: a server that could not make one does not start.
  if (const std::string problem = documents::FontProblem(); !problem.empty()) {
    throw RuntimeFailure(failure::kInvalidArgument, problem, "covernote");
  }
  const backend::EndorsementWording wording = ProductEndorsementWording(*served->settings);
  if (wording.insurer.name.empty()) {
    spdlog::warn(
        "The settings file {} names no insurer (\"Name\" under {}): endorsements will "
        "carry none at their head",
        settings.string(), components::kInsurerKeyPath);
  }
  served->backend = components::OpenSharedBackend(database, served->clock, wording);
  served->installation_path =
      served->settings->Find(components::kProductKeyPath, "Installation Path").value_or("");
  if (!served->installation_path.empty()) RemoveAbandonedSessionFolders(served->installation_path);
  spdlog::info("Database {}, settings {}", backend::DisplayAddress(database.string()),
               settings.string());
  return served;
}

std::shared_ptr<components::SharedBackend> ProductBackend(const ServedProduct& product) { return product.backend; }

web::ScreenFactory SessionScreens(std::shared_ptr<const ServedProduct> product, std::filesystem::path pages) {
  return [product = std::move(product), pages = std::move(pages)](const web::Identity& identity,
                                                                   std::shared_ptr<dom::DialogHost> dialogs) {
    auto owner = std::make_shared<SessionScreen>(product, identity, dialogs);
    shell::HostShell::Options options;
    options.pages_dir = pages;
    options.page_factory = owner->screen.PageFactory();
    options.page_templates = product->page_templates;
    options.dialogs = std::move(dialogs);
    owner->shell = shell::HostShell::Create(std::move(options));
    // The session holds the shell and the dialog pages; through them, everything they use.
    web::SessionScreen screen;
    screen.shell = std::shared_ptr<shell::HostShell>(owner, owner->shell.get());
    screen.dialog_pages = std::shared_ptr<web::DialogPages>(owner, owner->dialog_pages.get());
    screen.unsaved = [weak = std::weak_ptr<SessionScreen>(owner)] {
      const auto held = weak.lock();
      Workspace* ws = held ? held->screen.workspace() : nullptr;
      return ws != nullptr && HasUnsavedChanges(*ws, held->shell->TabDocument().get());
    };
    screen.unsaved_typing = [weak = std::weak_ptr<SessionScreen>(owner)](const dom::Element& box) {
      const auto held = weak.lock();
      Workspace* ws = held ? held->screen.workspace() : nullptr;
      return ws != nullptr && TypedUnsavedChange(*ws, box);
    };
    screen.note_read = [weak = std::weak_ptr<SessionScreen>(owner)] {
      const auto held = weak.lock();
      Workspace* ws = held ? held->screen.workspace() : nullptr;
      if (ws == nullptr) return web::ReadNote{};
      if (ws->read.AsReadReply.empty()) return web::ReadNote{"", "", ws->read.Reads};
      return web::ReadNote{UCase(ws->read.LoadedCoverNoteNo), ws->record.Current.CoverNoteKey,
                           ws->read.Reads};
    };
    screen.saved_since = [weak = std::weak_ptr<SessionScreen>(owner)](std::string_view number) {
      const auto held = weak.lock();
      Workspace* ws = held ? held->screen.workspace() : nullptr;
      return ws == nullptr ? std::string() : LastSavedBy(*ws, number);
    };
    // The screen shows them off already; a request for them is refused all the same.
    if (!identity.MayAmend()) {
      screen.refused_commands = {"cmdCalculate", "cmdSave"};
      screen.refusal = std::string(kEnquiryOnly);
    }
    return screen;
  };
}

}  // namespace cn::app
