#pragma once
// The local lookup tables: the same lists as the back-end list commands, read
// from the same database, so the two modes show the same entries.
//
// List numbers: 0 occupations, 1 mortgagees, 2 vehicle makes, 3 body types,
// 5 motor cover codes, 6 system codes, 8 states, 9 tariff regions.

#include <memory>
#include <span>
#include <string_view>

#include "components/shared_backend.h"
#include "integration/components.h"

namespace cn::components {

// Status of a list number, kind or class the local table does not hold.
inline constexpr std::int32_t kNoSuchList = 1;

// Which back-end list command and parameter a local list number stands for.
struct LocalList {
  std::int16_t number;
  std::string_view command;
  std::string_view parameter;
};
std::span<const LocalList> LocalLists();

class StoreLocalTables final : public LocalTableService {
 public:
  explicit StoreLocalTables(std::shared_ptr<SharedBackend> backend);

  void GetList(std::string& reply, std::int16_t list_number, std::int32_t& status) override;
  void GetMotorClassList(std::string& reply, std::int32_t kind, std::int32_t& status) override;
  void GetUOMList(std::string& reply, std::string_view class_code,
                  std::int32_t& status) override;

 private:
  void Read(std::string_view command, std::string_view parameter, std::string& reply,
            std::int32_t& status);

  std::shared_ptr<SharedBackend> backend_;
};

}  // namespace cn::components
