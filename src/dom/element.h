#pragma once
// An element of a page: its tree, attributes and properties, inline style, the select-element
// and table operations, the element actions (focus, select, applyElement, behaviours) and the
// events raised on it.
//
// Properties and attributes. Every property is reflected by its content attribute: "value"
// by "value", "checked" by "checked", "disabled" by "disabled", "readOnly" by "readonly",
// "tabIndex" by "tabindex", "maxLength" by "maxlength", "className" by "class", and so on;
// an option's selectedness by its "selected" attribute. So the serialised markup always
// shows the current state, and the web layer can render from either. Setters record
// kProperty, SetAttribute records kAttribute; both change the same state.
//
// Failures: impossible operations throw cn::RuntimeFailure naming the element (tag and id)
// and the operation; none of them crash or leave the tree half-changed.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dom/kept_options.h"
#include "dom/mutation.h"
#include "dom/node.h"
#include "dom/style.h"
#include "dom/tag_names.h"

namespace cn::dom {

class Event;
class OptionList;

// Maximum length of an input without a "maxlength" attribute, as the browser reports it.
inline constexpr int kNoMaxLength = 2147483647;

struct Attribute {
  std::string name;  // lower case
  std::string value;
  bool operator==(const Attribute&) const = default;
};
// An element's attributes, shared with the same element of the page's other copies until
// one of them changes.
using AttributeList = SharedValue<std::vector<Attribute>>;

// A behaviour file attached with AddBehavior.
struct Behavior {
  int id = 0;
  std::string url;
  bool operator==(const Behavior&) const = default;
};

class Element final : public Node {
 public:
  // `tag` in upper case; `tag_number` when the caller knows it already (a copied element).
  Element(NodeKey key, Document& document, NodeId id, std::string_view tag);
  Element(NodeKey key, Document& document, NodeId id, std::uint8_t tag_number, std::string_view tag);
  ~Element();

  // ---- Identity -----------------------------------------------------------------------
  // Upper case, as a browser reports it: "INPUT", "TABLE".
  const std::string& TagName() const {
    const std::uint8_t number = tag_number();
    return number != internal::kUnknownTag ? internal::KnownTagName(number) : extras_->rare->tag;
  }
  // Case-insensitive tag test; callers nearly always spell the tag as it is held.
  bool Is(std::string_view tag) const {
    const std::string& name = TagName();
    return name.size() == tag.size() && (tag == name || IsIgnoringCase(tag));
  }
  // The tag's number (dom/tag_names.h); internal::kUnknownTag for a tag HTML does not define.
  std::uint8_t TagNumber() const { return tag_number(); }
  std::string Id() const { return GetAttribute("id"); }
  // The id without a copy, for walks over a whole page; good until the attributes change.
  std::string_view IdView() const {
    const Attribute* id = FindAttribute("id");
    return id ? std::string_view(id->value) : std::string_view();
  }
  void SetId(std::string_view id);
  // "INPUT 'txtDrv'" / "TD (no id)": how failures name the element.
  std::string Describe() const;

  // ---- Tree ---------------------------------------------------------------------------
  // Options kept as data (OptionList::Fill) become nodes here, and so for every caller that
  // walks the children.
  const std::vector<std::shared_ptr<Node>>& ChildNodes() const {
    if (KeepsOptions()) MakeOptionNodes();
    return children_;
  }
  // The children as held, without the options a select keeps as data: for walks that look
  // for what such an option never has (an id, an event, a behaviour, a radio button).
  const std::vector<std::shared_ptr<Node>>& HeldChildNodes() const { return children_; }
  // The options a select keeps as data; empty when its options are nodes.
  std::optional<KeptOptions> KeptOptionsOf() const;
  // A select whose options are plain nodes, as a fill makes them and held by nothing but the
  // select, keeps them as data again (the web layer asks after each answer to the browser,
  // whose markup stays right: the same ids, values, texts and selection). Returns whether it did.
  bool KeepOptionNodesAsData();
  std::vector<std::shared_ptr<Element>> Children() const;  // element children only
  std::shared_ptr<Element> SharedThis() { return std::static_pointer_cast<Element>(shared_from_this()); }
  // Append or insert a node (moving it when it is already somewhere). A node of another
  // document, the element itself or one of its ancestors cannot be inserted.
  void AppendChild(const std::shared_ptr<Node>& child);
  void InsertBefore(const std::shared_ptr<Node>& child, const std::shared_ptr<Node>& before);
  void RemoveChild(const std::shared_ptr<Node>& child);  // RuntimeFailure when not a child
  void RemoveAllChildren();
  bool Contains(const Node& node) const;  // node is this element or inside it

