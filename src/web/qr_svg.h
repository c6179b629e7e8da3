#pragma once
// A QR code (libqrencode) drawn as an SVG image: one path of dark modules, with the quiet zone
// around them. It carries no script or style, so the page shows it under the strict
// Content-Security-Policy as any image of its own server.

#include <string>
#include <string_view>

namespace cn::web {

// Throws std::runtime_error when the text does not fit a QR code.
std::string QrSvg(std::string_view text);

}  // namespace cn::web
