#include "integration/shell_bridge.h"

#include <initializer_list>
#include <memory>
#include <vector>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "dom/document.h"

namespace cn {
namespace {

// name('a','b','c') with no space after the commas.
std::string Call(std::string_view function, std::initializer_list<std::string_view> arguments) {
  std::string script = std::string(function) + "(";
  bool first = true;
  for (const std::string_view argument : arguments) {
    script += first ? "'" : ",'";
    script += argument;
    script += "'";
    first = false;
  }
  return script + ")";
}

// name('id', true) with one space before the lower-case flag.
std::string CallWithFlag(std::string_view function, std::string_view id, bool flag) {
  return std::string(function) + "('" + std::string(id) + "', " + (flag ? "true" : "false") + ")";
}

}  // namespace

void ShowTitle(dom::Window& window, std::string_view title) {
  window.ExecScript(Call("ShowTitle", {title}));
}

void InsertCmdButton(dom::Window& window, std::string_view id, std::string_view caption,
                     std::string_view third) {
  window.ExecScript(Call("InsertCmdButton", {id, caption, third}));
}

void EnableCmdButton(dom::Window& window, std::string_view id, bool flag) {
  window.ExecScript(CallWithFlag("EnableCmdButton", id, flag));
}

void ShowCmdButton(dom::Window& window, std::string_view id) {
  window.ExecScript(CallWithFlag("ShowCmdButton", id, true));
}

void InsertTabButton(dom::Window& window, std::string_view tab_id, std::string_view caption,
                     std::string_view page_file) {
  window.ExecScript(Call("InsertTabButton", {tab_id, caption, page_file}));
}

void TabFocus(dom::Window& window, std::string_view tab_id) {
  window.ExecScript(Call("TabFocus", {tab_id}));
}

void ShowTabButton(dom::Window& window, std::string_view tab_id, bool flag) {
  window.ExecScript(CallWithFlag("ShowTabButton", tab_id, flag));
}

void DelCookie(dom::Window& window, std::string_view name) {
  window.ExecScript(Call("DelCookie", {name}));
}

void OfferEndorsement(dom::Window& window, std::string_view number) {
  window.ExecScript(Call("OfferEndorsement", {number}));
}

void SetTitle(dom::Window& window, std::string_view title, std::string_view subtitle) {
  if (subtitle.empty()) {
    ShowTitle(window, title);
  } else {
    ShowTitle(window, std::string(title) + " : " + std::string(subtitle));
  }
}

std::string GetCookie(dom::Window& window, std::string_view name) {
  const std::shared_ptr<dom::Document> document = window.document();
  if (!document) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: the window has no document",
                         "GetCookie");
  }
  std::string value;
  for (const std::string& pair : Split(document->Cookie(), "; ")) {
    const std::vector<std::string> pieces = Split(pair, "=");
    if (!pieces.empty() && pieces[0] == name) {
      if (pieces.size() > 1) value = pieces[1];
      break;
    }
  }
  DelCookie(window, name);
  return value;
}

}  // namespace cn
