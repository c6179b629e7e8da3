#pragma once
// A small screen for testing the web layer: the real workspace page in the shell, two tab
// pages and a hidden one, two command buttons, and page logic that echoes, rewrites keys,
// changes fields from the server side and asks a Yes/No question.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "dom/node.h"
#include "web/protocol_error.h"
#include "web/session.h"

namespace cn::web::testing {

// Writes the pages into a fresh folder and removes it again.
class TestPages {
 public:
  TestPages();
  ~TestPages();
  TestPages(const TestPages&) = delete;
  TestPages& operator=(const TestPages&) = delete;
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

// The screen: title "Test Screen : <user id>"; tabs "TABA" (TESTA.htm, shown first),
// "TABB" (TESTB.htm) and the hidden "TABH"; buttons "cmdAsk" and "cmdSave" (disabled).
// On TESTA.htm:
//   txtNum   keypress: letters upper-cased, '#' discarded; Enter: lblEcho "Read <value>" and
//            Save enabled
//   txtName  blur: lblEcho "Name <value>", and the server writes "1.00" into txtAmount
//   txtAmount  digits only (the EntryNumber behaviour)
//   cboKind  change: lblEcho "Kind <value>"
//   cmdCopy  click: txtName takes txtNum's value; the focus goes to txtAmount, text selected
// cmdAsk asks "Clear the fields?" (Yes/No, question): Yes empties txtName and shows status
// "Cleared", No shows "Kept".
// cmdPick writes the body list B01 Saloon, B02 Hatchback, B03 Pick-up as the selection file
// of `installation` (<installation>/Temp/mySelect.txt), opens "dlgSrch.htm" with "SearchBody"
// and shows status "Picked <result>" ("Picked nothing" when closed).
// Every session's dialogs use `dialog_pages` (none: dialogs open empty).
ScreenFactory TestScreenFactory(std::filesystem::path pages, std::shared_ptr<DialogPages> dialog_pages = nullptr,
                                std::filesystem::path installation = {});

// The node id of the element with that id attribute in a rendered page; throws when the page
// has no such element.
dom::NodeId NodeOf(const nlohmann::json& page, const std::string& id);

// How a request is refused: "status code", or "" when it is not.
inline std::string Refusal(const std::function<void()>& request) try {
  request();
  return "";
} catch (const ProtocolError& refusal) {
  return std::to_string(refusal.status()) + " " + std::string(refusal.code());
}

}  // namespace cn::web::testing
