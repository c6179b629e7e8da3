#pragma once
// Reply layouts: which position of a back-end reply fills which field of the cover
// note, and how the text is converted on the way. A layout is a table of rows
// checked at compile time against the field catalogue; one interpreter reads
// every layout.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/cover_note_record.h"
#include "workspace/field_catalogue.h"

namespace cn {

enum class Conversion {
  kAsIs,
  kDate,     // dd-MMM-yyyy; an empty value stays empty
  kTime,     // hh:mm:ss AM/PM; an empty value stays empty
  kMoney2,   // two decimals, grouped (1,234.50); an empty value stays empty
  kNoDash,   // every "-" removed (telephone numbers)
  kList,     // split at every U+FFFD into the elements of an array
  kBoolean,  // a non-zero number or "True"
  kUpper,    // upper-cased
  // "3" for a company client, otherwise the value ("S" when empty); needs the
  // client type, so it is assigned after the client type's position.
  kMaritalStatus,
};

struct LayoutRow {
  // A row takes the reply value at `position` into `field`. With `when_empty`,
  // an empty reply value gives that text instead of being converted.
  consteval LayoutRow(int position, std::string_view field, Conversion conversion)
      : position(position), field(&FieldNamed(field)), conversion(conversion) {
    Check();
  }
  consteval LayoutRow(int position, std::string_view field, Conversion conversion,
                      std::string_view when_empty)
      : position(position),
        field(&FieldNamed(field)),
        conversion(conversion),
        when_empty(when_empty) {
    Check();
  }

  int position;
  const FieldInfo* field;
  Conversion conversion;
  std::optional<std::string_view> when_empty;

 private:
  consteval void Check() const {
    if (position < 0) throw "a reply position is never negative";
    const bool list = conversion == Conversion::kList;
    if (list != (field->kind == FieldKind::kTextArray)) {
      throw "lists fill the arrays of the record and nothing else";
    }
    if ((conversion == Conversion::kBoolean) != (field->kind == FieldKind::kBoolean)) {
      throw "the Boolean conversion fills the Boolean fields and nothing else";
    }
    if (field->kind == FieldKind::kInteger || field->kind == FieldKind::kFlagArray) {
      throw "no reply fills this field";
    }
  }
};

using ReplyLayout = std::span<const LayoutRow>;

// The positions of one reply. A position past the end reads as empty, so a reply
// cut short fills what it has and leaves the rest to the empty-value rules.
class ReplyFields {
 public:
  explicit ReplyFields(std::span<const std::string> fields) : fields_(fields) {}

  bool empty() const { return fields_.empty(); }
  std::string_view At(int position) const;

 private:
  std::span<const std::string> fields_;
};

// Assigns, in table order, the rows of `layout` whose position lies in
// [first, last], except the list rows (FillArrayGroups) and the marital-status
// rows (AssignMaritalStatus). Rows of fields kept beside the record are assigned
// only into Current. A value that the conversion cannot read (a date or an amount
// that is not one) throws RuntimeFailure naming the position and the field.
void AssignRows(CoverNoteRecord& record, Instance instance, ReplyLayout layout,
                const ReplyFields& reply, int first, int last);

// The kMaritalStatus rows of `layout`.
void AssignMaritalStatus(CoverNoteRecord& record, Instance instance, ReplyLayout layout,
                         const ReplyFields& reply);

// The array groups that `layout` carries, in the order named drivers, extended
// covers, claims, each with its rule for an empty value:
//   - named drivers: empty names make all eight columns one empty row; otherwise
//     every other driver column takes the names' length, emptied when its value is
//     empty, cut or padded otherwise (a column the layout lacks counts as empty);
//   - extended covers: empty codes make all six columns (and, for Current, the
//     premium marks) one empty row; otherwise the four carried columns take the
//     codes' length and the minimum premiums, methods and marks are emptied to it;
//   - claims: empty accident dates make all five columns one empty row;
//     otherwise each column is its own list (one empty row when its value is empty).
// A group whose leading column the layout lacks is left as it is.
void FillArrayGroups(CoverNoteRecord& record, Instance instance, ReplyLayout layout,
                     const ReplyFields& reply);

}  // namespace cn
