#pragma once
// The named-driver table of the Vehicle tab: one row per named driver (name, IC number,
// date of birth, licence date, gender, occupation, relationship to the insured). Stored
// drivers are shown read-only; drivers added on the tab are editable and checked as they
// are typed. The first row is the insured himself (or the policyholder's placeholder
// name), which is why a name typed over it empties the rest of that row.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dom/window.h"
#include "tables/row_table.h"
#include "workspace/workspace.h"

namespace cn {

// A row's controls, in cell order.
inline constexpr std::array<std::string_view, 7> kDriverControls = {
    "txtDrv",    "txtICNo",       "txtDOB",         "txtLicenceDate",
    "txtGender", "cboOccupation", "txtRelationship"};

// A named driver's seven values, in the order of kDriverControls.
using DriverValues = std::array<std::string, 7>;

class Driver final : public RowTable {
 public:
  explicit Driver(Workspace& workspace);

  // The header table inside `oDriverHeaderDiv`; true when done.
  bool BuildHeader(const std::shared_ptr<dom::Element>& oEEC,
                   const std::shared_ptr<dom::Element>& oDriverHeaderDiv);
  // The empty body table inside `oDriverDiv`; true when done. Rows can be added from now.
  bool BuildUI(const std::shared_ptr<dom::Element>& oEEC,
               const std::shared_ptr<dom::Element>& oDriverDiv);
  // Appends an editable row.
  bool Add(std::string_view sNamedPerson, std::string_view sICNumber, std::string_view sDOB,
           std::string_view sLicenceDate, std::string_view sGender, std::string_view sOccupation,
           std::string_view sRelationship);
  // Rows with a name.
  std::int32_t GetNoOfDrivers() const;
  // Rows, named or not.
  std::int32_t GetNoOfDriversRow() const;
  // True when every row's date of birth and licence date pass; a failing date is emptied
  // and focused, without a message.
  bool CheckDOBDrivingLicense();
  // Writes the named rows, in row order from index 0, into the caller's arrays, which
  // must be large enough. The licence number is not held by the table and comes out
  // empty.
  void GetNamedDrivers(std::vector<std::string>& NamedDriver, std::vector<std::string>& arrICNo,
                       std::vector<std::string>& arrDOB, std::vector<std::string>& arrLicenceDate,
                       std::vector<std::string>& arrLicenceNo, std::vector<std::string>& arrGender,
                       std::vector<std::string>& arrOccupation,
                       std::vector<std::string>& arrRelationship) const;
  // Appends a read-only row (a stored driver).
  bool AddDisplayDriver(std::string_view sNamedPerson, std::string_view sICNumber,
                        std::string_view sDOB, std::string_view sLicenceDate,
                        std::string_view sGender, std::string_view sOccupation,
                        std::string_view sRelationship);
  // Deletes every row.
  void ClearTable();
  // Removes the highlighted row (the first when none is) by rebuilding the table.
  void RemoveRow();
  // Appends a read-only company row that cannot be highlighted: only the name, the
  // registration number and the gender code are shown.
  bool AddDisplayCompany(std::string_view sNamedPerson, std::string_view sICNumber,
                         std::string_view sDOB, std::string_view sLicenceDate,
                         std::string_view sGender, std::string_view sOccupation,
                         std::string_view sRelationship);

 protected:
  bool RunCommand(std::string_view command, std::int16_t row_index) override;

 private:
  // Row commands.
  void HighliteRow(std::int32_t row_index);
  void ValidateNamedPerson(std::int32_t row_index);
  void ValidateICNo(std::int32_t row_index);
  void ValidateDOB(std::int32_t row_index);
  void ValidateLicenceDate(std::int32_t row_index);

  // True when the driver is old enough to drive; a failing date shows why (unless empty).
  bool CheckDriverAge(std::string_view date_of_birth);
  // The licence rule on a date of birth and a licence date: "" when it holds, otherwise
  // the message explaining it.
  std::string LicenceRuleMessage(std::string_view date_of_birth, std::string_view licence_date);
  // The youngest age at which the cover's vehicle may be driven.
  std::int16_t MinimumDrivingAge() const;

  // A row's control by the row's position.
  std::shared_ptr<dom::Element> Control(std::int32_t position, std::string_view control_id) const;
  // Empties a control, then focuses and selects it.
  static void ClearFocusSelect(dom::Element& control);
  std::string SystemCode(std::int32_t code) const;
  dom::Window& PageWindow() const;
  void FillGender(const dom::Element& row) const;
  void FillOccupation(const dom::Element& row) const;

  Workspace& workspace_;
};

}  // namespace cn
