#pragma once
// The numbered-message component: looks the number up in the catalogue, fills in
// the parameters and shows the message through the given dialog host.

#include <memory>

#include "dom/window.h"
#include "integration/components.h"

namespace cn::components {

class CatalogueMessageService final : public MessageService {
 public:
  explicit CatalogueMessageService(std::shared_ptr<dom::DialogHost> dialogs);

  // Returns the button pressed. A number the catalogue lacks is still shown
  // (with its parameters, OK button) rather than failing the caller.
  std::int32_t ShowMessage(std::int32_t number, std::string_view title,
                           std::string_view parameter1, std::string_view parameter2,
                           std::string_view parameter3, std::string_view parameter4,
                           std::string_view parameter5) override;

 private:
  std::shared_ptr<dom::DialogHost> dialogs_;
};

}  // namespace cn::components
