#include "documents/pdf_document.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/runtime_failure.h"
#include "base/text.h"

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps a few hundred bytes of the configuration it reads once a process where the
// leak checker cannot see them; the checker is told, so that a leak of ours still shows.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace cn::documents {
namespace {

constexpr std::string_view kSource = "Documents";
constexpr std::string_view kFamily = "DejaVu Sans";
constexpr std::string_view kFontPackage = "fonts-dejavu-core";

// A4 in points, the PDF's own unit.
constexpr double kMillimetre = 72.0 / 25.4;
constexpr double kPageWidth = 210 * kMillimetre;
constexpr double kPageHeight = 297 * kMillimetre;
constexpr double kMargin = 18 * kMillimetre;
constexpr double kFootHeight = 10 * kMillimetre;
constexpr double kTextWidth = kPageWidth - 2 * kMargin;
constexpr double kBottom = kPageHeight - kMargin - kFootHeight;

constexpr double kCellPadding = 3.0;       // left and right of a table cell's text
constexpr double kRowPadding = 2.0;        // above and below it
constexpr double kBlockGap = 9.0;          // between blocks
constexpr double kKeepWithHeading = 40.0;  // a heading is not left alone at a page's foot

enum class Style { kBody, kBold, kSmall, kSection, kColumnHeading, kStatement, kTitle, kIssuer };
struct StyleLook {
  double size;  // points
  bool bold;
  double grey;  // 0 black
};
constexpr StyleLook StyleOf(Style style) {
  switch (style) {
    case Style::kBody:
      return {9.0, false, 0.0};
    case Style::kBold:
      return {9.0, true, 0.0};
    case Style::kSmall:
      return {7.5, false, 0.35};
    case Style::kSection:
      return {10.5, true, 0.0};
    case Style::kColumnHeading:
      return {8.0, true, 0.35};
    case Style::kStatement:
      return {10.5, true, 0.0};
    case Style::kTitle:
      return {18.0, true, 0.0};
    case Style::kIssuer:
      return {13.0, true, 0.0};
  }
  return {9.0, false, 0.0};
}

template <auto Free>
struct Freer {
  template <typename T>
  void operator()(T* pointer) const {
    Free(pointer);
  }
};
using Surface = std::unique_ptr<cairo_surface_t, Freer<cairo_surface_destroy>>;
using Cairo = std::unique_ptr<cairo_t, Freer<cairo_destroy>>;
using FontDescription = std::unique_ptr<PangoFontDescription, Freer<pango_font_description_free>>;
using FontOptions = std::unique_ptr<cairo_font_options_t, Freer<cairo_font_options_destroy>>;
template <typename T>
using GObject = std::unique_ptr<T, Freer<g_object_unref>>;
using Layout = GObject<PangoLayout>;

[[noreturn]] void Fail(std::string description) {
  throw RuntimeFailure(failure::kInvalidArgument, std::move(description), std::string(kSource));
}

// Each document has fonts of its own: a Pango font map is not to be shared between threads.
struct Fonts {
  GObject<PangoFontMap> map{pango_cairo_font_map_new()};
  GObject<PangoContext> context{pango_font_map_create_context(map.get())};

  Fonts() {
    // Unhinted metrics, at the PDF's 72 units an inch: the same widths on every machine,
    // whatever its font configuration says about screens.
    const FontOptions options(cairo_font_options_create());
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context.get(), options.get());
    pango_cairo_context_set_resolution(context.get(), 72.0);
  }

