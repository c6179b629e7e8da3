#pragma once
// The numbered messages of the amendment screen: their texts, with %1 to %5
// standing for the caller's parameters, and the buttons and icon each is shown with.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace cn::components {

struct CatalogueMessage {
  std::int32_t number;
  std::string_view text;
  int buttons_and_icon;  // dom::message_box values added together
};

std::span<const CatalogueMessage> MessageCatalogue();

// nullptr for a number the catalogue does not hold.
const CatalogueMessage* FindMessage(std::int32_t number);

using MessageParameters = std::array<std::string_view, 5>;

// Each %1 to %5 replaced by its parameter (inserted text is not scanned again);
// a "%" not followed by 1 to 5 stays. The first letter is made upper case, since
// some parameters begin a sentence.
std::string FillPlaceholders(std::string_view text, const MessageParameters& parameters);

// What is shown for a number the catalogue lacks: the number and every
// non-empty parameter, so that the user can still report what happened.
std::string UnknownMessageText(std::int32_t number, const MessageParameters& parameters);

}  // namespace cn::components
