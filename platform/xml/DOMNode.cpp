#include "platform/xml/DOMNode.h"


#include "platform/automation/vbtext.h"
#include "platform/xml/object_support.h"

namespace quillane {
namespace {

using xml_detail::Chars;

constexpr const char* kDomSource = "MSXML2.DOMDocument.3.0";

std::string qualifiedName(const xmlNs* ns, const xmlChar* name) {
  std::string q = ns && ns->prefix ? Chars(ns->prefix) + std::string(":") : std::string();
  return q + Chars(name);
}

std::string localName(std::string_view name) {
  std::size_t colon = name.find(':');
  return std::string(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

// Points every element and attribute of the subtree that used `removed` at the declaration of the same
// namespace further up, or at none when there is no such declaration.
void replaceNamespace(xmlNode* node, xmlNs* removed, xmlNs* replacement) {
  if (node->ns == removed) node->ns = replacement;
  for (xmlAttr* a = node->properties; a; a = a->next)
    if (a->ns == removed) a->ns = replacement;
  for (xmlNode* c = node->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) replaceNamespace(c, removed, replacement);
}

void removeNamespaceDeclaration(xmlNode* element, const std::string& prefix) {
  xmlNs** link = &element->nsDef;
  while (*link) {
    xmlNs* ns = *link;
    bool same = prefix.empty() ? ns->prefix == nullptr : ns->prefix && prefix == Chars(ns->prefix);
    if (!same) {
      link = &ns->next;
      continue;
    }
    *link = ns->next;
    ns->next = nullptr;
    xmlNs* outer = element->parent && element->parent->type == XML_ELEMENT_NODE
                       ? xmlSearchNs(element->doc, element->parent, ns->prefix)
                       : nullptr;
    xmlNs* replacement = outer && outer->href && ns->href && xmlStrEqual(outer->href, ns->href) ? outer : nullptr;
    replaceNamespace(element, ns, replacement);
    xmlFreeNs(ns);
    return;
  }
}

}  // namespace

std::string DOMNode::xml() const { return xml_detail::SerializeNode(node_); }

std::string DOMNode::nodeName() const {
  switch (node_->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: return qualifiedName(node_->ns, node_->name);
    case XML_TEXT_NODE: return "#text";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_COMMENT_NODE: return "#comment";
    case XML_DOCUMENT_NODE: return "#document";
    default: return node_->name ? Chars(node_->name) : "";
  }
}

std::string DOMNode::text() const { return xml_detail::NodeText(node_); }

std::shared_ptr<DOMNodeList> DOMNode::childNodes() const {
  std::vector<std::shared_ptr<DOMNode>> nodes;
  for (xmlNode* c = node_->children; c; c = c->next) nodes.push_back(std::make_shared<DOMNode>(tree_, c));
  return std::make_shared<DOMNodeList>(std::move(nodes));
}

std::vector<xmlNode*> DOMNode::select(const std::string& path) const {
  std::string_view rest = path;
  std::vector<xmlNode*> current{node_};
  if (!rest.empty() && rest.front() == '/') {
    current = {reinterpret_cast<xmlNode*>(node_->doc)};
    rest.remove_prefix(1);
  }
  std::vector<std::string> steps = Split(rest, "/");
  for (const std::string& step : steps) {
    if (step.empty() || step.find_first_of("[]()@=.|'\" ") != std::string::npos) {
      throw AutomationError(static_cast<std::int32_t>(VbError::InvalidProcedureCall), kDomSource,
                            "The path \"" + path + "\" is not supported: give element names or * separated by /.");
    }
    std::string name = localName(step);
    std::vector<xmlNode*> next;
    for (xmlNode* context : current)
      for (xmlNode* c = context->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && (name == "*" || name == Chars(c->name))) next.push_back(c);
    current = std::move(next);
  }
  return steps.empty() ? std::vector<xmlNode*>{} : current;
}

std::shared_ptr<DOMNode> DOMNode::selectSingleNode(const std::string& path) const {
  std::vector<xmlNode*> found = select(path);
  return found.empty() ? nullptr : std::make_shared<DOMNode>(tree_, found.front());
}

std::shared_ptr<DOMNodeList> DOMNode::selectNodes(const std::string& path) const {
  std::vector<std::shared_ptr<DOMNode>> nodes;
  for (xmlNode* n : select(path)) nodes.push_back(std::make_shared<DOMNode>(tree_, n));
  return std::make_shared<DOMNodeList>(std::move(nodes));
}

void DOMNode::removeAttribute(const std::string& name) {
  if (node_->type != XML_ELEMENT_NODE) throw vbError(VbError::MemberNotSupported, kDomSource);
  if (name == "xmlns" || name.rfind("xmlns:", 0) == 0) {
    removeNamespaceDeclaration(node_, name == "xmlns" ? std::string() : name.substr(6));
    return;
  }
  for (xmlAttr* a = node_->properties; a; a = a->next) {
    if (qualifiedName(a->ns, a->name) == name) {
      xmlRemoveProp(a);
      return;
    }
  }
}

const DispatchTable& DOMNode::dispatchTable() const { return nodeTable(); }

const DispatchTable& DOMNode::nodeTable() {
  static const DispatchTable table = DispatchBuilder<DOMNode>()
                                         .get("xml", 1, &DOMNode::xml)
                                         .get("nodeName", 2, &DOMNode::nodeName)
                                         .get("text", 3, &DOMNode::text)
                                         .get("childNodes", 4, &DOMNode::childNodes)
                                         .method("selectSingleNode", 5, &DOMNode::selectSingleNode)
                                         .method("selectNodes", 6, &DOMNode::selectNodes)
                                         .method("removeAttribute", 7, &DOMNode::removeAttribute)
                                         .build();
  return table;
}

std::shared_ptr<DOMNode> DOMNodeList::item(std::int32_t index) const {
  if (index < 0 || index >= length()) return nullptr;
  return nodes_[static_cast<std::size_t>(index)];
}

const DispatchTable& DOMNodeList::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<DOMNodeList>()
                                         .get("length", 1, &DOMNodeList::length)
                                         .method("item", 0, &DOMNodeList::item)
                                         .raw("item", 0, InvokeKind::Get,
                                              [](DOMNodeList& list, Arguments a) {
                                                return Variant(list.item(CLng(xml_detail::argument(a, 0, 1))));
                                              })
                                         .build();
  return table;
}

}  // namespace quillane