  // ---- Lookup inside the element (its "all" collection: descendants, tree order) -------
  std::vector<std::shared_ptr<Element>> All() const;
  // First descendant with that id; null when there is none.
  std::shared_ptr<Element> FindInAll(std::string_view id) const;
  // As FindInAll, but a missing element is a RuntimeFailure.
  std::shared_ptr<Element> GetFromAll(std::string_view id) const;
  // Every descendant with that id (row controls share their ids across rows).
  std::vector<std::shared_ptr<Element>> AllWithId(std::string_view id) const;
  std::vector<std::shared_ptr<Element>> ElementsByTagName(std::string_view tag) const;
  // Nearest ancestor (not the element itself) with that tag; null when none.
  std::shared_ptr<Element> Closest(std::string_view tag) const;

  // ---- Attributes (names case-insensitive) ----------------------------------------------
  // In order; ForEachAttribute visits them without a copy.
  std::vector<Attribute> Attributes() const;
  template <typename F>
  void ForEachAttribute(F&& f) const;
  bool HasAttribute(std::string_view name) const;
  // The attribute of that lower-case name without a copy; null when absent. Good until the
  // attributes change.
  const Attribute* FindAttribute(std::string_view lower_name) const;
  std::string GetAttribute(std::string_view name) const;  // "" when absent
  void SetAttribute(std::string_view name, std::string_view value);
  void RemoveAttribute(std::string_view name);

  // ---- Content --------------------------------------------------------------------------
  std::string InnerText() const;
  // Replaces the children with one text node ("" leaves none).
  void SetInnerText(std::string_view text);
  std::string InnerHtml() const;
  // Parses the text as a browser does in this element's context ("<Input id =x>" in a cell,
  // an unclosed "<SELECT id=x>", options in a select); "" removes all children.
  void SetInnerHtml(std::string_view html);
  std::string OuterHtml() const;

  // ---- Properties -------------------------------------------------------------------------
  // value: inputs and buttons their "value" attribute ("on" for an unvalued check box or
  // radio), a textarea its text, a select the value of its selected option ("" when none),
  // an option its "value" attribute or, without one, its text.
  std::string Value() const;
  // On a select, selects the first option with that value, or none when no option has it.
  void SetValue(std::string_view value);
  bool Checked() const;
  // Checking a radio button clears the other radio buttons of the same name in the same form
  // (or, outside any form, in the same document).
  void SetChecked(bool checked);
  bool Disabled() const;
  void SetDisabled(bool disabled);
  bool ReadOnly() const;
  void SetReadOnly(bool read_only);
  int TabIndex() const;  // 0 without the attribute
  void SetTabIndex(int tab_index);
  int MaxLength() const;  // kNoMaxLength without the attribute
  void SetMaxLength(int max_length);
  std::string ClassName() const { return GetAttribute("class"); }
  void SetClassName(std::string_view class_name);
  std::string Name() const { return GetAttribute("name"); }
  void SetName(std::string_view name);
  // An input's type in lower case ("text" without the attribute), a button's ("submit");
  // "" for other elements.
  std::string Type() const;
  void SetType(std::string_view type);

  // By name, as page logic spells them, case-insensitively: "value", "Checked", "disabled",
  // "ReadOnly", "TabIndex", "MaxLength", "className", "id", "innerText", "innerHTML",
  // "selectedIndex", "text", "name", "type", "width", "cellSpacing", "rules", "noWrap",
  // "scroll". Booleans read "true"/"false" and accept those words (any case) or "1"/"0";
  // numbers are decimal. An unknown name or an unreadable value is a RuntimeFailure.
  std::string GetProperty(std::string_view name) const;
  void SetProperty(std::string_view name, std::string_view value);

  // ---- Inline style -------------------------------------------------------------------------
  const StyleDeclaration& Style() const;
  std::string GetStyle(StyleName name) const;
  void SetStyle(StyleName name, std::string_view value);  // "" removes the declaration
  // By script name ("backgroundColor", "TEXT-ALIGN"); RuntimeFailure for an unknown name.
  std::string GetStyle(std::string_view name) const;
  void SetStyle(std::string_view name, std::string_view value);

  // ---- Select elements and options -------------------------------------------------------
  // The options of a select (RuntimeFailure on any other element).
  OptionList Options();
  // Index of the selected option; -1 when none. Setting an index outside the options
  // selects none, as a browser does.
  int SelectedIndex() const;
  void SetSelectedIndex(int index);
  // An option's text (whitespace collapsed, as a browser shows it); setting replaces it.
  std::string Text() const;
  void SetText(std::string_view text);
  bool Selected() const;  // an option's selectedness
  void SetSelected(bool selected);

