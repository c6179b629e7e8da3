// The `covernote` command: the administrator's cover-note amendment screen.
#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
  CLI::App app{
      "covernote - cover note amendment for administrators.\n"
      "Open an issued cover note, amend its premium, recompute and save it."};
  app.set_version_flag("--version", std::string{"covernote "} + COVERNOTE_VERSION);
  app.require_subcommand(0);
  CLI11_PARSE(app, argc, argv);
  if (argc == 1) {
    std::cout << app.help();
  }
  return 0;
}
