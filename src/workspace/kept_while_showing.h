#pragma once
// Showing a cover note runs the cover-type and client-type handlers, whose resets are
// meant for an administrator who changes the cover: they empty the named drivers, clear
// the hazard, reset the service tax and may fall back to another class. Showing is not
// a change, so whatever they reset is put back when the show ends, failed or not.

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "workspace/cover_note_record.h"

namespace cn {

class KeptWhileShowing {
 public:
  explicit KeptWhileShowing(CoverNoteFields& fields)
      : fields_(fields),
        hazard_(fields.Hazard),
        service_tax_(fields.ServiceTaxPercentage),
        class_code_(fields.ClassCode) {
    for (std::size_t i = 0; i < kNamedDriverArrays.size(); ++i) {
      drivers_[i] = fields.*kNamedDriverArrays[i];
    }
  }
  ~KeptWhileShowing() {
    for (std::size_t i = 0; i < kNamedDriverArrays.size(); ++i) {
      fields_.*kNamedDriverArrays[i] = std::move(drivers_[i]);
    }
    fields_.Hazard = std::move(hazard_);
    fields_.ServiceTaxPercentage = std::move(service_tax_);
    fields_.ClassCode = std::move(class_code_);
  }
  KeptWhileShowing(const KeptWhileShowing&) = delete;
  KeptWhileShowing& operator=(const KeptWhileShowing&) = delete;

 private:
  CoverNoteFields& fields_;
  std::array<std::vector<std::string>, kNamedDriverArrays.size()> drivers_;
  std::string hazard_;
  std::string service_tax_;
  std::string class_code_;
};

}  // namespace cn
