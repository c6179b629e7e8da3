#include "play/runner.h"

#include <stdlib.h>

#include <array>
#include <system_error>
#include <utility>

#include "base/runtime_failure.h"
#include "components/settings_file.h"
#include "dom/user_actions.h"
#include "integration/selection_file.h"
#include "play/expectations.h"
#include "play/final_state.h"
#include "play/page_states.h"
#include "play/play_components.h"
#include "play/run_settings.h"
#include "play/scripted_dialogs.h"
#include "shell/host_shell.h"

namespace cn::play {

namespace {

// A folder of the run's own (the installation folder, the copy of an embedded database),
// removed with everything in it when the run ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "covernote-play-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Every shell statement a page runs is recorded, then run by the shell.
class RecordingScriptHost final : public dom::ScriptHost {
 public:
  explicit RecordingScriptHost(EventLog& log) : log_(log) {}
  void Attach(std::weak_ptr<shell::HostShell> shell) { shell_ = std::move(shell); }

  void RunScript(dom::Window& window, std::string_view script) override {
    log_.Add("script", {{"text", script}});
    const auto shell = shell_.lock();
    if (!shell)
      throw RuntimeFailure(failure::kObjectRequired, "The shell has closed", "covernote play");
    shell->RunScript(window, script);
  }

 private:
  EventLog& log_;
  std::weak_ptr<shell::HostShell> shell_;
};

// Binds each page through the screen's factory, with recorded script and status.
dom::PageFactory RecordingPageFactory(dom::PageFactory pages,
                                      std::shared_ptr<RecordingScriptHost> scripts, EventLog& log) {
  return [pages = std::move(pages), scripts = std::move(scripts), &log](
             std::string_view page_file, const std::shared_ptr<dom::Document>& document) {
    document->ParentWindow()->SetScriptHost(scripts);
    document->AddChangeListener(dom::MutationKind::kStatus, [&log](const dom::Mutation& change) {
      log.Add("status", {{"text", change.value}});
    });
    return pages ? pages(page_file, document) : nullptr;
  };
}

// Typing, after selecting the whole text when the step replaces it.
void TypeStep(dom::Element& element, const Step& step) {
  if (step.replace) {
    if (!dom::UserFocus(element)) return;
    element.Select();
  }
  dom::TypeText(element, step.text);
}

// What each element step does, by its kind.
struct ElementAction {
  StepKind kind;
  std::string_view name;
  std::string_view extra;  // the key of the step's further value in the marker
  void (*run)(dom::Element& element, const Step& step);
};
constexpr std::array kElementActions = {
    ElementAction{StepKind::kType, "type", "text",
                  [](dom::Element& e, const Step& s) { TypeStep(e, s); }},
    ElementAction{StepKind::kKey, "key", "keyCode",
                  [](dom::Element& e, const Step& s) { dom::PressKey(e, s.key_code); }},
    ElementAction{StepKind::kClick, "click", "",
                  [](dom::Element& e, const Step&) { dom::UserClick(e); }},
    ElementAction{StepKind::kBlur, "blur", "",
                  [](dom::Element& e, const Step&) { dom::UserBlur(e); }},
    ElementAction{StepKind::kFocus, "focus", "",
                  [](dom::Element& e, const Step&) { dom::UserFocus(e); }},
    ElementAction{StepKind::kChoose, "choose", "value",
                  [](dom::Element& e, const Step& s) { dom::ChooseOption(e, s.text); }},
};

[[noreturn]] void StepFault(const Step& step, const std::string& what) {
  throw ScenarioError("step " + std::to_string(step.number) + ": " + what);
}

class Run {
 public:
  Run(const Scenario& scenario, const PlayOptions& options)
      : scenario_(scenario),
        clock_(scenario.clock),
        settings_(
            std::make_shared<const components::Settings>(RunSettings(scenario, scratch_.path()))),
        answers_(scenario.answers, scenario.named_answers),
        selection_file_(SelectionFilePath(
            settings_->Find(components::kProductKeyPath, components::kInstallationPathName)
                .value_or(""))),
        dialogs_(std::make_shared<ScriptedDialogs>(answers_, log_, selection_file_)),
        components_(PlayComponents({.scenario = scenario,
                                    .clock = clock_,
                                    .log = log_,
                                    .answers = answers_,
                                    .dialogs = dialogs_,
                                    .settings = settings_,
                                    .scratch_dir = scratch_.path(),
                                    .captions = options.captions})),
        screen_(options.make_screen ? options.make_screen(components_, clock_) : nullptr) {
    if (!screen_) throw std::runtime_error("no screen logic to run");
    auto scripts = std::make_shared<RecordingScriptHost>(log_);
    shell_ = shell::HostShell::Create(
        {.pages_dir = options.pages_dir,
         .page_factory = RecordingPageFactory(screen_->PageFactory(), scripts, log_),
         .dialogs = dialogs_,
         .cookies = scenario.cookies,
         .page_templates = nullptr});  // one run, one screen: nothing to share
    scripts->Attach(shell_);
  }

