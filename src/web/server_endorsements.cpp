// GET /endorsement/NOTE/EN (the PDF, inline) and /endorsement/NOTE/EN/print (the print view):
// for the session's own administrator, with the agent check of a read. A browser tab shows
// what it gets, so refusals are short pages rather than JSON.

#include <spdlog/spdlog.h>

#include <algorithm>
#include <optional>
#include <regex>

#include "web/log_text.h"
#include "web/server_impl.h"

namespace cn::web {
namespace {

namespace http = boost::beast::http;

constexpr std::string_view kPrefix = "/endorsement/";
constexpr std::string_view kPrintSuffix = "/print";

struct DocumentPath {
  std::string number;  // "CN24000101/E2"
  bool print_view = false;
};

// Cover-note numbers are letters and digits; anything else is no endorsement's address.
std::optional<DocumentPath> ParseDocumentPath(std::string_view path) {
  static const std::regex kShape("([A-Za-z0-9]{1,30})/([Ee][0-9]{1,9})(/print)?");
  const std::string rest(path.substr(kPrefix.size()));
  std::smatch match;
  if (!std::regex_match(rest, match, kShape)) return std::nullopt;
  return DocumentPath{match[1].str() + "/" + match[2].str(), match[3].matched};
}

Response Page(const Request& request, http::status status, std::string_view content_type,
              std::string body) {
  Response response = Basic(request, status);
  response.set(http::field::content_type, Bv(content_type));
  // Documents of the insured: kept by no cache, shared or private.
  response.set(http::field::cache_control, "no-store");
  response.content_length(body.size());
  if (request.method() != http::verb::head) response.body() = std::move(body);
  return response;
}

Response Refusal(const Request& request, http::status status, std::string_view text) {
  std::string body =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>Endorsement</title>\n<link rel=\"stylesheet\" href=\"/styles/printed.css\">\n"
      "</head>\n<body class=\"printed refused\">\n<p>" +
      std::string(text) + "</p>\n</body>\n</html>\n";
  return Page(request, status, "text/html; charset=utf-8", std::move(body));
}

std::string FileName(std::string number) {
  std::replace(number.begin(), number.end(), '/', '-');
  return number + ".pdf";
}

}  // namespace

bool Server::Impl::IsEndorsementPath(std::string_view path) { return path.starts_with(kPrefix); }

void Server::Impl::ServeEndorsement(const Request& request, std::string_view path, Reply reply) {
  const auto method = request.method();
  if (method != http::verb::get && method != http::verb::head) {
    return reply(ErrorResponse(request, 405, "method", "Only GET is served here"));
  }
  const auto wanted = ParseDocumentPath(path);
  if (!wanted || !options_.endorsements) {
    return reply(Refusal(request, http::status::not_found, "There is no such endorsement."));
  }
  std::optional<SessionStore::Entry> entry;
  try {
    auto used = store_.Use(SessionIdOf(request), Now());
    CloseAll(std::move(used.closing));
    entry = std::move(used.entry);
  } catch (const std::exception& failure) {
    spdlog::error("A session could not be looked up: {}", LogText(failure.what(), 1000));
    return reply(Refusal(request, http::status::service_unavailable,
                         "The endorsement could not be read; please try again."));
  }
  if (!entry) {
    return reply(Refusal(request, http::status::unauthorized,
                         "Log in to the screen first; endorsements open from it."));
  }
  // The identity is fixed when the session starts: reading it here touches nothing the
  // session's own thread changes.
  const Identity& reader = entry->identity;
  EndorsementFile file;
  try {
    file = wanted->print_view ? options_.endorsements->PrintView(
                                    reader, wanted->number, std::string(kPrefix) + wanted->number)
                              : options_.endorsements->Pdf(reader, wanted->number);
  } catch (const std::exception& failure) {
    spdlog::error("Endorsement {} could not be read: {}", wanted->number,
                  LogText(failure.what(), 1000));
    return reply(Refusal(request, http::status::internal_server_error,
                         "The endorsement could not be read; please try again."));
  }
  switch (file.outcome) {
    case EndorsementFile::Outcome::kNotFound:
      return reply(Refusal(request, http::status::not_found,
                           "There is no endorsement " + wanted->number + "."));
    case EndorsementFile::Outcome::kOtherAgent:
      return reply(
          Refusal(request, http::status::forbidden,
                  "The endorsement " + wanted->number + " belongs to another agent's cover note."));
    case EndorsementFile::Outcome::kFound:
      break;
  }
  if (wanted->print_view) {
    return reply(Page(request, http::status::ok, "text/html; charset=utf-8", std::move(file.body)));
  }
  Response response = Page(request, http::status::ok, "application/pdf", std::move(file.body));
  response.set(http::field::content_disposition,
               "inline; filename=\"" + FileName(file.number) + "\"");
  reply(std::move(response));
}

}  // namespace cn::web
