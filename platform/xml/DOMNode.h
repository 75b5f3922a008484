// The node objects of the DOM document: a node of a loaded tree and a list of nodes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/object.h"
#include "platform/xml/libxml_support.h"

namespace quillane {

class DOMNodeList;

namespace xml_detail {
// One parsed tree. Every node object holds it, so a node stays usable after its document loads another.
struct DomTree {
  DocPtr doc;
  bool hasDeclaration = false;  // the loaded text began with an XML declaration
};
}  // namespace xml_detail

class DOMNode : public AutomationObject {
 public:
  DOMNode(std::shared_ptr<xml_detail::DomTree> tree, xmlNode* node) : tree_(std::move(tree)), node_(node) {}

  // The markup of the node as it stands (for the document, see DOMDocument::xml).
  virtual std::string xml() const;
  std::string nodeName() const;
  std::string text() const;
  std::shared_ptr<DOMNodeList> childNodes() const;
  // Paths of element names separated by "/" ("Root/ItemClass/Item"), relative to this node or, with a
  // leading "/", to its document; "*" matches any element. Names match by local name, so a default
  // namespace does not hide a node. Any other path syntax raises error 5. Null when nothing matches.
  std::shared_ptr<DOMNode> selectSingleNode(const std::string& path) const;
  std::shared_ptr<DOMNodeList> selectNodes(const std::string& path) const;
  // Removes the attribute of that qualified name from an element (nothing when it has none). "xmlns" or
  // "xmlns:p" removes that namespace declaration; the elements it covered leave the namespace, so the
  // markup no longer names it anywhere.
  void removeAttribute(const std::string& name);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "IXMLDOMNode"; }

 protected:
  DOMNode() = default;
  std::vector<xmlNode*> select(const std::string& path) const;
  // The node members, which a document shares.
  static const DispatchTable& nodeTable();

  std::shared_ptr<xml_detail::DomTree> tree_;
  xmlNode* node_ = nullptr;
};

class DOMNodeList : public AutomationObject {
 public:
  explicit DOMNodeList(std::vector<std::shared_ptr<DOMNode>> nodes) : nodes_(std::move(nodes)) {}

  std::int32_t length() const { return static_cast<std::int32_t>(nodes_.size()); }
  // The node at a 0-based index, null outside 0 to length - 1 (as the DOM gives Nothing).
  std::shared_ptr<DOMNode> item(std::int32_t index) const;

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "IXMLDOMNodeList"; }

 private:
  std::vector<std::shared_ptr<DOMNode>> nodes_;
};

}  // namespace quillane
