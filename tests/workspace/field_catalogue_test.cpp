// Reading and writing the record's fields by name, as the scenario transcript does.
#include "workspace/field_catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "base/runtime_failure.h"
#include "base/separators.h"

namespace cn {
namespace {

TEST(FieldCatalogue, TextFormsOfTheFieldKinds) {
  CoverNoteRecord record;
  const std::string two = "A" + std::string(DialogArgSeparator) + "B";

  SetFieldText(record, Instance::kCurrent, "ScopeOfCover", "-3");
  SetFieldText(record, Instance::kCurrent, "HasExInsurer", "true");
  SetFieldText(record, Instance::kCurrent, "DriverNames", two);
  SetFieldText(record, Instance::kCurrent, "ClaimAmounts", "");
  SetFieldText(record, Instance::kCurrent, "ExtUserPremiumMarks",
               "True" + std::string(DialogArgSeparator) + "0");

  EXPECT_EQ(record.Current.ScopeOfCover, -3);
  EXPECT_TRUE(record.Current.HasExInsurer);
  EXPECT_EQ(record.Current.DriverNames, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(record.Current.ClaimAmounts, std::vector<std::string>{""});
  EXPECT_EQ(record.ExtUserPremiumMarks, (std::vector<bool>{true, false}));
  // Reading them back as text is what every golden transcript does.
}

TEST(FieldCatalogue, BadNamesAndValuesAreRefusedWithoutAChange) {
  CoverNoteRecord record;
  record.Current.ScopeOfCover = 7;
  EXPECT_THROW(GetFieldText(record, Instance::kCurrent, "NoSuchField"), RuntimeFailure);
  EXPECT_THROW(SetFieldText(record, Instance::kCurrent, "clientname", "x"), RuntimeFailure);
  EXPECT_THROW(SetFieldText(record, Instance::kCurrent, "ScopeOfCover", "7a"), RuntimeFailure);
  EXPECT_THROW(SetFieldText(record, Instance::kCurrent, "ScopeOfCover", ""), RuntimeFailure);
  EXPECT_THROW(SetFieldText(record, Instance::kCurrent, "HasExInsurer", "yes"), RuntimeFailure);
  EXPECT_EQ(record.Current.ScopeOfCover, 7);
  EXPECT_EQ(record.Current.ClientName, "");
}

}  // namespace
}  // namespace cn
