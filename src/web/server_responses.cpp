#include "web/server_responses.h"

#include "web/json_text.h"

namespace cn::web {

namespace http = boost::beast::http;

namespace {

constexpr std::string_view kContentSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; style-src-attr 'unsafe-inline'; "
    "img-src 'self' data:; connect-src 'self'; form-action 'self'; base-uri 'none'; "
    "frame-ancestors 'none'";

}  // namespace

Request HeadOf(const Request& request) {
  Request head;
  head.version(request.version());
  head.keep_alive(request.keep_alive());
  return head;
}

Response Basic(const Request& request, http::status status) {
  Response response{status, request.version()};
  response.set(http::field::server, "covernote");
  response.set("Content-Security-Policy", Bv(kContentSecurityPolicy));
  response.set("X-Content-Type-Options", "nosniff");
  response.set("Referrer-Policy", "no-referrer");
  response.set("X-Frame-Options", "DENY");
  response.keep_alive(request.keep_alive());
  return response;
}

Response JsonResponse(const Request& request, http::status status, const nlohmann::json& body) {
  Response response = Basic(request, status);
  response.set(http::field::content_type, "application/json");
  response.set(http::field::cache_control, "no-store");
  response.body() = JsonText(body);
  response.prepare_payload();
  return response;
}

Response ErrorResponse(const Request& request, int status, std::string_view code,
                       std::string_view message) {
  return JsonResponse(request, static_cast<http::status>(status),
                      {{"error", code}, {"message", message}});
}

Response Redirect(const Request& request, http::status status, std::string_view location) {
  Response response = Basic(request, status);
  response.set(http::field::location, Bv(location));
  response.set(http::field::cache_control, "no-store");
  response.prepare_payload();
  return response;
}

}  // namespace cn::web
