#include "platform/registry/registry_document.h"

#include "platform/automation/vbtext.h"
#include "platform/registry/text_syntax.h"

namespace quillane::registry {
namespace {

bool IsAtOrBelow(std::string_view key, std::string_view ancestor) {
  if (key.size() == ancestor.size()) return SameText(key, ancestor);
  return key.size() > ancestor.size() && key[ancestor.size()] == '\\' &&
         SameText(key.substr(0, ancestor.size()), ancestor);
}

// A plain value is taken as it stands; a quoted one keeps its blanks and may hold escapes.
std::string UnquoteValue(std::string_view text, int line) {
  if (text.empty() || text.front() != '"') return std::string(text);
  try {
    return ParseQuotedText(text);
  } catch (const QuotedTextError& e) {
    throw RegistrySyntaxError(line, std::string(e.what()) + " in the value");
  }
}

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (value.front() == '"' || value.front() == ' ' || value.front() == '\t') return true;
  if (value.back() == ' ' || value.back() == '\t') return true;
  for (unsigned char c : value)
    if (c < 0x20) return true;
  return false;
}

std::string RenderValueLine(std::string_view name, std::string_view value) {
  std::string text(name);
  text += '=';
  if (!NeedsQuotes(value)) return text + std::string(value);
  text += '"';
  for (char c : value) {
    switch (c) {
      case '\\': text += "\\\\"; break;
      case '"': text += "\\\""; break;
      case '\n': text += "\\n"; break;
      case '\r': text += "\\r"; break;
      case '\t': text += "\\t"; break;
      default: text += c;
    }
  }
  return text + '"';
}

std::string CheckedKeyPath(std::string_view keyPath) {
  std::string key = NormalizeKeyPath(keyPath);
  if (key.empty()) throw std::invalid_argument("a registry key path must not be empty");
  if (key.find_first_of("\r\n") != std::string::npos)
    throw std::invalid_argument("a registry key path must not hold a line break");
  return key;
}

void CheckValueName(std::string_view name) {
  if (name.empty()) throw std::invalid_argument("a registry value name must not be empty");
  if (TrimBlanks(name) != name) throw std::invalid_argument("a registry value name must not start or end with a blank");
  if (name.find_first_of("=\r\n") != std::string_view::npos)
    throw std::invalid_argument("a registry value name must not hold \"=\" or a line break");
  if (name.front() == '[' || name.front() == ';' || name.front() == '#')
    throw std::invalid_argument("a registry value name must not start with \"[\", \";\" or \"#\"");
}

}  // namespace

std::string NormalizeKeyPath(std::string_view keyPath) {
  std::string path;
  for (const std::string& part : Split(TrimBlanks(keyPath), "\\")) {
    if (part.empty()) continue;
    if (!path.empty()) path += '\\';
    path += part;
  }
  return path;
}

RegistryDocument RegistryDocument::Parse(std::string_view text) {
  RegistryDocument doc;
  if (std::size_t nl = text.find('\n'); nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r')
    doc.lineEnd_ = "\r\n";

  std::string currentKey;
  ForEachLine(text, [&](std::string_view raw, int number) {
    Line line{Line::Kind::Comment, std::string(raw), {}, {}, {}};
    std::string_view t = TrimBlanks(raw);
    if (t.empty() || t.front() == ';' || t.front() == '#') {
      doc.lines_.push_back(std::move(line));
      return;
    }
    if (t.front() == '[') {
      if (t.back() != ']') throw RegistrySyntaxError(number, "a key line must end with \"]\"");
      currentKey = NormalizeKeyPath(t.substr(1, t.size() - 2));
      if (currentKey.empty()) throw RegistrySyntaxError(number, "the key path is empty");
      line.kind = Line::Kind::Key;
      line.key = currentKey;
      doc.lines_.push_back(std::move(line));
      return;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
      throw RegistrySyntaxError(number, "expected \"[key path]\", \"name=value\" or a comment");
    if (currentKey.empty()) throw RegistrySyntaxError(number, "a value before the first key");
    line.kind = Line::Kind::Value;
    line.key = currentKey;
    line.name = std::string(TrimBlanks(t.substr(0, eq)));
    if (line.name.empty()) throw RegistrySyntaxError(number, "the value has no name");
    line.value = UnquoteValue(TrimBlanks(t.substr(eq + 1)), number);
    doc.lines_.push_back(std::move(line));
  });
  return doc;
}

std::string RegistryDocument::Render() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + lineEnd_;
  return text;
}

std::optional<std::string> RegistryDocument::Find(std::string_view keyPath, std::string_view valueName) const {
  std::string key = NormalizeKeyPath(keyPath);
  std::optional<std::string> found;
  for (const Line& line : lines_)
    if (line.kind == Line::Kind::Value && SameText(line.key, key) && SameText(line.name, valueName))
      found = line.value;
  return found;
}

bool RegistryDocument::HasKey(std::string_view keyPath) const {
  std::string key = NormalizeKeyPath(keyPath);
  if (key.empty()) return false;
  for (const Line& line : lines_)
    if (line.kind == Line::Kind::Key && IsAtOrBelow(line.key, key)) return true;
  return false;
}

void RegistryDocument::Set(std::string_view keyPath, std::string_view valueName, std::string_view value) {
  std::string key = CheckedKeyPath(keyPath);
  CheckValueName(valueName);

  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
    if (it->kind == Line::Kind::Value && SameText(it->key, key) && SameText(it->name, valueName)) {
      it->text = RenderValueLine(it->name, value);
      it->value = std::string(value);
      return;
    }
  }

  Line added{Line::Kind::Value, RenderValueLine(valueName, value), key, std::string(valueName), std::string(value)};
  std::optional<std::size_t> lastBlock;
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Line::Kind::Key && SameText(lines_[i].key, key)) lastBlock = i;
  if (lastBlock) {
    std::size_t insertAt = *lastBlock + 1;
    for (std::size_t i = insertAt; i < lines_.size() && lines_[i].kind != Line::Kind::Key; ++i)
      if (lines_[i].kind == Line::Kind::Value) insertAt = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(added));
    return;
  }
  if (!lines_.empty() && !TrimBlanks(lines_.back().text).empty())
    lines_.push_back(Line{Line::Kind::Comment, {}, {}, {}, {}});
  lines_.push_back(Line{Line::Kind::Key, "[" + key + "]", key, {}, {}});
  lines_.push_back(std::move(added));
}

bool RegistryDocument::Remove(std::string_view keyPath) {
  std::string key = NormalizeKeyPath(keyPath);
  if (key.empty()) return false;
  bool removed = false;
  bool skipping = false;
  std::vector<Line> kept;
  for (Line& line : lines_) {
    if (line.kind == Line::Kind::Key) {
      skipping = IsAtOrBelow(line.key, key);
      removed = removed || skipping;
    }
    if (!skipping) kept.push_back(std::move(line));
  }
  lines_ = std::move(kept);
  return removed;
}

}  // namespace quillane::registry
