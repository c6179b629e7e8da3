// Behaviours: which files an element carries, the row tables' click and change scripts, and
// the typing filters of the entry behaviours.
#include "dom/behaviours.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dom/attribute_script.h"
#include "dom/element.h"
#include "dom/events.h"
#include "dom/internal.h"

namespace cn::dom {
namespace {

// Date separators and the letters of the month abbreviations ("05-Mar-2014"), in both cases.
constexpr std::string_view kDateCharacters = "-/abcdefgjlmnoprstuvyABCDEFGJLMNOPRSTUVY";

using enum CharacterClass;
using enum CaseChange;

// clang-format off
constexpr InputFilter kInputFilters[] = {
  // file               classes             also             once only_first never_first case
  // Dates as the lenient reader takes them: 5-3-2014, 05/03/2014, 05-Mar-2014.
  {"EntryDate.htc",     kDigits,            kDateCharacters, "",  "",        "",         kKeep},
  // The row tables' date box filters as the page's date boxes.
  {"DateEntry.htc",     kDigits,            kDateCharacters, "",  "",        "",         kKeep},
  // Counts, years, postcodes.
  {"EntryNumber.htc",   kDigits,            "",              "",  "",        "",         kKeep},
  // Amounts: grouping commas anywhere, one decimal point, a minus sign only in front.
  {"EntryCur.htc",      kDigits,            ",",             ".", "-",       "",         kKeep},
  {"EntryCurSI.htc",    kDigits,            ",",             ".", "-",       "",         kKeep},
  // Names, numbers and telephones must not start with a space.
  {"EntrySpace.htc",    kPrintable,         "",              "",  "",        " ",        kKeep},
  // Identity numbers: letters, digits and the dashes of the new number, kept in capitals.
  {"NRIC.htc",          kDigits | kLetters, "-",             "",  "",        "",         kUpper},
  // Addresses take any printable character.
  {"EntryAddress.htc",  kPrintable,         "",              "",  "",        "",         kKeep},
};
// clang-format on

bool Has(CharacterClass set, CharacterClass one) {
  return (static_cast<unsigned>(set) & static_cast<unsigned>(one)) != 0;
}

bool IsPrintable(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
  return c != 0xFFFB && c != 0xFFFD && c != 0xFFFE && c != 0xFFFF;
}

bool InClasses(CharacterClass classes, char32_t c) {
  if (Has(classes, kDigits) && c >= U'0' && c <= U'9') return true;
  if (Has(classes, kLetters) && ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'))) return true;
  return Has(classes, kPrintable) && IsPrintable(c);
}

// The sets are ASCII, so an ASCII character is looked up byte-wise.
bool InSet(std::string_view set, char32_t c) {
  return c < 0x80 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string_view FileNameOf(std::string_view url) {
  const std::size_t slash = url.find_last_of("/\\");
  return slash == std::string_view::npos ? url : url.substr(slash + 1);
}

}  // namespace

bool BehaviorFileIs(std::string_view url, std::string_view file_name) {
  return internal::AsciiEqualsIgnoreCase(FileNameOf(url), FileNameOf(file_name));
}

bool HasBehavior(const Element& element, std::string_view file_name) {
  const std::vector<std::string_view> urls = element.BehaviorUrls();
  return std::any_of(urls.begin(), urls.end(), [&](std::string_view url) { return BehaviorFileIs(url, file_name); });
}

void RaiseClickBehaviours(Element& target) {
  for (std::shared_ptr<Element> row = target.SharedThis(); row; row = row->ParentElement()) {
    if (!row->Is("TR") || !HasBehavior(*row, kDataEntryBehavior)) continue;
    // A row with the behaviour but no script (a company row) has nothing to raise.
    if (!row->HasAttribute("onClicked")) return;
    Event event("clicked", target.SharedThis());
    RunAttributeScript(*row, "onClicked", event);
    return;
  }
}

void RaiseChangeBehaviours(Element& control) {
  if (!HasBehavior(control, kDataEntryBehavior) || !control.HasAttribute("onInpChanged")) return;
  Event event("inpchanged", control.SharedThis());
  RunAttributeScript(control, "onInpChanged", event);
}

std::span<const InputFilter> InputFilters() { return kInputFilters; }

const InputFilter* FindInputFilter(std::string_view file_name) {
  const std::string_view wanted = FileNameOf(file_name);
  for (const InputFilter& filter : kInputFilters) {
    if (internal::AsciiEqualsIgnoreCase(filter.file_name, wanted)) return &filter;
  }
  return nullptr;
}

std::optional<char32_t> ApplyInputFilter(const InputFilter& filter, std::string_view text,
                                         char32_t typed) {
  char32_t c = typed;
  if (filter.case_change == kUpper && c >= U'a' && c <= U'z') c -= U'a' - U'A';
  const bool empty = text.empty();
  if (empty && InSet(filter.never_first, c)) return std::nullopt;
  if (InClasses(filter.classes, c) || InSet(filter.also, c)) return c;
  if (InSet(filter.once, c) && text.find(static_cast<char>(c)) == std::string_view::npos) return c;
  if (empty && InSet(filter.only_first, c)) return c;
  return std::nullopt;
}

std::optional<char32_t> FilterTypedCharacter(const Element& input, std::string_view text,
                                             char32_t typed) {
  std::optional<char32_t> result = typed;
  for (const std::string_view url : input.BehaviorUrls()) {
    const InputFilter* filter = FindInputFilter(url);
    if (filter == nullptr) continue;
    result = ApplyInputFilter(*filter, text, *result);
    if (!result) return std::nullopt;
  }
  return result;
}

}  // namespace cn::dom
