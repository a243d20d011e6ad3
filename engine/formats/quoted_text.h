// File text as a message quotes it: hostile files hold megabyte-long "lines" and control
// characters, and a message must stay one short, printable line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// The most bytes of file text that one message quotes.
inline constexpr std::size_t kLongestQuote = 60;

// text cut to at most longest bytes (then "..."), with \n, \r, \t, \\ and every other byte that
// is not printable ASCII written as \xNN.
std::string printableExcerpt(std::string_view text, std::size_t longest = kLongestQuote);

// printableExcerpt in single quotes: what a message shows of a value read from a file.
std::string quotedExcerpt(std::string_view text);

}  // namespace engine
