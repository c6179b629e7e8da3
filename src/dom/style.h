#pragma once
// An element's inline style: the "style" attribute read into name/value declarations, kept in
// their order so that what the page file said is written back as it was (unknown declarations
// such as "behavior: url(...)" included).

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cn::dom {

// The style properties the page logic sets, by their script names.
enum class StyleName {
  kBackgroundColor,
  kDisplay,
  kVisibility,
  kCursor,
  kTextTransform,
  kPaddingLeft,
  kPaddingRight,
  kTableLayout,
  kBorderCollapse,
  kWidth,
  kTextAlign,
  kBehavior,
};

// "background-color" for kBackgroundColor, ...
std::string_view CssName(StyleName name);

// The CSS name for a style property as scripts spell it, case-insensitively:
// "backgroundColor", "BackgroundColor", "background-color", "TEXT-ALIGN". Names outside the
// known set are accepted in CSS form ("font-weight") only; nullopt for anything else.
std::optional<std::string> CssNameFor(std::string_view script_name);

class StyleDeclaration {
 public:
  struct Declaration {
    std::string name;  // CSS name, lower case
    std::string value;
    bool operator==(const Declaration&) const = default;
  };

  StyleDeclaration() = default;
  // Reads "TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\EntryCur.htc')"; malformed parts are
  // skipped as a browser skips them.
  static StyleDeclaration Parse(std::string_view css_text);

  // "text-align: right; behavior: url('Behaviors\EntryCur.htc')"; "" when empty.
  std::string Serialize() const;

  // Value of a CSS name (lower-case form); "" when not set.
  std::string Get(std::string_view css_name) const;
  // Sets a CSS name; an empty value removes the declaration. Returns whether anything changed.
  bool Set(std::string_view css_name, std::string_view value);

  const std::vector<Declaration>& declarations() const { return declarations_; }
  bool empty() const { return declarations_.empty(); }
  bool operator==(const StyleDeclaration&) const = default;

 private:
  std::vector<Declaration> declarations_;
};

// A style as elements keep it, with its text, shared by the elements that came to it alike.
struct KeptStyle {
  StyleDeclaration declaration;
  std::string text;
};

}  // namespace cn::dom
