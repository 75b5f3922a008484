#include "platform/xml/xml_markup.h"

namespace quillane {

std::string EscapeXml(const std::string& text, bool inAttribute) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += inAttribute ? "&quot;" : "\""; break;
      case '\t': out += inAttribute ? "&#9;" : "\t"; break;
      case '\n': out += inAttribute ? "&#10;" : "\n"; break;
      // A parser turns a CR written as it is into a line feed, in text as in attributes.
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string NamespaceDeclaration(const std::string& prefix, const std::string& uri) {
  return " xmlns" + (prefix.empty() ? std::string() : ":" + prefix) + "=\"" + EscapeXml(uri, true) + "\"";
}

std::string StartTag(const std::string& qName, const std::string& declarations, const ISAXAttributes& attributes) {
  std::string tag = "<" + qName + declarations;
  for (std::int32_t i = 0; i < attributes.getLength(); ++i)
    tag += " " + attributes.getQName(i) + "=\"" + EscapeXml(attributes.getValue(i), true) + "\"";
  return tag + ">";
}

}  // namespace quillane
