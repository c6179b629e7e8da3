#pragma once
// A client as the client master holds it: the copy read from the back end and the
// copy the save writes back have the same shape.

#include <array>
#include <string>

namespace cn {

struct ClientDetails {
  std::string Key;
  std::string ClientCode;
  std::string ClientName;
  std::string Address;
  std::string PostalCode;
  std::string Town;
  std::string StateCode;
  std::string Gender;
  std::string DateOfBirth;
  std::string MaritalStatus;
  std::string Nationality;
  std::string NRIC;
  std::string OldNRIC;
  std::string BusinessRegistrationNo;
  std::string HouseTel;
  std::string BizTel;
  std::string MobileTel;
  std::string Email;
  // Kept by the client master; the screen never fills them and sends them empty.
  std::array<std::string, 5> Further;

  bool operator==(const ClientDetails&) const = default;
};

}  // namespace cn
