#include "workspace/client_write.h"

#include <vector>

#include "base/separators.h"
#include "base/text.h"

namespace cn {
namespace {

enum class Copy { kAsRead, kEdited, kUnfilled };

struct ClientWriteField {
  Copy copy;
  std::string ClientDetails::*member;
};

// Identity comes from the client as read; the save may only move and reach the client.
constexpr ClientWriteField kClientWrite[] = {
    {Copy::kAsRead, &ClientDetails::Key},
    {Copy::kAsRead, &ClientDetails::ClientName},
    {Copy::kAsRead, &ClientDetails::OldNRIC},
    {Copy::kAsRead, &ClientDetails::NRIC},
    {Copy::kAsRead, &ClientDetails::BusinessRegistrationNo},
    {Copy::kAsRead, &ClientDetails::Gender},
    {Copy::kAsRead, &ClientDetails::DateOfBirth},
    {Copy::kAsRead, &ClientDetails::MaritalStatus},
    {Copy::kAsRead, &ClientDetails::Nationality},
    {Copy::kEdited, &ClientDetails::Address},
    {Copy::kEdited, &ClientDetails::Town},
    {Copy::kEdited, &ClientDetails::PostalCode},
    {Copy::kEdited, &ClientDetails::StateCode},
    {Copy::kUnfilled, nullptr},
    {Copy::kEdited, &ClientDetails::HouseTel},
    {Copy::kEdited, &ClientDetails::BizTel},
    {Copy::kEdited, &ClientDetails::MobileTel},
    {Copy::kEdited, &ClientDetails::Email},
    {Copy::kUnfilled, nullptr},
    {Copy::kUnfilled, nullptr},
    {Copy::kUnfilled, nullptr},
    {Copy::kUnfilled, nullptr},
    {Copy::kUnfilled, nullptr},
};
static_assert(std::size(kClientWrite) == 23);

}  // namespace

bool ClientChanged(const ClientDetails& edited, const ClientDetails& as_read,
                   std::string_view client_type) {
  if (UCase(edited.Address) != UCase(as_read.Address)) return true;
  if (client_type == "P" &&
      (Trim(edited.NRIC) != Trim(as_read.NRIC) || UCase(edited.OldNRIC) != UCase(as_read.OldNRIC))) {
    return true;
  }
  if (client_type == "C" &&
      UCase(edited.BusinessRegistrationNo) != UCase(as_read.BusinessRegistrationNo)) {
    return true;
  }
  return edited.HouseTel != as_read.HouseTel || edited.BizTel != as_read.BizTel ||
         edited.MobileTel != as_read.MobileTel || edited.Email != as_read.Email;
}

std::string ClientWriteParameters(const ClientDetails& edited, const ClientDetails& as_read,
                                  std::string_view user_id) {
  std::vector<std::string> fields;
  for (const ClientWriteField& field : kClientWrite) {
    switch (field.copy) {
      case Copy::kAsRead: fields.push_back(as_read.*field.member); break;
      case Copy::kEdited: fields.push_back(edited.*field.member); break;
      case Copy::kUnfilled: fields.emplace_back(); break;
    }
  }
  return edited.ClientCode + std::string(ParamSeparator) + std::string(user_id) +
         std::string(ParamSeparator) + Join(fields, FieldSeparator);
}

}  // namespace cn
