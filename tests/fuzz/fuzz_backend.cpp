// Commands as the back end receives them: the first line names the command, the rest is its
// parameters (WriteAdmin records, premium factors, client records, ...). A bad parameter is a
// status, a store problem a StoreFailure; nothing else may escape.
#include <memory>

#include "../base/temp_folder.h"
#include "backend/backend.h"
#include "refusal.h"

namespace {

struct Store {
  const cn::testing::TempFolder folder{"covernote-fuzz"};
  cn::FixedClock clock{cn::DateTime{*cn::Date::FromYmd(2026, 3, 1), {}}};
  std::unique_ptr<cn::backend::Backend> backend =
      std::make_unique<cn::backend::Backend>(folder.path / "fuzz.db", clock);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Store store;
  const std::string_view input = cn::fuzzing::Text(data, size);
  const auto line = input.find('\n');
  if (line == std::string_view::npos) return 0;
  cn::fuzzing::MayRefuse<cn::backend::StoreFailure>(
      [&] { (void)store.backend->Execute(input.substr(0, line), input.substr(line + 1)); });
  return 0;
}
