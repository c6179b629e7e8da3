#include "play/final_state.h"

#include "play/page_states.h"

namespace cn::play {

namespace {

Json RecordCopyState(const ScreenInspector& screen, RecordCopy copy) {
  Json fields = Json::object();
  for (const std::string& name : screen.FieldNames())
    fields[name] = screen.Field(copy, name).value_or("");
  return fields;
}

}  // namespace

Json ShellState(const shell::HostShell& shell) {
  Json tabs = Json::array();
  for (const shell::TabButton& tab : shell.Tabs()) {
    tabs.push_back(
        {{"id", tab.id}, {"caption", tab.caption}, {"page", tab.page_file}, {"shown", tab.shown}});
  }
  Json buttons = Json::array();
  for (const shell::CommandButton& button : shell.Buttons()) {
    buttons.push_back({{"id", button.id},
                       {"caption", button.caption},
                       {"enabled", button.enabled},
                       {"shown", button.shown}});
  }
  return {{"title", shell.Title()},
          {"shownTab", shell.ShownTabId()},
          {"status", shell.Status()},
          {"tabs", std::move(tabs)},
          {"buttons", std::move(buttons)}};
}

Json FinalState(const shell::HostShell& shell, const ScreenInspector& screen) {
  Json state = {{"shell", ShellState(shell)}};
  if (screen.IsOpen()) {
    Json items = Json::object();
    for (const std::string& name : screen.WorkspaceItemNames())
      items[name] = screen.WorkspaceItem(name).value_or("");
    state["workspace"] = std::move(items);
    state["record"] = {{"Current", RecordCopyState(screen, RecordCopy::kCurrent)},
                       {"Previous", RecordCopyState(screen, RecordCopy::kPrevious)}};
  } else {
    state["workspace"] = nullptr;
    state["record"] = nullptr;
  }
  const auto page = shell.TabDocument();
  state["page"] = page ? PageStates(*page) : Json();
  return state;
}

}  // namespace cn::play
