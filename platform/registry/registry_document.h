// The registry file's text as a document of lines, so that a write changes only the lines it must and
// keeps the comments and layout a person gave the file.
//
// Syntax, one item a line (blanks and tabs around names, values and key paths are ignored):
//   ; comment          (or "#"; blank lines are comments too)
//   [KEY\PATH]         opens a key; the same path may open again further down: it is the same key
//   name=value         a value of the key opened last; a value that starts with a double quote runs to
//                      the closing one and may hold C escapes (\" \\ \n \r \t...), so blanks at its
//                      ends and line breaks survive;
//                      a ";" or "#" after the "=" is part of the value, not a comment
// A value line before any key, or a line that is none of these, makes the file malformed.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillane::registry {

// A malformed line: its 1-based number and what is wrong with it.
class RegistrySyntaxError : public std::runtime_error {
 public:
  RegistrySyntaxError(int line, const std::string& what) : std::runtime_error(what), line(line) {}
  int line;
};

// "HKEY_LOCAL_MACHINE\\SOFTWARE\\" and "HKEY_LOCAL_MACHINE\SOFTWARE" name one key: the path without
// blanks at its ends and without empty parts.
std::string NormalizeKeyPath(std::string_view keyPath);

class RegistryDocument {
 public:
  // Raises RegistrySyntaxError for the first malformed line.
  static RegistryDocument Parse(std::string_view text);
  std::string Render() const;

  // Key paths are normalised and compared without regard to case, value names too. Where a key or a
  // value stands more than once, the last one counts.
  std::optional<std::string> Find(std::string_view keyPath, std::string_view valueName) const;
  // True for a key that opens in the file and for every key above one that does.
  bool HasKey(std::string_view keyPath) const;
  // Replaces the value where it stands, else adds it at the end of its key, else adds the key at the
  // end of the file. Raises std::invalid_argument for a key path or value name that the syntax cannot
  // carry (empty, or holding a line break; a name holding "=" or starting a comment or a key).
  void Set(std::string_view keyPath, std::string_view valueName, std::string_view value);
  // Removes the key and every key below it, with their values; false when there was none.
  bool Remove(std::string_view keyPath);

 private:
  struct Line {
    enum class Kind { Comment, Key, Value } kind;
    std::string text;   // as written, rendered again unchanged unless Set replaces it
    std::string key;    // Key: the normalised path; Value: the path of its key
    std::string name;   // Value only
    std::string value;  // Value only, unquoted
  };

  std::vector<Line> lines_;
  std::string lineEnd_ = "\n";
};

}  // namespace quillane::registry
