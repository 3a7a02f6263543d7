// A small stand-in for the command interpreter: it carries out the rd command that the sweep
// composes, with the interpreter's quoting, and refuses any other command.
#include <vector>

#include "platform/platform.h"
#include "platform/remove_tree_posix.h"

namespace platform {

namespace {

struct Word {
  std::string text;        // with its quotes dropped
  bool is_switch = false;  // began with an unquoted '/'
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Splits a command line into words at unquoted blanks. A double quote opens or closes quoting and
// is dropped; a quote left open ends with the line.
std::vector<Word> SplitWords(const std::string& line) {
  std::vector<Word> words;
  std::string::size_type i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    Word word;
    word.is_switch = line[i] == '/';
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
      if (line[i] == '"') {
        quoted = !quoted;
      } else {
        word.text += line[i];
      }
    }
    words.push_back(word);
  }
  return words;
}

void Refuse(std::string message) {
  WriteLine(Console::kError, message);
}

}  // namespace

void RunCommandLine(std::string command) {
  std::vector<Word> words = SplitWords(command);
  if (words.empty()) return;
  if (words[0].is_switch ||
      (CompareNoCase(words[0].text, "rd") != 0 && CompareNoCase(words[0].text, "rmdir") != 0)) {
    Refuse("'" + words[0].text +
           "' is not recognized as an internal or external command, operable program or batch "
           "file.");
    return;
  }

  bool subtree = false;
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (!words[i].is_switch) {
      paths.push_back(words[i].text);
    } else if (CompareNoCase(words[i].text, "/S") == 0) {
      subtree = true;
    } else if (CompareNoCase(words[i].text, "/Q") != 0) {
      // This stand-in never asks for confirmation, so /Q changes nothing here.
      Refuse("Invalid switch - \"" + words[i].text.substr(1) + "\".");
      return;
    }
  }
  if (paths.empty()) {
    Refuse("The syntax of the command is incorrect.");
    return;
  }
  for (const std::string& path : paths) RemoveDirectoryAt(path, subtree);
}

}  // namespace platform
