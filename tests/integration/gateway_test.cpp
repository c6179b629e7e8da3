// Components, the command gateway and failure reporting.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fake_components.h"
#include "fake_ports.h"
#include "integration/reporting.h"
#include "integration/service_gateway.h"
#include "../base/failure_text.h"

namespace cn::testing {
namespace {

TEST(ServiceGateway, OneInstancePerOperationReleasedWhenTheOperationEnds) {
  FakeWorld world;
  {
    ServiceGateway gateway(world.components);
    EXPECT_EQ(world.backend.created(), 0);  // nothing is created before the first command
    for (const char* list : {"3", "1"}) gateway.ExecuteCommand("Tarvin.Find.Browse", list);
    EXPECT_EQ(std::pair(world.backend.created(), world.backend.alive()), std::pair(1, 1));
  }
  EXPECT_EQ(world.backend.alive(), 0);
  ServiceGateway(world.components).ExecuteCommand("Tarvin.Find.Browse", "0");
  EXPECT_EQ(std::pair(world.backend.created(), world.backend.alive()), std::pair(2, 0));
}

TEST(ServiceGateway, AFailedCallReleasesTheInstanceAndIsNotRetried) {
  FakeWorld world;
  world.backend.Fail("KivoGIUWR.CoverNote.WriteAdmin", "Connection lost");
  ServiceGateway gateway(world.components);
  EXPECT_EQ(FailureText([&] { gateway.ExecuteCommand("KivoGIUWR.CoverNote.WriteAdmin", "x"); }),
            "440: Connection lost");
  EXPECT_EQ(world.backend.alive(), 0);  // released although the gateway still exists
  EXPECT_EQ(world.backend.sent().size(), 1u);
  // The next command of the same operation gets a fresh instance.
  gateway.ExecuteCommand("KivoGlobal.Client.Read", "C1");
  EXPECT_EQ(world.backend.created(), 2);
}

TEST(ServiceGateway, AnyComponentErrorBecomesARuntimeFailureNamingTheCommand) {
  struct Broken : BackendCommandService {
    void ExecuteCommand(std::string_view, std::string_view, std::string&, std::int32_t&) override {
      throw std::runtime_error("socket closed");
    }
  };
  ComponentFactories factories;
  factories.backend_command_service = [] { return std::make_unique<Broken>(); };
  Components components(std::move(factories));
  try {
    ServiceGateway(components).ExecuteCommand("Tarvin.Premium.ComputeV10", "p");
    ADD_FAILURE() << "no failure";
  } catch (const RuntimeFailure& failure) {
    EXPECT_EQ(failure.Text(), "440: socket closed [Tarvin.Premium.ComputeV10]");
  }
}

TEST(Components, AMissingComponentIsARuntimeFailureWhenItIsNeeded) {
  Components components;
  EXPECT_EQ(FailureText([&] { ServiceGateway(components).ExecuteCommand("Tarvin.Find.Browse", "3"); })
                .substr(0, 4), "429:");
  EXPECT_THROW(components.SharedInputCheckService(), RuntimeFailure);
  EXPECT_THROW(components.NewRegistry(), RuntimeFailure);
}

TEST(Components, CheckingServicesAreSharedAndMessagesGetAFreshInstance) {
  FakeWorld world;
  int rules_created = 0;
  world.components.factories().field_rule_service = [&, make = world.field_rules.Factory()] {
    ++rules_created;
    return make();
  };
  EXPECT_EQ(&world.components.SharedFieldRuleService(), &world.components.SharedFieldRuleService());
  EXPECT_EQ(&world.components.SharedInputCheckService(),
            &world.components.SharedInputCheckService());
  EXPECT_EQ(std::pair(rules_created, world.input_checks.created), std::pair(1, 1));

  world.messages.answer = answer::kCancel;
  EXPECT_EQ(ShowMessageByNumber(world.components, 1210001, "", "Reset"), answer::kCancel);
  ShowMessageByNumber(world.components, 1210009, "[Cover]", "Incomplete Data");
  EXPECT_EQ(world.messages.created, 2);
  EXPECT_EQ(world.messages.shown.back(),
            (ShownMessage{1210009, "Incomplete Data", {"[Cover]", "", "", "", ""}}));
}

// A failure shows its number, description and source under the default title; the wrappers
// end the handler at the failure.
TEST(Reporting, FailuresAreShownAndEndTheHandler) {
  FakeDialogs dialogs;
  ShowRuntimeError(dialogs, RuntimeFailure(13, "Type mismatch", "GetSystemCode"));
  int steps = 0;
  EXPECT_TRUE(ReportFailures(dialogs, [&] { ++steps; }));
  EXPECT_FALSE(ReportFailures(dialogs, [&] {
    throw RuntimeFailure(424, "Object required", "CNAAMain");
    ++steps;
  }));
  EXPECT_FALSE(ReportFailures(dialogs, [] { throw std::out_of_range("vector"); }));
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(dialogs.boxes, (std::vector<ShownBox>{{"13: Type mismatch [GetSystemCode]", 48, ""},
                                                  {"424: Object required [CNAAMain]", 48, ""},
                                                  {"51: vector [covernote]", 48, ""}}));
  EXPECT_FALSE(IgnoreFailures([] { throw RuntimeFailure(5, "Invalid", "Unload"); }));
  EXPECT_TRUE(IgnoreFailures([] {}));
  EXPECT_EQ(dialogs.boxes.size(), 3u);
}

}  // namespace
}  // namespace cn::testing
