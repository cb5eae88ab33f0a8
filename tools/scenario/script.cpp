#include "tools/scenario/script.h"

#include <sstream>

#include "base/gbk.h"

namespace sr::scenario {

namespace {

char Unescape(char c) {
  switch (c) {
    case 'r':
      return '\r';
    case 'n':
      return '\n';
    case 't':
      return '\t';
    default:
      return c;
  }
}

std::string StripComment(const std::string& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && quoted) {
      ++i;
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == '#' && !quoted) {
      return line.substr(0, i);
    }
  }
  return line;
}

}  // namespace

bool SplitWords(const std::string& line, std::vector<std::string>* words) {
  words->clear();
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size()) {
          word += Unescape(line[++i]);
        } else {
          word += line[i];
        }
        ++i;
      }
      if (i >= line.size()) return false;
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        word += line[i++];
      }
    }
    words->push_back(word);
  }
  return true;
}

bool ParseScript(const std::string& utf8, std::vector<Line>* lines, std::string* error) {
  std::vector<std::vector<Line>*> open_blocks{lines};
  std::istringstream in(utf8);
  std::string raw;
  int number = 0;
  auto fail = [&](const std::string& what) {
    *error = "line " + std::to_string(number) + ": " + what;
    return false;
  };
  while (std::getline(in, raw)) {
    ++number;
    std::vector<std::string> words;
    if (!SplitWords(StripComment(raw), &words)) return fail("unterminated quote");
    if (words.empty()) continue;
    if (words[0] == "end" && words.size() == 1) {
      if (open_blocks.size() == 1) return fail("\"end\" without \"modal\"");
      open_blocks.pop_back();
      continue;
    }
    Line line;
    line.number = number;
    line.source = raw;
    while (!line.source.empty() && line.source.back() == '\r') line.source.pop_back();
    for (const std::string& word : words) {
      Text gbk;
      std::string bad;
      if (!Utf8ToGbk(word, &gbk, &bad)) return fail("GBK cannot hold \"" + bad + "\"");
      line.words.push_back(gbk);
    }
    open_blocks.back()->push_back(line);
    if (words[0] == "modal") open_blocks.push_back(&open_blocks.back()->back().block);
  }
  if (open_blocks.size() > 1) return fail("\"modal\" block without \"end\"");
  return true;
}

}  // namespace sr::scenario
