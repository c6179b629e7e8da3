#pragma once
// Characters that may not appear in an identity-card number, as the back end
// lists them in system code 1060 (";"-separated; the entry "," stands for ";").

#include <string_view>

#include "dom/window.h"
#include "integration/components.h"
#include "integration/lookup_state.h"

namespace cn {

// True (after a message box naming every offending character, in the order they
// occur in the number, repeats kept) when the number holds a listed character.
bool CheckNRICCharacters(LookupState& state, const Components& components, dom::Window& window,
                         std::string_view number);

}  // namespace cn
