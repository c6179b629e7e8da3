#include "components/message_catalogue.h"

#include <algorithm>

#include "dom/window.h"

namespace cn::components {
namespace {

namespace box = dom::message_box;

constexpr int kNotice = box::kOkOnly | box::kExclamation;
constexpr int kInformation = box::kOkOnly | box::kInformation;
constexpr int kConfirm = box::kOkCancel | box::kQuestion;
constexpr int kFault = box::kOkOnly | box::kCritical;

// Sorted by number.
constexpr std::array kCatalogue = {
    CatalogueMessage{1010001,
                     "No cover note was found for the number given. Please enter the number "
                     "of an existing cover note and try again.",
                     kNotice},
    CatalogueMessage{1010003, "The cover note has been saved.", kInformation},
    CatalogueMessage{1210001,
                     "Reset the screen? Any changes that have not been saved will be lost.",
                     kConfirm},
    CatalogueMessage{1210003,
                     "Another user has saved this cover note since you read it. Please read "
                     "it again and redo your amendment.",
                     kNotice},
    CatalogueMessage{1210004, "Remove the selected row?", kConfirm},
    CatalogueMessage{1210005,
                     "%1 saved this cover note at %2, after you read it. Nothing of your "
                     "amendment has been saved. Read the cover note again now to see it, then "
                     "redo your amendment?",
                     kConfirm},
    CatalogueMessage{1210009,
                     "Some required details are missing on the tab %1. Please complete them "
                     "and try again.",
                     kNotice},
    CatalogueMessage{1210029,
                     "%1 belongs to another agent. You may not amend it.", kNotice},
    CatalogueMessage{1210030,
                     "This cover note has been reported missing. It cannot be amended.",
                     kNotice},
    CatalogueMessage{1210040,
                     "%1 is below the minimum driving age for this class of vehicle.",
                     kNotice},
    CatalogueMessage{1319999,
                     "The server gave an answer this screen does not expect. Please try "
                     "again; if it happens again, contact your system administrator.",
                     kFault},
    CatalogueMessage{2010010, "%1 has been %2. %3 not allowed.", kNotice},
    CatalogueMessage{2010016, "The cover note cannot be saved (%1).", kNotice},
    CatalogueMessage{2210008, "Invalid %1 Please check the value entered.", kNotice},
    CatalogueMessage{2310003,
                     "Invalid %1 IC number. Please enter it in the form %2.", kNotice},
};

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::span<const CatalogueMessage> MessageCatalogue() { return kCatalogue; }

const CatalogueMessage* FindMessage(std::int32_t number) {
  const auto found = std::lower_bound(
      kCatalogue.begin(), kCatalogue.end(), number,
      [](const CatalogueMessage& entry, std::int32_t n) { return entry.number < n; });
  return found != kCatalogue.end() && found->number == number ? &*found : nullptr;
}

std::string FillPlaceholders(std::string_view text, const MessageParameters& parameters) {
  std::string filled;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool placeholder = text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' &&
                             text[i + 1] <= '5';
    if (placeholder) {
      filled += parameters[static_cast<std::size_t>(text[i + 1] - '1')];
      ++i;
    } else {
      filled += text[i];
    }
  }
  if (!filled.empty()) filled[0] = UpperAscii(filled[0]);
  return filled;
}

std::string UnknownMessageText(std::int32_t number, const MessageParameters& parameters) {
  std::string text = "Message " + std::to_string(number) + " (no text is held for it)";
  std::string details;
  for (const std::string_view parameter : parameters) {
    if (parameter.empty()) continue;
    if (!details.empty()) details += " | ";
    details += parameter;
  }
  if (!details.empty()) text += ": " + details;
  return text + ".";
}

}  // namespace cn::components
