#pragma once
// A generated tab page as large as the biggest of the screen's: about 300 form elements
// (text boxes, drop-downs with options, radio groups, check boxes, and two row tables of
// controls) laid out in tables.

#include <string>
#include <vector>

namespace cn::bench {

struct FormPage {
  std::string html;
  std::vector<std::string> text_box_ids;  // every text box, in page order
  std::vector<std::string> control_ids;   // every form element with a unique id, in page order
  int form_elements = 0;                  // those and the row tables' controls
};

FormPage MakeFormPage();

}  // namespace cn::bench
