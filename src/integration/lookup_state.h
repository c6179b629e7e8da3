#pragma once
// What the screen remembers about its user, its settings and the lookup lists it
// has fetched. The workspace holds one of each for as long as the screen is open;
// the routines of this folder take them by reference.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cn {

// What the status bar says of every cover note shown to a user who may only enquire.
inline constexpr std::string_view kEnquiryOnly =
    "Shown read-only: your account may enquire only; it cannot calculate or save.";

// Who is working, read from the settings store at start-up.
struct UserIdentity {
  std::string CurrentUserId;
  std::string CurrentAgentType;
  std::string CurrentAgentCode;
  // "enquire": the user may read, never calculate or save; anything else (an installation's
  // settings name no role) amends.
  std::string CurrentRole;
  bool EnquiresOnly() const { return CurrentRole == "enquire"; }
};

struct LookupState {
  // "1" local-table mode, "0" back-end mode; "" until read.
  std::string UseLocalTable;
  // The whole system-code reply, fetched on first need; null before. The start-up shares it
  // with every session that read the same (dom::Document::SharedText).
  std::shared_ptr<const std::string> SystemCodeListText;
  // One entry per class code fetched: class code, "|~|", the reply for it.
  std::vector<std::string> MotorCoverListCache;
  // The motor cover list of the class code last asked for.
  std::vector<std::string> MotorCoverList;
};

}  // namespace cn
