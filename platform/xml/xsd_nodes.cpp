#include "platform/xml/xsd_nodes.h"

#include <cstring>

namespace quillane::xml_detail {

namespace {
constexpr const char* kXsdNamespace = "http://www.w3.org/2001/XMLSchema";
}

bool IsXsd(const xmlNode* node, const char* localName) {
  return node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
         std::strcmp(Chars(node->ns->href), kXsdNamespace) == 0 && std::strcmp(Chars(node->name), localName) == 0;
}

std::string Attribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string text = value ? Chars(value) : "";
  xmlFree(value);
  return text;
}

bool HasAttribute(const xmlNode* node, const char* name) {
  return xmlHasProp(node, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

std::string LocalPart(const std::string& qname) {
  std::size_t colon = qname.find(':');
  return colon == std::string::npos ? qname : qname.substr(colon + 1);
}

bool IsBuiltinName(const xmlNode* context, const std::string& qname) {
  std::size_t colon = qname.find(':');
  std::string prefix = colon == std::string::npos ? "" : qname.substr(0, colon);
  xmlNs* ns = xmlSearchNs(context->doc, const_cast<xmlNode*>(context),
                          prefix.empty() ? nullptr : reinterpret_cast<const xmlChar*>(prefix.c_str()));
  return ns && ns->href && std::strcmp(Chars(ns->href), kXsdNamespace) == 0;
}

}  // namespace quillane::xml_detail