  Json Transcript() {
    shell_->Start();
    AfterStep();
    Json failures = Json::array();
    for (const Step& step : scenario_.steps) {
      log_.set_step(step.number);
      if (step.kind == StepKind::kExpect) {
        for (auto& failure : CheckExpectations(step, *shell_, *screen_))
          failures.push_back(std::move(failure));
        continue;
      }
      RunStep(step);
      AfterStep();
    }
    return {{"events", log_.events()},
            {"final", FinalState(*shell_, *screen_)},
            {"failures", std::move(failures)}};
  }

 private:
  void AfterStep() {
    if (answers_.fault()) throw ScenarioError(*answers_.fault());
    selection_file_.Check(log_);
  }

  // Every box a person can reach is entered and left in turn, rows included; a box a handler
  // took away meanwhile is passed over, and the visit ends when the page itself goes.
  void VisitBoxes(const Step& step) {
    log_.Add("step", {{"step", step.number}, {"action", "visit"}, {"id", step.id}});
    const auto page = shell_->TabDocument();
    if (!page) StepFault(step, "no tab page is shown");
    const auto is_box = [](const dom::Element& element) {
      if (element.Is("SELECT") || element.Is("TEXTAREA")) return true;
      const std::string type = element.Type();
      return element.Is("INPUT") && type != "hidden" && type != "button" && type != "submit" &&
             type != "reset" && type != "image";
    };
    for (const auto& box : page->All()) {
      if (shell_->TabDocument() != page) return;
      if (!box->IsConnected() || !is_box(*box)) continue;
      shell_->RunUserAction([&] {
        if (dom::UserFocus(*box)) dom::UserBlur(*box);
      });
    }
  }

  void RunStep(const Step& step) {
    if (step.kind == StepKind::kVisit) {
      VisitBoxes(step);
      return;
    }
    if (step.kind == StepKind::kShell) {
      log_.Add("step", {{"step", step.number}, {"action", "shell"}, {"id", step.id}});
      if (shell_->FindTab(step.id)) {
        shell_->ClickTab(step.id);
      } else if (shell_->FindButton(step.id)) {
        shell_->ClickCommand(step.id);
      } else {
        StepFault(step, "the shell has no command button or tab \"" + step.id + "\"");
      }
      return;
    }
    const auto action = std::find_if(kElementActions.begin(), kElementActions.end(),
                                     [&](const ElementAction& a) { return a.kind == step.kind; });
    Json marker = {{"step", step.number}, {"action", action->name}, {"id", step.id}};
    if (!step.row.empty()) marker["in"] = step.row;
    if (action->kind == StepKind::kKey) marker["keyCode"] = step.key_code;
    if (!action->extra.empty() && action->kind != StepKind::kKey)
      marker[std::string(action->extra)] = step.text;
    if (step.replace) marker["replace"] = true;
    log_.Add("step", std::move(marker));

    const auto page = shell_->TabDocument();
    if (!page) StepFault(step, "no tab page is shown");
    const auto element = FindControl(*page, step.id, step.row);
    if (!element) {
      StepFault(step, "no element \"" + step.id + "\"" +
                          (step.row.empty() ? "" : " in row \"" + step.row + "\"") +
                          " on the shown page");
    }
    try {
      shell_->RunUserAction([&] { action->run(*element, step); });
    } catch (const RuntimeFailure& failure) {
      StepFault(step,
                "the " + std::string(action->name) + " cannot be done: " + failure.description());
    }
  }

  const Scenario& scenario_;
  ScratchFolder scratch_;
  FixedClock clock_;
  EventLog log_;
  std::shared_ptr<const components::Settings> settings_;
  AnswerQueue answers_;
  SelectionFileWatch selection_file_;
  std::shared_ptr<ScriptedDialogs> dialogs_;
  Components components_;
  std::unique_ptr<ScreenInspector> screen_;  // outlives the shell, whose pages use it
  std::shared_ptr<shell::HostShell> shell_;
};

PlayOutcome Failed(int status, std::string error) {
  PlayOutcome outcome;
  outcome.status = status;
  outcome.error = std::move(error);
  return outcome;
}

}  // namespace

PlayOutcome Play(const Scenario& scenario, const PlayOptions& options) {
  try {
    Run run(scenario, options);
    PlayOutcome outcome;
    outcome.transcript = run.Transcript();
    outcome.status =
        outcome.transcript["failures"].empty() ? exit_status::kRan : exit_status::kExpectFailed;
    return outcome;
  } catch (const ScenarioError& error) {
    return Failed(exit_status::kMalformed, error.what());
  } catch (const std::exception& failure) {
    return Failed(exit_status::kInternalFailure, failure.what());
  }
}

}  // namespace cn::play
