#pragma once
// What a password must be to be chosen: at least 12 characters, not the user name, and judged
// by zxcvbn (Debian's libzxcvbn, the C port of Dropbox's estimator, with its lists of common
// passwords, words and names) as not guessable: at least 10^8 guesses, zxcvbn's score 3 of 4.
// A refusal says why, with zxcvbn's kind of hint.

#include <string>
#include <string_view>
#include <vector>

namespace cn::web {

inline constexpr std::size_t kLeastPasswordCharacters = 12;
inline constexpr std::size_t kMostPasswordBytes = 1024;

struct PasswordVerdict {
  bool accepted = false;
  int score = 0;            // zxcvbn's 0 to 4
  std::string message;      // why not, in one sentence; "" when accepted
  std::vector<std::string> hints;  // what made it guessable, and what would help
};

// `user`: the user's name; `words`: more words that are his or the product's (his agent, the
// product's name), each counted as easy to guess.
PasswordVerdict JudgePassword(std::string_view password, std::string_view user,
                              const std::vector<std::string>& words = {});

}  // namespace cn::web
