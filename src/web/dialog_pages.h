#pragma once
// The server side of the dialog pages a screen opens ("dlgEnq.htm", "dlgSrch.htm"): what a
// dialog shows as it opens, and the searches it runs while it is open. The browser draws the
// dialog; everything it lists comes from here, under the session's own identity.

#include <string_view>

#include <nlohmann/json.hpp>

namespace cn::web {

class DialogPages {
 public:
  virtual ~DialogPages() = default;

  // Called as the page logic opens a dialog, before the browser is asked: the content the
  // dialog starts with (the selection list of a search dialog), or null for none. A content it
  // cannot build is reported inside the content ("notice"); it does not fail the handler.
  virtual nlohmann::json Opening(std::string_view url, std::string_view argument) = 0;

  // A search the open dialog asks for. Throws ProtocolError (400) for a query the dialog
  // does not offer.
  virtual nlohmann::json Search(std::string_view url, std::string_view argument,
                                const nlohmann::json& query) = 0;
};

}  // namespace cn::web
