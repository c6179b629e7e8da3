#include "documents/endorsement_layout.h"

#include <span>

namespace cn::documents {
namespace {

// What identifies the amendment and the cover it changes, label and value.
struct Particular {
  std::string_view label;
  std::string Endorsement::*value;
};
constexpr Particular kParticulars[] = {
    {"Endorsement no.", &Endorsement::number},
    {"Date of endorsement", &Endorsement::date},
    {"Cover note no.", &Endorsement::cover_note_no},
    {"Insured", &Endorsement::insured},
    {"Address", &Endorsement::address},
    {"Vehicle", &Endorsement::vehicle},
    {"Period of cover", &Endorsement::period},
};

struct ColumnShape {
  std::string_view heading;
  double share;
  Align align = Align::kLeft;
};
constexpr ColumnShape kParticularColumns[] = {{"", 0.24}, {"", 0.76}};
constexpr ColumnShape kChangeColumns[] = {{"Field", 0.32}, {"As read", 0.34}, {"As saved", 0.34}};
constexpr ColumnShape kPremiumColumns[] = {{"", 0.40},
                                          {"Before", 0.20, Align::kRight},
                                          {"After", 0.20, Align::kRight},
                                          {"Change", 0.20, Align::kRight}};

enum class Part { kParticulars, kChanges, kPremium, kPremiumDue, kSaved };
struct Section {
  std::string_view heading;
  Part part;
};
constexpr Section kSections[] = {
    {"", Part::kParticulars},    {"What the amendment changed", Part::kChanges},
    {"Premium", Part::kPremium}, {"", Part::kPremiumDue},
    {"", Part::kSaved},
};

std::vector<Column> Columns(std::span<const ColumnShape> shapes) {
  std::vector<Column> columns;
  for (const ColumnShape& shape : shapes) {
    columns.push_back({std::string(shape.heading), shape.share, shape.align});
  }
  return columns;
}

Block Table(Block::Kind kind, std::span<const ColumnShape> columns,
            std::vector<std::vector<std::string>> rows, bool total_row = false) {
  return {.kind = kind,
          .text = {},
          .columns = Columns(columns),
          .rows = std::move(rows),
          .total_row = total_row};
}

Block Line(Block::Kind kind, std::string text) {
  return {.kind = kind, .text = std::move(text), .columns = {}, .rows = {}, .total_row = false};
}

Block PartBlock(Part part, const Endorsement& endorsement) {
  std::vector<std::vector<std::string>> rows;
  switch (part) {
    case Part::kParticulars:
      for (const Particular& particular : kParticulars) {
        rows.push_back({std::string(particular.label), endorsement.*particular.value});
      }
      return Table(Block::Kind::kDetails, kParticularColumns, std::move(rows));
    case Part::kChanges:
      if (endorsement.changes.empty()) {
        return Line(Block::Kind::kNote, "No field was changed other than the premium's figures.");
      }
      for (const ChangedField& change : endorsement.changes) {
        rows.push_back({change.caption, change.as_read, change.as_saved});
      }
      return Table(Block::Kind::kTable, kChangeColumns, std::move(rows));
    case Part::kPremium:
      for (const PremiumLine& line : endorsement.premium) {
        rows.push_back({line.caption, line.before, line.after, line.change});
      }
      return Table(Block::Kind::kTable, kPremiumColumns, std::move(rows), true);
    case Part::kPremiumDue:
      return Line(Block::Kind::kStatement, endorsement.premium_due);
    case Part::kSaved:
      return Line(Block::Kind::kNote, "Saved by " + endorsement.saved_by + " on " +
                                          endorsement.saved_at +
                                          ". All other terms, conditions "
                                          "and exceptions of the cover note remain unchanged.");
  }
  return {};
}

}  // namespace

PrintedDocument EndorsementDocument(const Endorsement& endorsement) {
  PrintedDocument document{
      .title = "Endorsement " + endorsement.number,
      .subject = "Amendment of cover note " + endorsement.cover_note_no,
      .letterhead = {endorsement.insurer.name},
      .heading = "Endorsement",
      .reference = endorsement.number,
      .blocks = {},
      .foot = "Endorsement " + endorsement.number + " to cover note " + endorsement.cover_note_no,
      .made_at = endorsement.made_at,
  };
  for (const std::string& line : endorsement.insurer.address) document.letterhead.push_back(line);
  for (const Section& section : kSections) {
    if (!section.heading.empty()) {
      document.blocks.push_back(Line(Block::Kind::kHeading, std::string(section.heading)));
    }
    document.blocks.push_back(PartBlock(section.part, endorsement));
  }
  return document;
}

}  // namespace cn::documents
