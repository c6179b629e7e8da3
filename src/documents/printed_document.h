#pragma once
// A document as it is printed, whatever it says: a letterhead, a heading, then blocks from
// top to bottom. The PDF and the HTML print view are both drawn from it, so that they say the
// same in the same order.

#include <string>
#include <vector>

namespace cn::documents {

enum class Align { kLeft, kRight };

struct Column {
  std::string heading;  // "" for none
  double share;         // of the width between the margins
  Align align = Align::kLeft;
};

struct Block {
  enum class Kind {
    kHeading,    // a section's heading, kept with what follows it
    kDetails,    // label and value rows, without rules
    kTable,      // ruled rows under their column headings, repeated on each page
    kStatement,  // one line that matters most, in a box
    kNote,       // a small line
  };
  Kind kind;
  std::string text;  // heading, statement and note
  std::vector<Column> columns;
  std::vector<std::vector<std::string>> rows;  // as wide as the columns
  bool total_row = false;                      // the last row is a total, in bold
};

struct PrintedDocument {
  std::string title;  // the PDF's title and the HTML page's
  std::string subject;
  std::vector<std::string> letterhead;  // the issuer's name, then its address
  std::string heading;                  // printed large, right of the letterhead
  std::string reference;                // under the heading (the document's number)
  std::vector<Block> blocks;
  std::string foot;     // at the foot of every page, before "page N of M"
  std::string made_at;  // ISO 8601: the PDF's creation date, so that it is made the same each time
};

}  // namespace cn::documents
