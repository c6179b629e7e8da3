// The server with the test screen, for the browser tests: prints "PORT <n>" once it listens
// and serves until SIGINT or SIGTERM. User "alice", password "s3cret pass". The selection
// dialog is the product's, reading the selection file the test screen writes.
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/dialog_pages.h"
#include "integration/components.h"
#include "test_screen.h"
#include "web/memory_user_directory.h"
#include "web/server.h"

int main(int argc, char** argv) {
  using namespace cn::web;
  const cn::web::testing::TestPages pages;
  auto users = std::make_shared<MemoryUserDirectory>(MemoryUserDirectory::HashCost::kMinimum);
  users->Add("alice", "s3cret pass", Identity{"ALICE", "A01", "B"});
  ServerOptions options;
  options.port = argc > 1 ? static_cast<unsigned short>(std::atoi(argv[1])) : 0;
  options.assets = argc > 2 ? argv[2] : COVERNOTE_PAGES_DIR;
  const auto installation = pages.dir() / "installation";
  const cn::Components no_components;  // the selection dialog needs none; nothing here searches
  Server server(options, users,
                cn::web::testing::TestScreenFactory(
                    pages.dir(), cn::app::ProductDialogPages(no_components, installation.string()), installation));
  server.Start();
  std::cout << "PORT " << server.Port() << std::endl;
  server.RunUntilSignalled();
  return 0;
}
