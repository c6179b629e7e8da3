#pragma once
// A cover note record kept only to be looked at again later (the record as read, which the
// save's review compares with): packed into one text of its values, a fraction of the size
// of the record's own hundreds of strings, which every open screen would otherwise hold.

#include <string>

#include "workspace/cover_note_record.h"

namespace cn {

class PackedRecord {
 public:
  PackedRecord() = default;  // an empty record
  explicit PackedRecord(const CoverNoteRecord& record);

  CoverNoteRecord Unpack() const;

 private:
  std::string bytes_;
};

}  // namespace cn
