#include "form_page.h"

#include <array>
#include <string_view>

namespace cn::bench {
namespace {

// How many of each element the page holds.
struct Counts {
  int text_boxes = 120;
  int selects = 40;
  int options_per_select = 10;
  int radio_groups = 30;  // two buttons each
  int check_boxes = 40;
  int table_rows = 5;  // per row table; seven controls per row
};

constexpr std::array<std::string_view, 7> kRowControls = {
    "txtDrv",    "txtICNo",       "txtDOB",         "txtLicenceDate",
    "txtGender", "cboOccupation", "txtRelationship"};

void Cell(std::string& html, std::string_view content) {
  html += "<TD class=clsLabel width=\"25%\">";
  html += content;
  html += "</TD>";
}

}  // namespace

FormPage MakeFormPage() {
  const Counts counts;
  FormPage page;
  std::string& html = page.html;
  html += "<HTML><HEAD><TITLE>Premium</TITLE></HEAD><BODY scroll=yes class=clsBody>\n";
  html += "<DIV id=kvExecuteCommand style=\"DISPLAY: none\"></DIV>\n<FORM id=frmPremium>\n";
  html += "<TABLE class=clsEmbrossBorder id=tblLayout cellSpacing=0 width=\"100%\">\n";

  const auto row = [&](std::string_view label, const std::string& control) {
    html += "<TR>";
    Cell(html, label);
    Cell(html, control);
    html += "</TR>\n";
  };
  for (int i = 0; i < counts.text_boxes; ++i) {
    const std::string id = "txtField" + std::to_string(i);
    const std::string extra =
        i % 4 == 0 ? " readOnly style=\"BACKGROUND-COLOR: buttonface\"" : " maxLength=25";
    row("Field",
        "<INPUT id=" + id + " tabIndex=1 value=\"VALUE " + std::to_string(i) + "\"" + extra + ">");
    page.text_box_ids.push_back(id);
    page.control_ids.push_back(id);
  }
  for (int i = 0; i < counts.selects; ++i) {
    const std::string id = "cboList" + std::to_string(i);
    std::string select = "<SELECT id=" + id + " tabIndex=1>";
    for (int k = 0; k < counts.options_per_select; ++k) {
      select += "<OPTION value=" + std::to_string(k) + (k == 2 ? " selected" : "") + ">CHOICE " +
                std::to_string(k) + "</OPTION>";
    }
    row("List", select + "</SELECT>");
    page.control_ids.push_back(id);
  }
  for (int i = 0; i < counts.radio_groups; ++i) {
    const std::string group = "optGroup" + std::to_string(i);
    row("Choice", "<INPUT type=radio id=" + group + "Yes name=" + group +
                      " value=Y>Yes <INPUT type=radio id=" + group + "No name=" + group +
                      " value=N checked>No");
    page.control_ids.push_back(group + "Yes");
    page.control_ids.push_back(group + "No");
  }
  for (int i = 0; i < counts.check_boxes; ++i) {
    const std::string id = "chkFlag" + std::to_string(i);
    row("Flag", "<INPUT type=checkbox id=" + id + (i % 2 == 0 ? " checked" : "") + ">");
    page.control_ids.push_back(id);
  }
  html += "</TABLE>\n";

  // Two row tables as the page shows them once filled; their controls share ids across rows.
  for (const std::string_view table : {"NpTbl", "ExtTbl"}) {
    html += "<TABLE id=";
    html += table;
    html += " rules=rows cellSpacing=0 width=\"100%\" style=\"TABLE-LAYOUT: fixed\">\n";
    for (int r = 0; r < counts.table_rows; ++r) {
      html += "<TR id=row" + std::string(table) + std::to_string(r) +
              (r % 2 == 0 ? " class=clsOddRow>" : " class=clsEvenRow>");
      for (const std::string_view control : kRowControls) {
        html += "<TD width=\"14%\">";
        html += control.front() == 'c' || control == "txtGender"
                    ? "<SELECT tabindex=1 id =" + std::string(control) +
                          "><OPTION value=M>MALE</OPTION></SELECT>"
                    : "<INPUT tabindex=1 id =" + std::string(control) + " value=\"ROW " +
                          std::to_string(r) + "\">";
        html += "</TD>";
      }
      html += "</TR>\n";
    }
    html += "</TABLE>\n";
  }
  html += "</FORM></BODY></HTML>\n";
  page.form_elements =
      static_cast<int>(page.control_ids.size() + 2 * counts.table_rows * kRowControls.size());
  return page;
}

}  // namespace cn::bench