  FontDescription Describe(Style style) const {
    const StyleLook look = StyleOf(style);
    FontDescription description(pango_font_description_new());
    pango_font_description_set_family(description.get(), std::string(kFamily).c_str());
    pango_font_description_set_weight(description.get(),
                                      look.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(description.get(), look.size * PANGO_SCALE);
    return description;
  }

  // The family the font configuration gives for ours: another one when it is not installed.
  std::string FamilyFound() const {
    const FontDescription wanted = Describe(Style::kBody);
    const GObject<PangoFont> font(pango_font_map_load_font(map.get(), context.get(), wanted.get()));
    if (!font) return {};
    const FontDescription found(pango_font_describe(font.get()));
    const char* family = pango_font_description_get_family(found.get());
    return family ? family : "";
  }
};

void RequireFont(const Fonts& fonts) {
  const std::string found = fonts.FamilyFound();
  if (UCase(found) != UCase(kFamily)) {
    Fail("The documents' font " + std::string(kFamily) + " is not installed (Debian package " +
         std::string(kFontPackage) + "); the font configuration offers " +
         (found.empty() ? std::string("none") : found) + " instead");
  }
}

struct PlacedText {
  Layout layout;
  double x, y;
  double grey;
};
struct PlacedRule {
  double x1, y, x2;
  double width;
  double grey;
};
struct PlacedBox {
  double x, y, width, height;
  double grey;
};
struct Page {
  std::vector<PlacedText> texts;
  std::vector<PlacedRule> rules;
  std::vector<PlacedBox> boxes;
};

// A row of cells laid out for its columns: each cell's text and its x.
struct Row {
  std::vector<std::pair<Layout, double>> cells;
  double height = 0;
  double grey = 0;
};

// Lays the document out on pages from top to bottom; nothing is drawn yet, so that every
// page's foot can say how many pages there are.
class Composer {
 public:
  Composer(const Fonts& fonts, std::string continued)
      : fonts_(fonts), continued_(std::move(continued)) {
    pages_.emplace_back();
  }

  void Letterhead(const PrintedDocument& document) {
    const double left_width = kTextWidth * 0.6;
    double left = y_;
    for (std::size_t i = 0; i < document.letterhead.size(); ++i) {
      left += Place(document.letterhead[i], i == 0 ? Style::kIssuer : Style::kBody, kMargin, left,
                    left_width, Align::kLeft) +
              (i == 0 ? 3.0 : 0.5);
    }
    const double right_x = kMargin + left_width;
    const double right_width = kTextWidth - left_width;
    double right = y_;
    right += Place(document.heading, Style::kTitle, right_x, right, right_width, Align::kRight);
    right +=
        Place(document.reference, Style::kBold, right_x, right + 2, right_width, Align::kRight);
    y_ = std::max(left, right) + 8;
    Rule(y_, 1.0, 0.0);
    y_ += kBlockGap + 4;
  }

  void Add(const Block& block) {
    switch (block.kind) {
      case Block::Kind::kHeading: {
        Layout heading = Text(block.text, Style::kSection, kTextWidth, Align::kLeft);
        const double height = Height(heading.get());
        if (!Fits(height + kKeepWithHeading)) NewPage();
        Keep(std::move(heading), kMargin, y_, 0.0);
        y_ += height + 5;
        return;
      }
      case Block::Kind::kDetails:
      case Block::Kind::kTable:
        Table(block);
        y_ += kBlockGap;
        return;
      case Block::Kind::kStatement: {
        if (block.text.empty()) return;
        Layout text = Text(block.text, Style::kStatement, kTextWidth - 16, Align::kLeft);
        const double height = Height(text.get()) + 14;
        if (!Fits(height)) NewPage();
        pages_.back().boxes.push_back({kMargin, y_, kTextWidth, height, 0.92});
        Keep(std::move(text), kMargin + 8, y_ + 7, 0.0);
        y_ += height + kBlockGap;
        return;
      }
      case Block::Kind::kNote: {
        Layout text = Text(block.text, Style::kSmall, kTextWidth, Align::kLeft);
        const double height = Height(text.get());
        if (!Fits(height)) NewPage();
        Keep(std::move(text), kMargin, y_, StyleOf(Style::kSmall).grey);
        y_ += height + kBlockGap;
        return;
      }
    }
  }

  std::vector<Page> TakePages() { return std::move(pages_); }

