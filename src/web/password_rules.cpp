#include "web/password_rules.h"

#include <zxcvbn.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <set>

#include "web/utf8.h"

namespace cn::web {
namespace {

// zxcvbn's scores by guesses: below 10^3, 10^6, 10^8, 10^10, and above.
int Score(double entropy_bits) {
  const double guesses = std::pow(2.0, entropy_bits);
  if (guesses < 1e3 + 5) return 0;
  if (guesses < 1e6 + 5) return 1;
  if (guesses < 1e8 + 5) return 2;
  if (guesses < 1e10 + 5) return 3;
  return 4;
}

std::size_t Characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

struct FreeInfo {
  void operator()(ZxcMatch_t* info) const { ZxcvbnFreeInfo(info); }
};

// zxcvbn's hints, by the kind of the parts that made the password guessable.
std::vector<std::string> Hints(const ZxcMatch_t* matches) {
  std::set<int> kinds;
  for (const ZxcMatch_t* match = matches; match != nullptr; match = match->Next) {
    kinds.insert(static_cast<int>(match->Type) & ~static_cast<int>(MULTIPLE_MATCH));
  }
  std::vector<std::string> hints;
  if (kinds.contains(USER_MATCH) || kinds.contains(USER_LEET_MATCH))
    hints.push_back("Your user name, your agent and the product's name are easy to guess.");
  if (kinds.contains(DICTIONARY_MATCH) || kinds.contains(DICT_LEET_MATCH))
    hints.push_back("A common password, word or name is easy to guess.");
  if (kinds.contains(DICT_LEET_MATCH) || kinds.contains(USER_LEET_MATCH))
    hints.push_back("Predictable substitutions like '@' instead of 'a' don't help very much.");
  if (kinds.contains(REPEATS_MATCH))
    hints.push_back("Repeats like \"aaa\" or \"abcabc\" are easy to guess.");
  if (kinds.contains(SEQUENCE_MATCH))
    hints.push_back("Sequences like \"abc\" or \"6543\" are easy to guess.");
  if (kinds.contains(SPATIAL_MATCH))
    hints.push_back("Straight rows of keys like \"qwerty\" are easy to guess.");
  if (kinds.contains(DATE_MATCH) || kinds.contains(YEAR_MATCH))
    hints.push_back("Dates and years are easy to guess.");
  hints.push_back("Add another word or two. Uncommon words are better.");
  return hints;
}

}  // namespace

PasswordVerdict JudgePassword(std::string_view password, std::string_view user,
                              const std::vector<std::string>& words) {
  PasswordVerdict verdict;
  if (password.size() > kMostPasswordBytes || !IsUtf8(password) ||
      password.find('\0') != std::string_view::npos) {
    verdict.message = "Choose a password of text, of at most " +
                      std::to_string(kMostPasswordBytes) + " bytes.";
    return verdict;
  }
  if (Characters(password) < kLeastPasswordCharacters) {
    verdict.message = "Choose a password of at least " +
                      std::to_string(kLeastPasswordCharacters) + " characters.";
    return verdict;
  }
  if (Lower(password) == Lower(user)) {
    verdict.message = "The password may not be your user name.";
    return verdict;
  }
  std::vector<std::string> own{std::string(user), Lower(user), "covernote"};
  for (const std::string& word : words) {
    if (!word.empty()) own.push_back(Lower(word));
  }
  std::vector<const char*> dictionary;
  for (const std::string& word : own) dictionary.push_back(word.c_str());
  dictionary.push_back(nullptr);
  const std::string text(password);
  ZxcMatch_t* raw = nullptr;
  const double bits = ZxcvbnMatch(text.c_str(), dictionary.data(), &raw);
  const std::unique_ptr<ZxcMatch_t, FreeInfo> matches(raw);
  verdict.score = Score(bits);
  if (verdict.score >= 3) {
    verdict.accepted = true;
    return verdict;
  }
  verdict.message = "That password is too easy to guess.";
  verdict.hints = Hints(matches.get());
  return verdict;
}

}  // namespace cn::web
