#include "play/play_command.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "play/transcript_changes.h"

namespace cn::play {

namespace {

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

std::string Brief(const nlohmann::json& value) {
  std::string text = value.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
  constexpr std::size_t kLongest = 200;
  if (text.size() > kLongest) text = text.substr(0, kLongest) + "...";
  return text;
}

std::string Escaped(const Json& value) {
  return value.dump(-1, ' ', true, Json::error_handler_t::replace);
}

// The parts of a transcript written one to a line, so that a diff shows whole events, tabs,
// buttons and elements ("*": any key or index); everything above them has a key to a line.
constexpr std::size_t kLongestPath = 5;
using OneLinePath = std::array<std::string_view, kLongestPath>;
constexpr std::array<OneLinePath, 6> kOneLine = {{
    {"events", "*"},
    {"failures", "*"},
    {"final", "shell", "tabs", "*"},
    {"final", "shell", "buttons", "*"},
    {"final", "page", "elements", "*"},
    {"final", "page", "rows", "*", "*"},
}};

bool WrittenOnOneLine(const std::vector<std::string>& path) {
  return std::ranges::any_of(kOneLine, [&](const OneLinePath& pattern) {
    const auto length = std::ranges::find(pattern, std::string_view{}) - pattern.begin();
    if (static_cast<std::size_t>(length) != path.size()) return false;
    return std::equal(
        path.begin(), path.end(), pattern.begin(),
        [](const std::string& key, std::string_view want) { return want == "*" || key == want; });
  });
}

// A value on one line, with a space after each comma and colon.
void WriteLine(const Json& value, std::string& text) {
  if (!value.is_structured() || value.empty()) {
    text += Escaped(value);
    return;
  }
  text += value.is_object() ? "{" : "[";
  for (auto item = value.begin(); item != value.end(); ++item) {
    if (item != value.begin()) text += ", ";
    if (value.is_object()) text += Escaped(item.key()) + ": ";
    WriteLine(*item, text);
  }
  text += value.is_object() ? "}" : "]";
}

void WriteTranscript(const Json& value, std::vector<std::string>& path, std::string& text) {
  if (!value.is_structured() || value.empty() || WrittenOnOneLine(path)) {
    WriteLine(value, text);
    return;
  }
  const std::string indent(2 * (path.size() + 1), ' ');
  text += value.is_object() ? "{\n" : "[\n";
  std::size_t index = 0;
  for (auto item = value.begin(); item != value.end(); ++item, ++index) {
    if (item != value.begin()) text += ",\n";
    text += indent;
    if (value.is_object()) text += Escaped(item.key()) + ": ";
    path.push_back(value.is_object() ? item.key() : std::to_string(index));
    WriteTranscript(*item, path, text);
    path.pop_back();
  }
  text += "\n" + std::string(2 * path.size(), ' ');
  text += value.is_object() ? "}" : "]";
}

}  // namespace

std::string TranscriptText(const Json& transcript) {
  std::string text;
  std::vector<std::string> path;
  WriteTranscript(transcript, path, text);
  return text + "\n";
}

std::string TranscriptDifferences(std::string_view expected_text, std::string_view actual_text) {
  nlohmann::json expected;
  try {
    expected = nlohmann::json::parse(expected_text);
  } catch (const nlohmann::json::exception& error) {  // a syntax error, or a number too large
    return std::string("the expected transcript is not valid JSON: ") + error.what() + "\n";
  }
  const nlohmann::json actual = nlohmann::json::parse(actual_text);
  std::ostringstream lines;
  for (const auto& change : nlohmann::json::diff(expected, actual)) {
    const std::string op = change["op"];
    const std::string path = change["path"];
    const nlohmann::json::json_pointer pointer(path);
    if (op == "add") {
      lines << "+ " << path << ": " << Brief(change["value"]) << "\n";
    } else if (op == "remove") {
      lines << "- " << path << ": " << Brief(expected.at(pointer)) << "\n";
    } else {
      lines << "~ " << path << ": expected " << Brief(expected.at(pointer)) << ", got "
            << Brief(change["value"]) << "\n";
    }
  }
  return lines.str();
}

int RunPlayCommand(const PlayCommand& command, const ScreenMaker& make_screen, std::ostream& out,
                   std::ostream& err) {
  const auto text = ReadFile(command.scenario);
  if (!text) {
    err << "covernote play: cannot read " << command.scenario.string() << "\n";
    return exit_status::kMalformed;
  }
  Scenario scenario;
  try {
    scenario = ParseScenario(*text, command.scenario.parent_path());
  } catch (const ScenarioError& error) {
    err << "covernote play: " << command.scenario.string() << ": " << error.what() << "\n";
    return exit_status::kMalformed;
  }

  const PlayOutcome outcome = Play(
      scenario,
      {.pages_dir = command.pages_dir, .make_screen = make_screen, .captions = command.captions});
  if (!outcome.error.empty()) {
    err << "covernote play: " << command.scenario.string() << ": " << outcome.error << "\n";
    return outcome.status;
  }
  const std::string transcript = TranscriptText(outcome.transcript);
  if (command.out && !WriteFile(*command.out, transcript)) {
    err << "covernote play: cannot write " << command.out->string() << "\n";
    return exit_status::kInternalFailure;
  }
  if (command.rebaseline) {
    // What changed, before the file is replaced: the line a reviewer reads before the diff.
    const auto before = ReadFile(*command.rebaseline);
    const Json old_transcript = before ? Json::parse(*before, nullptr, false) : Json();
    if (!WriteFile(*command.rebaseline, transcript)) {
      err << "covernote play: cannot write " << command.rebaseline->string() << "\n";
      return exit_status::kInternalFailure;
    }
    out << command.rebaseline->filename().string() << ": "
        << (old_transcript.is_object() ? TranscriptChanges(old_transcript, outcome.transcript)
                                       : "new transcript")
        << "\n";
  }
  if (!command.out && !command.expect && !command.rebaseline) out << transcript;

  for (const auto& failure : outcome.transcript["failures"]) {
    err << "covernote play: step " << failure["step"].get<int>() << ": "
        << failure["what"].get<std::string>() << ": expected "
        << Brief(nlohmann::json::parse(failure["expected"].dump())) << ", got "
        << Brief(nlohmann::json::parse(failure["actual"].dump())) << "\n";
  }
  if (command.expect && !command.rebaseline) {
    const auto expected = ReadFile(*command.expect);
    if (!expected) {
      err << "covernote play: cannot read " << command.expect->string()
          << " (write it with --rebaseline once the transcript is right)\n";
      return exit_status::kDiffers;
    }
    const std::string differences = TranscriptDifferences(*expected, transcript);
    if (!differences.empty()) {
      err << "covernote play: the transcript differs from " << command.expect->string() << ":\n"
          << differences;
      return exit_status::kDiffers;
    }
  }
  return outcome.status;
}

}  // namespace cn::play