 private:
  void Table(const Block& block) {
    const bool ruled = block.kind == Block::Kind::kTable;
    const bool headed = std::ranges::any_of(
        block.columns, [](const Column& column) { return !column.heading.empty(); });
    std::vector<std::string> headings;
    for (const Column& column : block.columns) headings.push_back(column.heading);
    const auto place_headings = [&] {
      if (!headed) return;
      PlaceRow(MakeRow(block, headings, Style::kColumnHeading));
      Rule(y_, 0.7, 0.0);
    };
    for (std::size_t i = 0; i < block.rows.size(); ++i) {
      const bool total = block.total_row && i + 1 == block.rows.size();
      Row row = MakeRow(block, block.rows[i], total ? Style::kBold : Style::kBody);
      const double headings_height = (i == 0 && headed) ? HeadingsHeight(block, headings) : 0;
      if (!Fits(headings_height + row.height)) {
        NewPage();
        place_headings();
      } else if (i == 0) {
        place_headings();
      }
      if (total) Rule(y_, 0.7, 0.0);
      PlaceRow(std::move(row));
      if (ruled && !total) Rule(y_, 0.3, 0.75);
    }
  }

  double HeadingsHeight(const Block& block, const std::vector<std::string>& headings) {
    return MakeRow(block, headings, Style::kColumnHeading).height;
  }

  Row MakeRow(const Block& block, const std::vector<std::string>& cells, Style style) {
    Row row;
    row.grey = StyleOf(style).grey;
    double x = kMargin;
    for (std::size_t i = 0; i < block.columns.size(); ++i) {
      const Column& column = block.columns[i];
      const double width = column.share * kTextWidth;
      // A label column of details reads as a label.
      const Style cell_style =
          block.kind == Block::Kind::kDetails && i == 0 ? Style::kColumnHeading : style;
      Layout text = Text(i < cells.size() ? cells[i] : std::string(), cell_style,
                         width - 2 * kCellPadding, column.align);
      row.height = std::max(row.height, Height(text.get()) + 2 * kRowPadding);
      row.cells.emplace_back(std::move(text), x + kCellPadding);
      x += width;
    }
    return row;
  }

  void PlaceRow(Row row) {
    for (auto& [text, x] : row.cells) Keep(std::move(text), x, y_ + kRowPadding, row.grey);
    y_ += row.height;
  }

  double Place(std::string_view text, Style style, double x, double y, double width, Align align) {
    if (text.empty()) return 0;
    Layout layout = Text(text, style, width, align);
    const double height = Height(layout.get());
    Keep(std::move(layout), x, y, StyleOf(style).grey);
    return height;
  }

  Layout Text(std::string_view text, Style style, double width, Align align) const {
    Layout layout(pango_layout_new(fonts_.context.get()));
    const FontDescription font = fonts_.Describe(style);
    pango_layout_set_font_description(layout.get(), font.get());
    pango_layout_set_width(layout.get(), static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout.get(),
                               align == Align::kRight ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT);
    // Kept texts are the screen's UTF-8; anything else prints as replacement characters.
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout.get(), valid, -1);
    g_free(valid);
    return layout;
  }

  static double Height(PangoLayout* layout) {
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout, &width, &height);
    return static_cast<double>(height) / PANGO_SCALE;
  }

  void Keep(Layout layout, double x, double y, double grey) {
    pages_.back().texts.push_back({std::move(layout), x, y, grey});
  }
  void Rule(double y, double width, double grey) {
    pages_.back().rules.push_back({kMargin, y, kMargin + kTextWidth, width, grey});
  }
  bool Fits(double height) const { return y_ + height <= kBottom; }
  // A page after the first says whose it is at its head.
  void NewPage() {
    pages_.emplace_back();
    y_ = kMargin;
    y_ += Place(continued_, Style::kSmall, kMargin, y_, kTextWidth, Align::kRight) + 6;
  }

  const Fonts& fonts_;
  const std::string continued_;
  std::vector<Page> pages_;
  double y_ = kMargin;
};

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void SetGrey(cairo_t* cairo, double grey) { cairo_set_source_rgb(cairo, grey, grey, grey); }

