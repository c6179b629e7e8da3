#pragma once
// The answers the server builds: every one with the security headers, JSON bodies and
// refusals in one shape.

#include <boost/beast/http.hpp>
#include <nlohmann/json.hpp>
#include <string_view>

namespace cn::web {

using Request = boost::beast::http::request<boost::beast::http::string_body>;
using Response = boost::beast::http::response<boost::beast::http::string_body>;

// Boost 1.74 has its own string_view.
inline boost::beast::string_view Bv(std::string_view text) { return {text.data(), text.size()}; }
inline std::string_view Sv(boost::beast::string_view text) { return {text.data(), text.size()}; }

// What an answer needs of its request once the request is gone.
Request HeadOf(const Request& request);

Response Basic(const Request& request, boost::beast::http::status status);
Response JsonResponse(const Request& request, boost::beast::http::status status,
                      const nlohmann::json& body);
Response ErrorResponse(const Request& request, int status, std::string_view code,
                       std::string_view message);
Response Redirect(const Request& request, boost::beast::http::status status,
                  std::string_view location);

}  // namespace cn::web
