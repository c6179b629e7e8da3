// Tables: rows, sections and cells.
#include <string>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"

namespace cn::dom {
namespace {

using internal::Fail;

bool IsSection(const Element& element) {
  return element.Is("THEAD") || element.Is("TBODY") || element.Is("TFOOT");
}

std::vector<std::shared_ptr<Element>> RowsOfSection(const Element& section) {
  std::vector<std::shared_ptr<Element>> rows;
  for (auto& child : section.Children()) {
    if (child->Is("TR")) rows.push_back(std::move(child));
  }
  return rows;
}

void AppendAll(std::vector<std::shared_ptr<Element>>& to, std::vector<std::shared_ptr<Element>> from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

std::shared_ptr<Document> DocumentOf(const Element& element, std::string_view operation) {
  std::shared_ptr<Document> document = element.OwnerDocument();
  if (!document) {
    Fail(failure::kObjectRequired, "The page of " + element.Describe() + " is closed (" + std::string(operation) + ")");
  }
  return document;
}

[[noreturn]] void BadIndex(const Element& element, std::string_view operation, int index, std::size_t count) {
  Fail(failure::kSubscriptOutOfRange, std::string(operation) + "(" + std::to_string(index) + ") on " +
                                          element.Describe() + ", which has " + std::to_string(count) +
                                          (count == 1 ? " row" : " rows"));
}

}  // namespace

std::vector<std::shared_ptr<Element>> Element::Rows() const {
  RequireTag("TABLE THEAD TBODY TFOOT", "rows");
  if (IsSection(*this)) return RowsOfSection(*this);
  // The head's rows come first and the foot's last, wherever the sections stand.
  std::vector<std::shared_ptr<Element>> rows;
  const auto children = Children();
  for (const auto& child : children) {
    if (child->Is("THEAD")) AppendAll(rows, RowsOfSection(*child));
  }
  for (const auto& child : children) {
    if (child->Is("TBODY")) AppendAll(rows, RowsOfSection(*child));
    if (child->Is("TR")) rows.push_back(child);
  }
  for (const auto& child : children) {
    if (child->Is("TFOOT")) AppendAll(rows, RowsOfSection(*child));
  }
  return rows;
}

std::shared_ptr<Element> Element::InsertRow(int index) {
  RequireTag("TABLE THEAD TBODY TFOOT", "insertRow");
  const auto rows = Rows();
  if (index < -1 || index > static_cast<int>(rows.size())) BadIndex(*this, "insertRow", index, rows.size());
  const std::shared_ptr<Element> row = DocumentOf(*this, "insertRow")->CreateElement("TR");
  if (index != -1 && index != static_cast<int>(rows.size())) {
    const auto& reference = rows[static_cast<std::size_t>(index)];
    reference->ParentElement()->InsertBefore(row, reference);
    return row;
  }
  if (IsSection(*this)) {
    AppendChild(row);
    return row;
  }
  std::shared_ptr<Element> body;
  std::shared_ptr<Element> foot;
  for (const auto& child : Children()) {
    if (child->Is("TBODY")) body = child;
    if (child->Is("TFOOT") && !foot) foot = child;
  }
  if (!body) {
    body = DocumentOf(*this, "insertRow")->CreateElement("TBODY");
    InsertBefore(body, foot);
  }
  body->AppendChild(row);
  return row;
}

void Element::DeleteRow(int index) {
  RequireTag("TABLE THEAD TBODY TFOOT", "deleteRow");
  const auto rows = Rows();
  if (index == -1) {
    if (!rows.empty()) rows.back()->Remove();
    return;
  }
  if (index < 0 || index >= static_cast<int>(rows.size())) BadIndex(*this, "deleteRow", index, rows.size());
  rows[static_cast<std::size_t>(index)]->Remove();
}

std::shared_ptr<Element> Element::CreateTHead() {
  RequireTag("TABLE", "createTHead");
  std::shared_ptr<Node> before;
  for (const auto& child : children_) {
    if (child->IsElement()) {
      const auto& element = static_cast<const Element&>(*child);
      if (element.Is("THEAD")) return std::static_pointer_cast<Element>(child);
      if (element.Is("CAPTION") || element.Is("COLGROUP")) continue;
    }
    if (!before && child->IsElement()) before = child;
  }
  const std::shared_ptr<Element> head = DocumentOf(*this, "createTHead")->CreateElement("THEAD");
  InsertBefore(head, before);
  return head;
}

std::vector<std::shared_ptr<Element>> Element::Cells() const {
  RequireTag("TR", "cells");
  std::vector<std::shared_ptr<Element>> cells;
  for (auto& child : Children()) {
    if (child->Is("TD") || child->Is("TH")) cells.push_back(std::move(child));
  }
  return cells;
}

std::shared_ptr<Element> Element::InsertCell(int index) {
  RequireTag("TR", "insertCell");
  const auto cells = Cells();
  if (index < -1 || index > static_cast<int>(cells.size())) {
    Fail(failure::kSubscriptOutOfRange, "insertCell(" + std::to_string(index) + ") on " + Describe() +
                                            ", which has " + std::to_string(cells.size()) + " cells");
  }
  const std::shared_ptr<Element> cell = DocumentOf(*this, "insertCell")->CreateElement("TD");
  const bool append = index == -1 || index == static_cast<int>(cells.size());
  InsertBefore(cell, append ? nullptr : cells[static_cast<std::size_t>(index)]);
  return cell;
}

void Element::SetWidth(std::string_view width) { SetTextProperty("width", "width", width); }
void Element::SetCellSpacing(std::string_view cell_spacing) {
  SetTextProperty("cellSpacing", "cellspacing", cell_spacing);
}
void Element::SetRules(std::string_view rules) { SetTextProperty("rules", "rules", rules); }
void Element::SetNoWrap(bool no_wrap) { SetBoolProperty("noWrap", "nowrap", no_wrap); }

}  // namespace cn::dom