void DrawFoot(cairo_t* cairo, const Fonts& fonts, const std::string& foot, std::size_t page,
              std::size_t pages) {
  const double y = kPageHeight - kMargin - kFootHeight + 8;
  SetGrey(cairo, 0.6);
  cairo_set_line_width(cairo, 0.4);
  cairo_move_to(cairo, kMargin, y - 4);
  cairo_line_to(cairo, kMargin + kTextWidth, y - 4);
  cairo_stroke(cairo);
  const FontDescription font = fonts.Describe(Style::kSmall);
  const std::string numbered = "Page " + std::to_string(page) + " of " + std::to_string(pages);
  for (const auto& [text, align] :
       {std::pair{foot, PANGO_ALIGN_LEFT}, std::pair{numbered, PANGO_ALIGN_RIGHT}}) {
    const Layout layout(pango_layout_new(fonts.context.get()));
    pango_layout_set_font_description(layout.get(), font.get());
    pango_layout_set_width(layout.get(), static_cast<int>(kTextWidth * PANGO_SCALE));
    pango_layout_set_alignment(layout.get(), align);
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    SetGrey(cairo, StyleOf(Style::kSmall).grey);
    cairo_move_to(cairo, kMargin, y);
    pango_cairo_show_layout(cairo, layout.get());
  }
}

void SetMetadata(cairo_surface_t* surface, const PrintedDocument& document) {
  const struct {
    cairo_pdf_metadata_t name;
    std::string value;
  } entries[] = {
      {CAIRO_PDF_METADATA_TITLE, document.title},
      {CAIRO_PDF_METADATA_SUBJECT, document.subject},
      {CAIRO_PDF_METADATA_AUTHOR, document.letterhead.empty() ? "" : document.letterhead[0]},
      {CAIRO_PDF_METADATA_CREATOR, "covernote"},
      {CAIRO_PDF_METADATA_CREATE_DATE, document.made_at},
  };
  for (const auto& entry : entries) {
    if (!entry.value.empty())
      cairo_pdf_surface_set_metadata(surface, entry.name, entry.value.c_str());
  }
}

}  // namespace

std::string RenderPdf(const PrintedDocument& document) {
  const Fonts fonts;
  RequireFont(fonts);
  std::string bytes;
  {
    const Surface surface(
        cairo_pdf_surface_create_for_stream(Append, &bytes, kPageWidth, kPageHeight));
    cairo_pdf_surface_restrict_to_version(surface.get(), CAIRO_PDF_VERSION_1_5);
    SetMetadata(surface.get(), document);
    const Cairo cairo(cairo_create(surface.get()));
    pango_cairo_update_context(cairo.get(), fonts.context.get());

    Composer composer(fonts, document.reference + " (continued)");
    composer.Letterhead(document);
    for (const Block& block : document.blocks) composer.Add(block);
    const std::vector<Page> pages = composer.TakePages();

    for (std::size_t i = 0; i < pages.size(); ++i) {
      const Page& page = pages[i];
      for (const PlacedBox& box : page.boxes) {
        SetGrey(cairo.get(), box.grey);
        cairo_rectangle(cairo.get(), box.x, box.y, box.width, box.height);
        cairo_fill(cairo.get());
      }
      for (const PlacedRule& rule : page.rules) {
        SetGrey(cairo.get(), rule.grey);
        cairo_set_line_width(cairo.get(), rule.width);
        cairo_move_to(cairo.get(), rule.x1, rule.y);
        cairo_line_to(cairo.get(), rule.x2, rule.y);
        cairo_stroke(cairo.get());
      }
      for (const PlacedText& text : page.texts) {
        SetGrey(cairo.get(), text.grey);
        cairo_move_to(cairo.get(), text.x, text.y);
        pango_cairo_show_layout(cairo.get(), text.layout.get());
      }
      DrawFoot(cairo.get(), fonts, document.foot, i + 1, pages.size());
      cairo_show_page(cairo.get());
    }
    cairo_surface_finish(surface.get());
    if (const cairo_status_t status = cairo_surface_status(surface.get());
        status != CAIRO_STATUS_SUCCESS) {
      Fail(std::string("The PDF could not be made: ") + cairo_status_to_string(status));
    }
  }
  return bytes;
}

std::string FontProblem() {
  try {
    RequireFont(Fonts());
  } catch (const RuntimeFailure& failure) {
    return failure.description();
  }
  return {};
}

}  // namespace cn::documents
