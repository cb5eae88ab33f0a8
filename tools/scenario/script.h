#ifndef SALARY_TOOLS_SCENARIO_SCRIPT_H_
#define SALARY_TOOLS_SCENARIO_SCRIPT_H_

#include <string>
#include <vector>

#include "base/value.h"

namespace sr::scenario {

// One line of a scenario: its words (GBK; quoted words keep their spaces) and, for a "modal"
// line, the lines of its block up to the matching "end".
struct Line {
  int number = 0;
  std::string source;  // the line as written (UTF-8), for the transcript
  std::vector<Text> words;
  std::vector<Line> block;
};

// Parses a UTF-8 script. Comments start with '#'; blank lines are skipped. On a syntax error or
// text that GBK cannot hold, returns false with *error naming the line.
bool ParseScript(const std::string& utf8, std::vector<Line>* lines, std::string* error);

// Splits one line into words: spaces separate, "..." keeps spaces, and inside quotes \" \\ \r \n
// and \t are escapes. False on an unterminated quote.
bool SplitWords(const std::string& line, std::vector<std::string>* words);

}  // namespace sr::scenario

#endif  // SALARY_TOOLS_SCENARIO_SCRIPT_H_