  // ---- Tables -------------------------------------------------------------------------
  // On a table: every row, head first, then the bodies, then the foot. On a THEAD, TBODY or
  // TFOOT: its own rows.
  std::vector<std::shared_ptr<Element>> Rows() const;
  // Inserts a new row before the row at index; -1 (or the row count) appends it to the last
  // body, which is created when the table has none. Any other index is a RuntimeFailure.
  std::shared_ptr<Element> InsertRow(int index = -1);
  // Deletes the row at index; -1 deletes the last row (nothing when there is none).
  void DeleteRow(int index);
  // The table's head, created as its first section when missing.
  std::shared_ptr<Element> CreateTHead();
  // On a row: its cells, and a new TD inserted before the cell at index (-1 appends).
  std::vector<std::shared_ptr<Element>> Cells() const;
  std::shared_ptr<Element> InsertCell(int index = -1);
  std::string Width() const { return GetAttribute("width"); }
  void SetWidth(std::string_view width);
  std::string CellSpacing() const { return GetAttribute("cellspacing"); }
  void SetCellSpacing(std::string_view cell_spacing);
  std::string Rules() const { return GetAttribute("rules"); }
  void SetRules(std::string_view rules);
  bool NoWrap() const { return HasAttribute("nowrap"); }
  void SetNoWrap(bool no_wrap);

  // ---- Frames ---------------------------------------------------------------------------
  // The page shown in an IFRAME or FRAME (an empty page until one is loaded);
  // RuntimeFailure on other elements.
  std::shared_ptr<Document> ContentDocument() const;
  // The shell puts a newly loaded tab page into the frame.
  void SetContentDocument(std::shared_ptr<Document> document);

  // ---- Actions --------------------------------------------------------------------------
  // Makes the element the document's active element; a disabled or hidden element (display
  // "none" or visibility "hidden" on it or an ancestor) is left alone, as a browser does.
  // Raises no events: a person moving the focus is a user action.
  void Focus();
  // Selects the whole text of an input (typing then replaces it).
  void Select();
  bool AllTextSelected() const { return extras_ && extras_->all_text_selected; }
  void ClearTextSelection() {
    if (extras_) extras_->all_text_selected = false;
  }
  // The value the element had when a person last moved into it (dom/user_actions.cpp); leaving
  // it raises "onchange" when the value differs. Empty while no person is in the element.
  const std::optional<std::string>& ValueAtUserFocus() const;
  void SetValueAtUserFocus(std::optional<std::string> value);
  void ScrollIntoView(bool align_to_top = true);
  // "inside": new_element becomes this element's only child and this element's former
  // children move into it (after any it already had). "outside": new_element takes this
  // element's place and this element becomes its last child. Case-insensitive;
  // any other word is a RuntimeFailure.
  void ApplyElement(const std::shared_ptr<Element>& new_element, std::string_view where = "outside");
  // Attaches a behaviour file; returns its id (never 0). RemoveBehavior returns false for an
  // id the element does not have.
  int AddBehavior(std::string_view url);
  bool RemoveBehavior(int behavior_id);
  const std::vector<Behavior>& Behaviors() const;
  // Every behaviour url in force: those of the style's "behavior: url(...)" first, then the
  // attached ones, in attachment order. Views into the element: good until it changes.
  std::vector<std::string_view> BehaviorUrls() const;

  // ---- Events (dom/events.cpp) --------------------------------------------------------------
  // Runs the handler bound to (this element's id, event name) in the element's document,
  // with a current event whose srcElement is this element; returns whether a handler ran.
  bool FireEvent(std::string_view event_name);
  bool FireEvent(Event& event);
  // Fires "onclick" as if the element were clicked; a check box toggles and a radio button
  // becomes checked first, as in a browser, and behaviours see the click afterwards.
  void Click();

 private:
  friend class Document;
  friend class OptionList;

  // What few elements use, kept out of line so that a page's many plain elements stay small.
  // What fewer still use: a locked page styles every input, but only a few are typed in.
  struct Rare {
    std::optional<std::string> value_at_user_focus;
    std::shared_ptr<Document> content_document;  // IFRAME, FRAME
    std::string tag;  // a tag HTML does not define
    // A select's options kept as data (dom/kept_options.h); null while they are nodes.
    std::shared_ptr<const OptionData> kept_options;
    NodeId first_option_id = 0;
    int selected_option = -1;
  };
  struct Extras {
    // The "style" attribute, read; kept in step with it. Shared: every session locks its
    // pages down alike, so their inputs end up with the same few styles.
    std::shared_ptr<const KeptStyle> style;
    std::vector<Behavior> behaviors;
    int next_behavior_id = 1;
    bool all_text_selected = false;
    std::unique_ptr<Rare> rare;  // null until needed
    // The "value" attribute set while the list is shared with other copies of the page: it
    // stands in the list's own place, and the rest of the list stays shared (every session
    // types its own values into the same lists).
    std::unique_ptr<Attribute> value;
  };
  Extras& MutableExtras();
  Rare& MutableRare();
  // The attribute list to change; one shared with a copy of the page is copied first.
  std::vector<Attribute>& MutableAttributes();

