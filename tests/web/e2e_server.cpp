// The server with the test screen, for the browser tests: prints "PORT <n>" once it listens
// and serves until SIGINT or SIGTERM. User "alice", password "s3cret pass".
#include <cstdlib>
#include <iostream>
#include <string>

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
  Server server(options, users, cn::web::testing::TestScreenFactory(pages.dir()));
  server.Start();
  std::cout << "PORT " << server.Port() << std::endl;
  server.RunUntilSignalled();
  return 0;
}
