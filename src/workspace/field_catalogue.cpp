#include "workspace/field_catalogue.h"

#include <charconv>
#include <optional>

#include "base/currency.h"
#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn {
namespace {

constexpr std::string_view kSource = "CoverNoteRecord";

const FieldInfo& RequireField(std::string_view name) {
  const FieldInfo* field = FindField(name);
  if (field == nullptr) {
    throw RuntimeFailure(failure::kInvalidArgument,
                         "The cover note record has no field \"" + std::string(name) + "\"",
                         std::string(kSource));
  }
  return *field;
}

[[noreturn]] void NotA(std::string_view what, std::string_view text, const FieldInfo& field) {
  throw RuntimeFailure(failure::kTypeMismatch,
                       "Type mismatch: \"" + std::string(text) + "\" is not " + std::string(what) +
                           " (" + std::string(field.name) + ")",
                       std::string(kSource));
}

std::string FlagText(bool flag) { return flag ? "True" : "False"; }

std::vector<std::string> ArrayFromText(std::string_view text) {
  std::vector<std::string> elements = Split(text, DialogArgSeparator);
  if (elements.empty()) elements.emplace_back();
  return elements;
}

std::string TextOf(const CoverNoteFields& fields, const FieldInfo& field) {
  switch (field.kind) {
    case FieldKind::kText:
      return fields.*field.text;
    case FieldKind::kInteger:
      return std::to_string(fields.*field.integer);
    case FieldKind::kBoolean:
      return FlagText(fields.*field.boolean);
    case FieldKind::kTextArray:
      return Join(fields.*field.text_array, DialogArgSeparator);
    case FieldKind::kFlagArray:
      break;
  }
  return {};
}

void SetText(CoverNoteFields& fields, const FieldInfo& field, std::string_view text) {
  switch (field.kind) {
    case FieldKind::kText:
      fields.*field.text = std::string(text);
      return;
    case FieldKind::kInteger: {
      const std::string trimmed = Trim(text);
      std::int32_t value = 0;
      const auto [end, error] =
          std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
      if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size()) {
        NotA("a whole number", text, field);
      }
      fields.*field.integer = value;
      return;
    }
    case FieldKind::kBoolean:
      fields.*field.boolean = ReadBooleanText(text);
      return;
    case FieldKind::kTextArray:
      fields.*field.text_array = ArrayFromText(text);
      return;
    case FieldKind::kFlagArray:
      return;
  }
}

}  // namespace

std::optional<bool> ParseBooleanText(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  if (EqualsIgnoreCase(trimmed, "True")) return true;
  if (EqualsIgnoreCase(trimmed, "False")) return false;
  if (const std::optional<Currency> number = Currency::TryParse(trimmed)) {
    return *number != Currency();
  }
  return std::nullopt;
}

bool ReadBooleanText(std::string_view text) {
  const std::optional<bool> flag = ParseBooleanText(text);
  if (!flag) {
    throw RuntimeFailure(failure::kTypeMismatch,
                         "Type mismatch: \"" + std::string(text) + "\" is not a Boolean",
                         std::string(kSource));
  }
  return *flag;
}

std::string GetFieldText(const CoverNoteRecord& record, Instance instance, const FieldInfo& field) {
  if (field.record_text) return record.*field.record_text;
  if (field.record_flags) {
    std::vector<std::string> texts;
    for (const bool flag : record.*field.record_flags) texts.push_back(FlagText(flag));
    return Join(texts, DialogArgSeparator);
  }
  // Previous is kept packed: it is read from a copy.
  return instance == Instance::kCurrent ? TextOf(record.Current, field)
                                        : TextOf(record.Previous.Unpack(), field);
}

std::string GetFieldText(const CoverNoteRecord& record, Instance instance, std::string_view name) {
  return GetFieldText(record, instance, RequireField(name));
}

void SetFieldText(CoverNoteRecord& record, Instance instance, const FieldInfo& field,
                  std::string_view text) {
  if (field.record_text) {
    record.*field.record_text = std::string(text);
    return;
  }
  if (field.record_flags) {
    std::vector<bool> flags;
    for (const std::string& element : ArrayFromText(text)) {
      flags.push_back(ReadBooleanText(element));
    }
    record.*field.record_flags = std::move(flags);
    return;
  }
  if (instance == Instance::kCurrent) return SetText(record.Current, field, text);
  record.Previous.Change([&](CoverNoteFields& fields) { SetText(fields, field, text); });
}

void SetFieldText(CoverNoteRecord& record, Instance instance, std::string_view name,
                  std::string_view text) {
  SetFieldText(record, instance, RequireField(name), text);
}

}  // namespace cn