  int GetAttributeInteger(std::string_view lower_name, int fallback) const;
  // Change the attribute without recording; StoreAttribute returns whether it changed.
  bool StoreAttribute(std::string_view lower_name, std::string_view value);
  bool EraseAttribute(std::string_view lower_name);
  void ChangeAttributes(std::string_view lower_name, std::string_view value, bool erase);
  // Record a change of this element (when anything records or listens).
  void NoteChange(MutationKind kind, std::string_view name, std::string_view value);
  void SetBoolProperty(std::string_view property, std::string_view attribute, bool on);
  void SetTextProperty(std::string_view property, std::string_view attribute, std::string_view value);
  void SetStyleCss(std::string_view css_name, std::string_view value);
  void InsertAt(std::size_t index, const std::shared_ptr<Node>& child);
  // A copy of the element and its content, made of new nodes of `document` (Document::Copy).
  std::shared_ptr<Element> CopyInto(Document& document) const;
  void Detach(std::size_t index);
  void AfterChildListChanged(const std::shared_ptr<Node>& inserted);
  // OptionList::Append and OptionList::Fill on a select.
  void AppendOptions(const std::vector<std::shared_ptr<Element>>& options);
  void FillOptions(std::vector<OptionText> options);
  bool KeepsOptions() const { return extras_ && extras_->rare && extras_->rare->kept_options; }
  // The kept options become nodes with the ids kept for them; the page sees no change.
  void MakeOptionNodes() const;
  // The kept options go, nodes never made (a list cleared that nobody watches).
  void DropKeptOptions();
  // A drop-down shows one option; a list box (multiple, or a size above 1) shows several.
  bool ShowsAsDropDown() const;
  // The document whose id index covers this element (it is in the document's tree and the
  // index is built); null otherwise.
  std::shared_ptr<Document> IndexingDocument() const;
  // `tags`: the allowed tags, separated by spaces.
  void RequireTag(std::string_view tags, std::string_view operation) const;
  void UncheckRadioGroup();
  std::vector<std::shared_ptr<Element>> OptionsOf() const;
  // The selected option of a select and its index; null and -1 when none.
  std::pair<const Element*, int> SelectedOption() const;
  bool IsIgnoringCase(std::string_view tag) const;
  std::shared_ptr<Element> EnclosingSelect() const;
  void AfterSelectednessChanged();
  void NormaliseSelection(const Element* preferred);
  // A drop-down showing a selected option other than `except`.
  bool ShowsOneSelection(const Element& except) const;

  // Shared between a page and its copies (Document::Copy) until one of them changes it; null
  // while there are none.
  AttributeList attributes_;
  std::vector<std::shared_ptr<Node>> children_;

  // Calls f(Element&) for each option of this select, groups included, in order.
  template <typename F>
  void ForEachOption(F&& f) const;
  std::unique_ptr<Extras> extras_;  // null until needed
};

template <typename F>
void Element::ForEachAttribute(F&& f) const {
  const Attribute* value = extras_ ? extras_->value.get() : nullptr;
  bool value_seen = false;
  if (attributes_) {
    for (const Attribute& attribute : *attributes_) {
      if (value != nullptr && attribute.name == value->name) {
        f(*value);
        value_seen = true;
      } else {
        f(attribute);
      }
    }
  }
  if (value != nullptr && !value_seen) f(*value);
}

// The "options" collection of a select.
class OptionList {
 public:
  explicit OptionList(std::shared_ptr<Element> select);

  int Length() const;
  // The option at index; RuntimeFailure outside 0..Length()-1.
  std::shared_ptr<Element> Item(int index) const;
  // Adds an OPTION element before the option at `before` (-1 appends).
  void Add(const std::shared_ptr<Element>& option, int before = -1);
  // Appends new OPTION elements, as adding them one by one would, in one go: a list filled
  // from a lookup is a hundred options.
  void Append(const std::vector<std::shared_ptr<Element>>& options);
  // Appends options of these values and texts, as Append would. An empty select that nothing
  // records or listens to keeps them as data, shared with every page that fills the same list,
  // until their nodes are asked for; they then have the ids Append would have given them.
  void Fill(std::vector<OptionText> options);
  void Remove(int index);
  std::vector<std::shared_ptr<Element>> ToVector() const;

 private:
  std::shared_ptr<Element> select_;
};

}  // namespace cn::dom
