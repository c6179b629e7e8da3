#pragma once
// "1500" and "1,500.00" are the same sum insured: a figure only written differently is not an
// amendment worth anyone's attention. The review before a save, the history and the
// endorsement all leave such a field out. Lists compare element by element.

#include <string_view>

namespace cn {

bool SameValue(std::string_view before, std::string_view after);

}  // namespace cn
