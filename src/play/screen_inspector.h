#pragma once
// What the runner needs of the screen's own logic without depending on it: the page factory
// the shell binds pages with, and read access to the cover note record and the workspace
// state for the transcript and the expectations. The program supplies it.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "dom/page_logic.h"
#include "integration/components.h"

namespace cn::play {

enum class RecordCopy { kCurrent, kPrevious };

class ScreenInspector {
 public:
  virtual ~ScreenInspector() = default;

  // Valid while this object lives.
  virtual dom::PageFactory PageFactory() = 0;

  // False until the workspace page has been made; nothing can be read before.
  virtual bool IsOpen() const = 0;

  // Every field of the record, in the record's order.
  virtual std::vector<std::string> FieldNames() const = 0;
  // The field's text form; nullopt for an unknown name or before the screen is open.
  virtual std::optional<std::string> Field(RecordCopy copy, std::string_view name) const = 0;

  // Every workspace state item shown in the transcript, in a fixed order.
  virtual std::vector<std::string> WorkspaceItemNames() const = 0;
  virtual std::optional<std::string> WorkspaceItem(std::string_view name) const = 0;
};

// Makes the screen over the run's components and clock; both outlive it.
using ScreenMaker =
    std::function<std::unique_ptr<ScreenInspector>(const Components&, const Clock&)>;

}  // namespace cn::play
