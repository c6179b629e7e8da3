#include "components/local_table_service.h"

#include <array>
#include <string>
#include <utility>

namespace cn::components {
namespace {

constexpr std::string_view kInsuranceBrowse = "KivoInsurance.Find.Browse";
constexpr std::string_view kTarvinBrowse = "Tarvin.Find.Browse";

constexpr std::array kLocalLists = {
    LocalList{0, kInsuranceBrowse, "0"},  // occupations
    LocalList{1, kInsuranceBrowse, "1"},  // mortgagees
    LocalList{2, kTarvinBrowse, "0"},     // vehicle makes
    LocalList{3, kTarvinBrowse, "1"},     // body types
    LocalList{5, kTarvinBrowse, "3"},     // motor cover codes
    LocalList{6, kInsuranceBrowse, "2"},  // system codes
    LocalList{8, kInsuranceBrowse, "3"},  // states
    LocalList{9, kTarvinBrowse, "7"},     // tariff regions
};

constexpr std::array<std::string_view, 3> kMotorClassKinds = {"0", "1", "2"};

}  // namespace

std::span<const LocalList> LocalLists() { return kLocalLists; }

StoreLocalTables::StoreLocalTables(std::shared_ptr<SharedBackend> backend)
    : backend_(std::move(backend)) {}

void StoreLocalTables::Read(std::string_view command, std::string_view parameter,
                            std::string& reply, std::int32_t& status) {
  backend::Result result = backend_->Execute(command, parameter);
  reply = std::move(result.reply);
  status = result.status;
}

void StoreLocalTables::GetList(std::string& reply, std::int16_t list_number,
                               std::int32_t& status) {
  for (const LocalList& list : kLocalLists) {
    if (list.number == list_number) return Read(list.command, list.parameter, reply, status);
  }
  reply.clear();
  status = kNoSuchList;
}

void StoreLocalTables::GetMotorClassList(std::string& reply, std::int32_t kind,
                                         std::int32_t& status) {
  if (kind < 0 || kind >= static_cast<std::int32_t>(kMotorClassKinds.size())) {
    reply.clear();
    status = kNoSuchList;
    return;
  }
  Read("Tarvin.Find.FindMotorClass", kMotorClassKinds[static_cast<std::size_t>(kind)], reply,
       status);
}

void StoreLocalTables::GetUOMList(std::string& reply, std::string_view class_code,
                                  std::int32_t& status) {
  Read("Tarvin.Find.BrowseUOM", class_code, reply, status);
}

}  // namespace cn::components
