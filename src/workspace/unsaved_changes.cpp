#include "workspace/unsaved_changes.h"

#include "base/separators.h"
#include "base/text.h"
#include "integration/service_gateway.h"

namespace cn {
namespace {

// The number box is where the next note to read is typed.
constexpr std::string_view kNumberBox = "txtCoverNoteNumber";

bool Amendable(const Workspace& ws) {
  return !ws.read.AsReadReply.empty() && ws.read.ReadOnlyReason.empty();
}

}  // namespace

bool TypedUnsavedChange(Workspace& ws, const dom::Element& box) {
  const auto page = box.OwnerDocument();
  return Amendable(ws) && page && box.Id() != kNumberBox && ws.transfer.Shown.Changed(*page, box);
}

bool HasUnsavedChanges(Workspace& ws, dom::Document* shown_tab_page) {
  if (!Amendable(ws)) return false;
  if (shown_tab_page && ws.transfer.Shown.AnyChanged(*shown_tab_page, kNumberBox)) {
    return true;
  }
  // The fields the screen derives from others (the state's name shown for its code, the scope
  // of the cover code) follow them once the Cover tab is left: no change of his.
  CoverNoteFields as_read = ws.read.CurrentAsRead;
  as_read.StateName = ws.record.Current.StateName;
  as_read.ScopeOfCover = ws.record.Current.ScopeOfCover;
  return ws.record.Current != as_read;
}

bool MayDiscardChanges(Workspace& ws, dom::Window& window, dom::Document* shown_tab_page,
                       std::string_view next, std::string_view title) {
  if (!HasUnsavedChanges(ws, shown_tab_page)) return true;
  const std::string question = "The cover note " + UCase(ws.read.LoadedCoverNoteNo) +
                               " has changes that are not saved.\r\nDiscard them and read " +
                               UCase(next) + "?";
  return window.MessageBox(question, dom::message_box::kOkCancel + dom::message_box::kQuestion,
                           title) == dom::message_box::kOk;
}

std::string LastSavedBy(Workspace& ws, std::string_view cover_note_no) {
  // Records "version, saved at, user, ...", newest first.
  const CommandReply answer =
      ServiceGateway(ws.components)
          .ExecuteCommand(
              "KivoGIUWR.CoverNote.History",
              UCase(cover_note_no) + std::string(ParamSeparator) + ws.identity.CurrentAgentCode);
  if (answer.status != 0) return "";
  const std::string_view reply = answer.reply;
  const std::vector<std::string> newest =
      Split(reply.substr(0, reply.find(RecordSeparator)), FieldSeparator);
  return newest.size() >= 3 && !newest[2].empty() ? newest[2] + " at " + newest[1] : "";
}

std::string ReadVersion(const Workspace& ws) {
  const std::string_view reply = ws.read.AsReadReply;
  const std::string_view key = reply.substr(0, reply.find(FieldSeparator));
  const auto dot = key.find('.');
  return dot == std::string_view::npos ? "" : std::string(key.substr(dot + 1));
}

}  // namespace cn
