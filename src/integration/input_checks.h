#pragma once
// The shared checks of one text input through the input-check component: take the
// input's value, let the component check (and perhaps rewrite) it, write the text
// back into the input, and show the component's message when it objects.

#include "base/clock.h"
#include "dom/element.h"
#include "integration/components.h"

namespace cn {

// On a rejection: the input's text is selected and the component's message is
// shown with its title. Each returns the component's verdict (true = valid).
bool CheckAmountInput(const Components& components, dom::Element& input);
bool CheckPercentageInput(const Components& components, dom::Element& input);

// As above, and then in every case the year must be after 1900 and not after the
// current year of `local_clock`; otherwise the text is selected, "Year Made must
// be more than 1900 and less or equal to <year>" is shown with the component's
// title, and the result is false. A year that is not a number throws RuntimeFailure.
bool ValidateYearMade(const Components& components, const Clock& local_clock,
                      dom::Element& input);

// The component's flag true means the number is not accepted as typed: its
// message is shown (nothing is selected) and true is returned.
bool CheckNumberInput(const Components& components, dom::Element& input);

}  // namespace cn
