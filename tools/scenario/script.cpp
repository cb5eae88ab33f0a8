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

// The words of a line without its comment; none for a line that SplitWords refuses.
std::vector<std::string> WordsOf(const std::string& raw) {
  std::vector<std::string> words;
  if (!SplitWords(StripComment(raw), &words)) words.clear();
  return words;
}

struct RawLine {
  int number;
  std::string text;
};

// Writes out every "for-each NAME VALUE..." block: its lines once per value, with "$NAME"
// replaced by the value (a value may hold several words: a whole action).
bool ExpandLoops(std::vector<RawLine>* lines, std::string* error) {
  for (size_t i = 0; i < lines->size(); ++i) {
    const std::vector<std::string> head = WordsOf((*lines)[i].text);
    if (head.empty() || head[0] != "for-each") continue;
    auto fail = [&](const std::string& what) {
      *error = "line " + std::to_string((*lines)[i].number) + ": " + what;
      return false;
    };
    if (head.size() < 3) return fail("\"for-each\" needs a name and at least one value");
    size_t end = i + 1;
    for (int depth = 0; end < lines->size(); ++end) {
      const std::vector<std::string> words = WordsOf((*lines)[end].text);
      if (words.size() == 1 && words[0] == "end") {
        if (depth-- == 0) break;
      } else if (!words.empty() && (words[0] == "modal" || words[0] == "for-each")) {
        ++depth;
      }
    }
    if (end == lines->size()) return fail("\"for-each\" block without \"end\"");
    std::vector<RawLine> copies;
    for (size_t v = 2; v < head.size(); ++v) {
      for (size_t j = i + 1; j < end; ++j) {
        RawLine copy = (*lines)[j];
        for (size_t at = 0; (at = copy.text.find("$" + head[1], at)) != std::string::npos;
             at += head[v].size()) {
          copy.text.replace(at, head[1].size() + 1, head[v]);
        }
        copies.push_back(copy);
      }
    }
    lines->erase(lines->begin() + i, lines->begin() + end + 1);
    lines->insert(lines->begin() + i, copies.begin(), copies.end());
    --i;  // the copies may start with a loop of their own
  }
  return true;
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
  std::vector<RawLine> raw_lines;
  std::istringstream in(utf8);
  for (std::string raw; std::getline(in, raw);) {
    raw_lines.push_back({static_cast<int>(raw_lines.size()) + 1, raw});
  }
  if (!ExpandLoops(&raw_lines, error)) return false;
  std::vector<std::vector<Line>*> open_blocks{lines};
  int number = 0;
  auto fail = [&](const std::string& what) {
    *error = "line " + std::to_string(number) + ": " + what;
    return false;
  };
  for (const RawLine& raw_line : raw_lines) {
    const std::string& raw = raw_line.text;
    number = raw_line.number;
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
