#include "http_client.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <sstream>

#include "web/form.h"

namespace cn::web::testing {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace {

template <class Stream>
HttpReply Exchange(Stream& stream, std::string_view method,
                   http::request<http::string_body>& request) {
  http::write(stream, request);
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.body_limit(16 * 1024 * 1024);
  parser.skip(method == "HEAD");
  http::read(stream, buffer, parser);
  const auto& response = parser.get();
  HttpReply reply;
  reply.status = response.result_int();
  for (const auto& field : response) {
    std::string name(field.name_string());
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string& value = reply.headers[name];
    value += (value.empty() ? "" : "\n") + std::string(field.value());
  }
  reply.body = response.body();
  return reply;
}

}  // namespace

HttpReply Browser::Send(std::string_view method, std::string_view target, std::string_view body,
                        const std::map<std::string, std::string>& headers) {
  asio::io_context context;
  beast::tcp_stream stream(context);
  stream.connect(asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), port_));
  stream.expires_after(std::chrono::seconds(20));
  http::request<http::string_body> request{
      http::string_to_verb({method.data(), method.size()}), {target.data(), target.size()}, 11};
  request.set(http::field::host, "127.0.0.1:" + std::to_string(port_));
  std::string cookies;
  for (const std::string* one : {&cookie, &device, &login}) {
    if (one->empty()) continue;
    cookies += (cookies.empty() ? "" : "; ") + *one;
  }
  if (!cookies.empty()) request.set(http::field::cookie, cookies);
  if (!screen.empty()) request.set("X-Screen", screen);
  for (const auto& [name, value] : headers) request.set(name, value);
  request.body() = std::string(body);
  request.prepare_payload();
  if (!tls) {
    HttpReply reply = Exchange(stream, method, request);
    beast::error_code ignored;
    stream.socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    Keep(reply);
    return reply;
  }
  // The test certificate is self-signed: this browser trusts whatever it is shown.
  asio::ssl::context tls_context(asio::ssl::context::tls_client);
  tls_context.set_verify_mode(asio::ssl::verify_none);
  beast::ssl_stream<beast::tcp_stream> secure(std::move(stream), tls_context);
  secure.handshake(asio::ssl::stream_base::client);
  HttpReply reply = Exchange(secure, method, request);
  beast::error_code ignored;
  secure.shutdown(ignored);
  Keep(reply);
  return reply;
}

bool Browser::LogIn(std::string_view user, std::string_view password) {
  const HttpReply reply =
      Send("POST", "/login", "user=" + std::string(user) + "&password=" + std::string(password),
           {{"Content-Type", "application/x-www-form-urlencoded"}});
  return reply.Header("set-cookie").find("_session=") != std::string::npos;
}

bool Browser::LogInChoosing(std::string_view user, std::string_view password,
                            std::string_view chosen) {
  const std::map<std::string, std::string> form{
      {"Content-Type", "application/x-www-form-urlencoded"}, {"Accept", "application/json"}};
  HttpReply reply = Send("POST", "/login",
                         "user=" + FormEncoded(user) + "&password=" + FormEncoded(password), form);
  if (reply.status == 401) {
    reply = Send("POST", "/login", "user=" + FormEncoded(user) + "&password=" + FormEncoded(chosen),
                 form);
  }
  if (reply.status == 200 && reply.Json().value("step", "") == "password")
    reply = Send("POST", "/login/password", "password=" + FormEncoded(chosen), form);
  return reply.Header("set-cookie").find("_session=") != std::string::npos;
}

std::string FormEncoded(std::string_view text) { return PercentEncoded(text, true); }

void Browser::Keep(const HttpReply& reply) {
  std::istringstream set_cookies(reply.Header("set-cookie"));
  for (std::string line; std::getline(set_cookies, line);) {
    const std::string pair = line.substr(0, line.find(';'));
    const bool cleared = line.find("Max-Age=0") != std::string::npos;
    std::string& kept = pair.find("_device=") != std::string::npos  ? device
                        : pair.find("_login=") != std::string::npos ? login
                                                                    : cookie;
    kept = cleared ? "" : pair;
  }
}

HttpReply Browser::State() {
  HttpReply reply = Send("GET", "/api/state");
  if (reply.status == 200 && reply.Json().value("held", true) == false) {
    csrf = reply.Json().at("csrf");
    reply = Post("/api/screen", nlohmann::json::object());
  }
  if (reply.status == 200) csrf = reply.Json().at("csrf");
  return reply;
}

HttpReply Browser::Post(std::string_view target, const nlohmann::json& body) {
  return Send("POST", target, body.dump(),
              {{"Content-Type", "application/json"}, {"X-CSRF-Token", csrf}});
}

}  // namespace cn::web::testing
