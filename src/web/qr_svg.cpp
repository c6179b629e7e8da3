#include "web/qr_svg.h"

#include <qrencode.h>

#include <memory>
#include <stdexcept>

namespace cn::web {
namespace {

struct FreeCode {
  void operator()(QRcode* code) const { QRcode_free(code); }
};

constexpr int kQuietModules = 4;

}  // namespace

std::string QrSvg(std::string_view text) {
  const std::string data(text);
  const std::unique_ptr<QRcode, FreeCode> code(
      QRcode_encodeString(data.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1));
  if (!code) throw std::runtime_error("The text does not fit a QR code");
  const int width = code->width;
  const int size = width + 2 * kQuietModules;
  std::string path;
  for (int y = 0; y < width; ++y) {
    for (int x = 0; x < width; ++x) {
      // The lowest bit of each module says whether it is dark.
      if ((code->data[y * width + x] & 1) == 0) continue;
      path += "M" + std::to_string(x + kQuietModules) + " " + std::to_string(y + kQuietModules) +
              "h1v1h-1z";
    }
  }
  const std::string box = std::to_string(size);
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + box + " " + box +
         "\" width=\"" + std::to_string(size * 5) + "\" height=\"" + std::to_string(size * 5) +
         "\" shape-rendering=\"crispEdges\"><rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>"
         "<path fill=\"#000\" d=\"" + path + "\"/></svg>";
}

}  // namespace cn::web
