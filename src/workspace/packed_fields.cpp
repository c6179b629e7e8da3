#include <cstdint>
#include <string_view>

#include "base/runtime_failure.h"
#include "workspace/cover_note_record.h"
#include "workspace/field_catalogue.h"

namespace cn {
namespace {

// Every member of the record's field sets is in the catalogue, so packing by the catalogue
// loses nothing: a text or a list left out of it would make the field sets larger than this.
constexpr std::size_t CataloguedBytes() {
  std::size_t bytes = 0;
  for (const FieldInfo& field : kFieldCatalogue) {
    if (field.text) bytes += sizeof(std::string);
    if (field.text_array) bytes += sizeof(std::vector<std::string>);
    if (field.integer || field.boolean) bytes += sizeof(void*);  // with its padding
  }
  return bytes;
}
static_assert(sizeof(CoverNoteFields) <= CataloguedBytes(),
              "a member of CoverNoteFields is not in kFieldCatalogue");

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  void Count(std::size_t n) {
    for (; n >= 0x80; n >>= 7) out_.push_back(static_cast<char>(0x80 | (n & 0x7F)));
    out_.push_back(static_cast<char>(n));
  }
  void Text(std::string_view text) {
    Count(text.size());
    out_.append(text);
  }

 private:
  std::string& out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  std::size_t Count() {
    std::size_t n = 0;
    for (int shift = 0;; shift += 7) {
      const auto byte = static_cast<unsigned char>(Next(1).front());
      n |= static_cast<std::size_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return n;
    }
  }
  std::string Text() { return std::string(Next(Count())); }

 private:
  // Only this file writes what it reads: a short text is a fault of the program.
  std::string_view Next(std::size_t n) {
    if (n > in_.size())
      throw RuntimeFailure(failure::kInvalidArgument, "A packed record is cut short",
                           "PackedRecord");
    const std::string_view taken = in_.substr(0, n);
    in_.remove_prefix(n);
    return taken;
  }
  std::string_view in_;
};

void PackFields(Writer& out, const CoverNoteFields& fields) {
  for (const FieldInfo& field : kFieldCatalogue) {
    if (field.text) out.Text(fields.*field.text);
    if (field.integer) out.Count(static_cast<std::uint32_t>(fields.*field.integer));
    if (field.boolean) out.Count(fields.*field.boolean ? 1 : 0);
    if (field.text_array) {
      out.Count((fields.*field.text_array).size());
      for (const std::string& text : fields.*field.text_array) out.Text(text);
    }
  }
}

void UnpackFields(Reader& in, CoverNoteFields& fields) {
  for (const FieldInfo& field : kFieldCatalogue) {
    if (field.text) fields.*field.text = in.Text();
    if (field.integer)
      fields.*field.integer = static_cast<std::int32_t>(static_cast<std::uint32_t>(in.Count()));
    if (field.boolean) fields.*field.boolean = in.Count() != 0;
    if (field.text_array) {
      auto& texts = fields.*field.text_array;
      texts.resize(in.Count());
      for (std::string& text : texts) text = in.Text();
    }
  }
}

}  // namespace

PackedFields::PackedFields(const CoverNoteFields& fields) {
  if (fields == CoverNoteFields{}) return;
  Writer out(bytes_);
  PackFields(out, fields);
  bytes_.shrink_to_fit();
}

CoverNoteFields PackedFields::Unpack() const {
  CoverNoteFields fields;
  if (bytes_.empty()) return fields;
  Reader in(bytes_);
  UnpackFields(in, fields);
  return fields;
}

}  // namespace cn
