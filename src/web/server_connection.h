#pragma once
// One client connection, over plain TCP or TLS: (after the TLS handshake) reads a request,
// answers it, and reads the next while the client keeps the connection. It holds its place in
// the server's connection limits; while it waits for a request it may be closed to make room.

#include <spdlog/spdlog.h>

#include <type_traits>

#include "web/log_text.h"
#include "web/server_impl.h"

namespace cn::web {

template <class Stream>
class Server::Impl::Connection : public std::enable_shared_from_this<Connection<Stream>>,
                                 public IdleConnection {
 public:
  static constexpr bool kTls = !std::is_same_v<Stream, boost::beast::tcp_stream>;

  template <class... Context>
  Connection(Impl& server, std::size_t thread, boost::asio::ip::tcp::socket socket,
             std::string peer, ConnectionLimits::Place place, Context&... tls)
      : server_(server),
        thread_(thread),
        stream_(std::move(socket), tls...),
        peer_(std::move(peer)),
        place_(std::move(place)) {}

  void Start() {
    Waiting();
    if constexpr (kTls) {
      Lowest().expires_after(server_.options_.request_timeout);
      stream_.async_handshake(boost::asio::ssl::stream_base::server,
                              [self = this->shared_from_this()](boost::beast::error_code error) {
                                if (!error) self->Read();
                              });
    } else {
      Read();
    }
  }

  void CloseIdle() override {
    boost::asio::post(stream_.get_executor(), [self = this->shared_from_this()] {
      if (!self->waiting_) return;
      boost::beast::error_code ignored;
      self->Lowest().socket().close(ignored);
    });
  }

 private:
  boost::beast::tcp_stream& Lowest() { return boost::beast::get_lowest_layer(stream_); }

  void Waiting() {
    waiting_ = true;
    place_.Idle(this->weak_from_this());
  }

  void Read() {
    Waiting();
    parser_.emplace();
    parser_->body_limit(server_.options_.most_body_bytes);
    parser_->header_limit(kMostHeaderBytes);
    Lowest().expires_after(server_.options_.request_timeout);
    boost::beast::http::async_read(
        stream_, buffer_, *parser_,
        [self = this->shared_from_this()](boost::beast::error_code error, std::size_t) {
          self->OnRead(error);
        });
  }

  void OnRead(boost::beast::error_code error) {
    namespace http = boost::beast::http;
    waiting_ = false;
    place_.Busy();
    // A TLS client may close without saying so; either way, the conversation is over.
    if (error == http::error::end_of_stream || error == boost::asio::ssl::error::stream_truncated)
      return Shutdown();
    if (error == http::error::body_limit) {
      return Write(ErrorResponse(Closing(), 413, "too-large", "The request body is too large"));
    }
    if (error) {
      if (error != boost::beast::error::timeout && error != boost::asio::error::operation_aborted) {
        return Write(ErrorResponse(Closing(), 400, "bad-request", "The request could not be read"));
      }
      return Shutdown();
    }
    Lowest().expires_never();
    auto executor = stream_.get_executor();
    answered_ = false;
    try {
      // An answer made on this thread is written at once; one from another thread comes over.
      server_.Handle(parser_->release(), peer_, thread_,
                     [self = this->shared_from_this(), executor](Response response) {
                       if (self->answered_.exchange(true)) return;
                       boost::asio::dispatch(executor,
                                             [self, response = std::move(response)]() mutable {
                                               self->Write(std::move(response));
                                             });
                     });
    } catch (const std::exception& failure) {
      spdlog::error("A request from {} failed: {}", peer_, LogText(failure.what(), 1000));
      if (!answered_.exchange(true))
        Write(ErrorResponse(Closing(), 500, "internal", "The request failed on the server"));
    }
  }

  static Request Closing() {
    Request head;
    head.version(11);
    head.keep_alive(false);
    return head;
  }

  void Write(Response response) {
    response_ = std::move(response);
    if (server_.SecureCookies()) response_.set("Strict-Transport-Security", "max-age=31536000");
    Lowest().expires_after(server_.options_.request_timeout);
    boost::beast::http::async_write(
        stream_, response_,
        [self = this->shared_from_this()](boost::beast::error_code error, std::size_t) {
          if (error) return self->Shutdown();
          if (!self->response_.keep_alive()) return self->Shutdown();
          // A kept connection may wait minutes for the next request: not holding the answer.
          self->response_ = {};
          self->Read();
        });
  }

  void Shutdown() {
    if constexpr (kTls) {
      Lowest().expires_after(server_.options_.request_timeout);
      stream_.async_shutdown([self = this->shared_from_this()](boost::beast::error_code) {
        boost::beast::error_code ignored;
        self->Lowest().socket().shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
      });
    } else {
      boost::beast::error_code ignored;
      stream_.socket().shutdown(boost::asio::ip::tcp::socket::shutdown_send, ignored);
    }
  }

  static constexpr std::size_t kMostHeaderBytes = 8 * 1024;

  Impl& server_;
  std::size_t thread_;  // the I/O thread the connection is served on
  Stream stream_;
  std::string peer_;
  ConnectionLimits::Place place_;
  bool waiting_ = false;                // for a request: the limits may close it
  std::atomic<bool> answered_ = false;  // the request in hand has its answer
  boost::beast::flat_buffer buffer_;
  std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
  Response response_;
};

}  // namespace cn::web
