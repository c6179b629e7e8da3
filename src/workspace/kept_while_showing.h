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
#include "workspace/workspace.h"

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

// Nor are the premium's change marks a showing's business: a Save after only looking
// recomputes nothing, and a Calculate sends what the cover note carries.
class PremiumMarksKept {
 public:
  explicit PremiumMarksKept(PremiumState& premium) : premium_(premium) {
    for (std::size_t i = 0; i < kMarks.size(); ++i) kept_[i] = premium.*kMarks[i];
  }
  ~PremiumMarksKept() {
    for (std::size_t i = 0; i < kMarks.size(); ++i) premium_.*kMarks[i] = kept_[i];
  }
  PremiumMarksKept(const PremiumMarksKept&) = delete;
  PremiumMarksKept& operator=(const PremiumMarksKept&) = delete;

 private:
  static constexpr std::array<bool PremiumState::*, 9> kMarks = {
      &PremiumState::FactorsChangedNewTariff, &PremiumState::FactorsChangedV10,
      &PremiumState::PremiumChangedNewTariff, &PremiumState::PremiumChangedV10,
      &PremiumState::BasicPremiumEntered,     &PremiumState::LoadPercentageEntered,
      &PremiumState::TariffPremiumEntered,    &PremiumState::ExcessEntered,
      &PremiumState::StampDutyEntered,
  };
  PremiumState& premium_;
  std::array<bool, kMarks.size()> kept_{};
};

// A cover note just read is where its amendment starts: neither engine owes a computation.
inline void ForgetPremiumChanges(PremiumState& premium) {
  premium.FactorsChangedNewTariff = false;
  premium.FactorsChangedV10 = false;
  premium.PremiumChangedNewTariff = false;
  premium.PremiumChangedV10 = false;
}

}  // namespace cn
