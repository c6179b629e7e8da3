#pragma once
// The window of a page: its status text, the current event while a handler runs, and two
// ports to what lies outside the document: running a script text (the shell's functions)
// and prompting the user (message boxes, modal dialogs). Whoever hosts the page sets the
// ports; using an unset port is a RuntimeFailure.

#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace cn::dom {

class Document;
class Event;
class Window;

class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // Runs one script statement in `window`; a script error is a RuntimeFailure.
  virtual void RunScript(Window& window, std::string_view script) = 0;
};

// Buttons and icon of a message box, added together, and its answers.
namespace message_box {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace message_box

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Shows the prompt; an empty title means the application's default title. Returns one of
  // message_box::kOk, kCancel, kYes, kNo.
  virtual int MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) = 0;
  // Shows a dialog page modally; returns its result ("" when closed without a choice).
  virtual std::string ShowModalDialog(std::string_view url, std::string_view argument,
                                      std::string_view features) = 0;
};

class WindowKey {
 private:
  friend class Document;
  WindowKey() = default;
};

// Every document has exactly one window, created with it (Document::ParentWindow).
class Window {
 public:
  Window(WindowKey key, std::weak_ptr<Document> document);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The document shown in this window; null once it is gone.
  std::shared_ptr<Document> document() const { return document_.lock(); }

  const std::string& Status() const { return status_; }
  void SetStatus(std::string_view status);  // recorded as kStatus

  void SetScriptHost(std::shared_ptr<ScriptHost> host) { script_host_ = std::move(host); }
  void SetDialogHost(std::shared_ptr<DialogHost> host) { dialog_host_ = std::move(host); }
  bool HasScriptHost() const { return script_host_ != nullptr; }
  bool HasDialogHost() const { return dialog_host_ != nullptr; }

  // Through the ports; RuntimeFailure when the port is not set.
  void ExecScript(std::string_view script);
  int MessageBox(std::string_view prompt, int buttons_and_icon = message_box::kOkOnly,
                 std::string_view title = "");
  std::string ShowModalDialog(std::string_view url, std::string_view argument,
                              std::string_view features);

  // The event whose handler is running (window.event); null outside handlers.
  Event* CurrentEvent() const { return current_event_; }

 private:
  friend class CurrentEventScope;  // dom/events.h

  std::weak_ptr<Document> document_;
  std::string status_;
  std::shared_ptr<ScriptHost> script_host_;
  std::shared_ptr<DialogHost> dialog_host_;
  Event* current_event_ = nullptr;
};

}  // namespace cn::dom
