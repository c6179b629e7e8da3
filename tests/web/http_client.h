#pragma once
// A plain HTTP client for the server tests: one request per connection, the cookies the server
// sets (the session's and the device's) and the CSRF token of one browser.

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace cn::web::testing {

// The password tests choose for a user who must choose his own (zxcvbn's score 4).
inline constexpr std::string_view kChosenPassword = "violet harbour lantern 42 quietly";

// "a b&c" as a form value: "a+b%26c".
std::string FormEncoded(std::string_view text);

struct HttpReply {
  int status = 0;
  std::map<std::string, std::string>
      headers;  // names in lower case; a repeated one's values on lines
  std::string body;
  nlohmann::json Json() const { return nlohmann::json::parse(body); }
  std::string Header(const std::string& name) const {
    const auto it = headers.find(name);
    return it == headers.end() ? "" : it->second;
  }
};

class Browser {
 public:
  explicit Browser(unsigned short port) : port_(port) {}

  HttpReply Send(std::string_view method, std::string_view target, std::string_view body = "",
                 const std::map<std::string, std::string>& headers = {});
  // Logs in; true when the server set a session cookie.
  bool LogIn(std::string_view user, std::string_view password);
  // Logs in as the script of the login page does (JSON); when the password is to be changed,
  // chooses `chosen` in its place (the sample's ADMIN at his first login); when `password` is
  // refused, logs in with `chosen` (it was chosen before). True when the server set a session
  // cookie.
  bool LogInChoosing(std::string_view user, std::string_view password,
                     std::string_view chosen = kChosenPassword);
  // GET /api/state, remembering the CSRF token; the tab's screen is opened when the server
  // holds none.
  HttpReply State();
  // POST a JSON body with the session's CSRF token.
  HttpReply Post(std::string_view target, const nlohmann::json& body);

  std::string cookie;  // "cn_session=..."
  std::string device;  // "cn_device=...": the device cookie of those who logged in here
  std::string login;   // "cn_login=...": a login waiting for its next step
  bool tls = false;    // speaks HTTPS, trusting any certificate
  std::string csrf;
  std::string screen = "first-tab";  // the tab's screen id (X-Screen); "": none sent

 private:
  void Keep(const HttpReply& reply);

  unsigned short port_;
};

}  // namespace cn::web::testing
