#pragma once
// Reading lookup lists: a list is the reply split at the record separator, an
// entry's fields are the entry split at the field separator; field 0 is the code,
// field 1 the description. A field an entry does not have reads as empty text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cn {

// An empty reply gives an empty list.
std::vector<std::string> SplitList(std::string_view reply);
std::vector<std::string> SplitFields(std::string_view entry);
// Field `index` of an entry's fields; "" when the entry is shorter.
std::string FieldAt(const std::vector<std::string>& fields, std::size_t index);
// Field `index` of an entry not yet split; "" when the entry is shorter.
std::string_view FieldView(std::string_view entry, std::size_t index);

// The code when some entry has it as field 0, else "".
std::string FindCodeInList(const std::vector<std::string>& list, std::string_view code);

// Field 1 of the first entry with that code; "" when none.
std::string FindDescription(std::string_view code, const std::vector<std::string>& list);
// The same, searching a list reply as it came (records not split out).
std::string FindDescriptionInReply(std::string_view code, std::string_view reply);

// Fields 2 and 3 of the LAST entry with that code; both left as they were when
// no entry has it.
void FindEntryFields(const std::vector<std::string>& list, std::string_view code,
                     std::string& field2, std::string& field3);

// The five values a motor class entry carries after its code.
struct MotorClassFields {
  std::string field1;
  std::string field2;  // written as an amount text (two decimals, grouped)
  std::string field3;
  std::string field4;
  std::string field5;
};

// Of the first entry with that code in the list text. Returns false and leaves
// `fields` as it was when no entry has the code. A non-numeric amount in field 2
// throws RuntimeFailure (type mismatch); an empty one stays empty.
bool FindMotorClassFields(std::string_view list_text, std::string_view code,
                          MotorClassFields& fields);

}  // namespace cn
