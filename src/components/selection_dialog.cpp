#include "components/selection_dialog.h"

#include <algorithm>
#include <array>
#include <span>

#include "base/separators.h"
#include "base/text.h"

namespace cn::components {
namespace {

struct Heading {
  std::string_view keyword;
  std::string_view title;
  std::span<const std::string_view> columns;
};

// A model entry carries its capacity, unit, body and seats; the others are code and name.
constexpr std::array<std::string_view, 6> kModelColumns{"Code", "Model", "Capacity", "Unit", "Body", "Seats"};
constexpr std::array<std::string_view, 2> kBodyColumns{"Code", "Body"};
constexpr std::array<std::string_view, 2> kMortgageeColumns{"Code", "Mortgagee"};
constexpr std::array<std::string_view, 2> kInsurerColumns{"Code", "Insurer"};
constexpr std::array<std::string_view, 2> kOtherColumns{"Code", "Description"};

constexpr std::array kHeadings{
    Heading{"SearchModel", "Select Model", kModelColumns},
    Heading{"SearchBody", "Select Body", kBodyColumns},
    Heading{"SearchMortgagee", "Select Mortgagee", kMortgageeColumns},
    Heading{"SearchInsurer", "Select Insurer", kInsurerColumns},
};
constexpr Heading kOther{"", "Select", kOtherColumns};

}  // namespace

DialogList SelectionList(std::string_view keyword, std::string_view file_text) {
  const auto found = std::find_if(kHeadings.begin(), kHeadings.end(),
                                  [&](const Heading& heading) { return heading.keyword == keyword; });
  const Heading& heading = found == kHeadings.end() ? kOther : *found;
  DialogList list;
  list.title = std::string(heading.title);
  list.columns.assign(heading.columns.begin(), heading.columns.end());
  if (!file_text.empty()) {
    for (const std::string& entry : Split(file_text, RecordSeparator)) {
      std::vector<std::string> fields = Split(entry, FieldSeparator);
      fields.resize(std::max(fields.size(), heading.columns.size()));
      DialogRow row;
      row.cells.assign(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(heading.columns.size()));
      row.value = "True;" + fields[0] + ";" + fields[1];
      list.rows.push_back(std::move(row));
    }
  }
  if (list.rows.empty()) list.notice = "There is nothing to choose from.";
  return list;
}

}  // namespace cn::components
