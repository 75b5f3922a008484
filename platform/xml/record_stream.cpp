#include "platform/xml/record_stream.h"

#include <climits>
#include <memory>
#include <vector>

#include <libxml/parserInternals.h>

#include "platform/xml/libxml_support.h"
#include "platform/xml/record_values.h"

namespace quillane::xml_detail {

namespace {

// Whether libxml2 may build from the text what the stream does not take on: a namespace (only a
// declaration or the predefined "xml" prefix puts one there), a DTD, a comment or a CDATA section.
bool mayHoldMore(std::string_view text) {
  for (std::string_view sign : {"xmlns", "xml:", "<!"})
    if (text.find(sign) != std::string_view::npos) return true;
  return false;
}

// What an open element of the document is to the records, as the tree road reads it.
struct Open {
  enum class Kind {
    Root,     // the document element: its record elements are read
    Skipped,  // under the root but no record, or inside one: nothing of it is read
    Record,   // a record, or a nested record
    Value,    // a value: its text, with the text of any element inside it
    Inside,   // an element inside a value
    Pending,  // of no known form: a record once an element comes inside it, else a value
  };
  explicit Open(Kind k, const ElementShape* s = nullptr, std::string name = {}) : kind(k), shape(s), key(std::move(name)) {}

  Kind kind;
  const ElementShape* shape;
  std::string key;
  std::shared_ptr<TrzRecord> record;
  std::string text;
};

class Builder {
 public:
  Builder(TrzRecords& vect, const ElementShape* recordShape, std::string_view typeName)
      : vect_(vect), recordShape_(recordShape), typeName_(typeName) {}

  void start(const char* name, bool prefixed) {
    if (prefixed) aborted_ = true;  // namespaces are the tree road's
    if (open_.empty()) return open_.push_back(Open(Open::Kind::Root));
    Open& parent = open_.back();
    switch (parent.kind) {
      case Open::Kind::Root:
        if (typeName_ == name) return open_.push_back(element(name, recordShape_));
        return open_.push_back(Open(Open::Kind::Skipped));
      case Open::Kind::Skipped: return open_.push_back(Open(Open::Kind::Skipped));
      case Open::Kind::Value:
      case Open::Kind::Inside: return open_.push_back(Open(Open::Kind::Inside));
      case Open::Kind::Pending:
        parent.kind = Open::Kind::Record;
        parent.record = std::make_shared<TrzRecord>();
        [[fallthrough]];
      case Open::Kind::Record: {
        const ElementShape* shape = parent.shape ? parent.shape->Child(name) : nullptr;
        return open_.push_back(element(name, shape));
      }
    }
  }

  void text(const char* chars, int length) {
    if (open_.empty()) return;
    if (Open* owner = textOwner()) owner->text.append(chars, static_cast<std::size_t>(length));
  }

  void end() {
    if (open_.empty()) return;
    Open done = std::move(open_.back());
    open_.pop_back();
    if (open_.empty() || done.kind == Open::Kind::Skipped || done.kind == Open::Kind::Inside) return;
    Variant value = done.kind == Open::Kind::Record
                        ? Variant(std::move(done.record))
                        : ValueOfText(std::move(done.text), done.shape ? done.shape->valueKind : ValueKind::Text);
    Open& parent = open_.back();
    if (parent.kind == Open::Kind::Root)
      vect_.Add(std::move(value));
    else
      AddChild(*parent.record, done.key, std::move(value), done.shape);
  }

  bool aborted() const { return aborted_; }

 private:
  static Open element(const char* name, const ElementShape* shape) {
    const ElementShape::Form form = shape ? shape->form : ElementShape::Form::Unknown;
    Open open(form == ElementShape::Form::Record  ? Open::Kind::Record
              : form == ElementShape::Form::Value ? Open::Kind::Value
                                                  : Open::Kind::Pending,
              shape, name);
    if (open.kind == Open::Kind::Record) open.record = std::make_shared<TrzRecord>();
    return open;
  }

  // The element whose value the text belongs to: the open value, also from inside it.
  Open* textOwner() {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
      if (it->kind == Open::Kind::Inside) continue;
      return it->kind == Open::Kind::Value || it->kind == Open::Kind::Pending ? &*it : nullptr;
    }
    return nullptr;
  }

  TrzRecords& vect_;
  const ElementShape* recordShape_;
  std::string_view typeName_;
  std::vector<Open> open_;
  bool aborted_ = false;
};

Builder& builderOf(void* ctx) { return *static_cast<Builder*>(ctx); }

void onStart(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar*, int, const xmlChar**, int,
             int, const xmlChar**) {
  builderOf(ctx).start(Chars(localname), prefix != nullptr);
}
void onEnd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) { builderOf(ctx).end(); }
void onText(void* ctx, const xmlChar* chars, int length) { builderOf(ctx).text(Chars(chars), length); }


}  // namespace

bool ReadPlainDocument(TrzRecords& vect, std::string_view text, const RecordSchema& schema,
                       const ElementShape* recordShape, std::string_view typeName) {
  // The first byte keeps libxml2 from taking the text for another encoding than UTF-8, as the tree road
  // reads every text (ParseText).
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX) || mayHoldMore(text) ||
      text.find('\0') != std::string_view::npos || !(text[0] == '<' || text[0] == ' ' || text[0] == '\t' ||
                                                      text[0] == '\r' || text[0] == '\n'))
    return false;
  LibxmlErrors errors;
  SchemaValidCtxtPtr validator(xmlSchemaNewValidCtxt(schema.Compiled()));
  ParserCtxtPtr parser(xmlCreateMemoryParserCtxt(text.data(), static_cast<int>(text.size())));
  if (!validator || !parser) return false;
  xmlCtxtUseOptions(parser.get(), kParseOptions | XML_PARSE_IGNORE_ENC);

  TrzRecords records;
  Builder builder(records, recordShape, typeName);
  xmlSAXHandler handler{};
  handler.initialized = XML_SAX2_MAGIC;
  handler.startElementNs = onStart;
  handler.endElementNs = onEnd;
  handler.characters = onText;
  handler.ignorableWhitespace = onText;
  xmlSAXHandler* sax = &handler;
  void* user = &builder;
  xmlSchemaSAXPlugStruct* plug = xmlSchemaSAXPlug(validator.get(), &sax, &user);
  if (!plug) return false;
  xmlSAXHandler* ownHandler = parser->sax;  // freed with the parser
  parser->sax = sax;
  parser->userData = user;
  xmlParseDocument(parser.get());
  const bool valid = xmlSchemaIsValid(validator.get()) == 1;
  xmlSchemaSAXUnplug(plug);
  parser->sax = ownHandler;
  if (parser->myDoc) {
    xmlFreeDoc(parser->myDoc);
    parser->myDoc = nullptr;
  }
  if (!parser->wellFormed || !errors.empty() || builder.aborted() || !valid) return false;
  for (std::int32_t k = 1; k <= records.Count(); ++k) vect.Add(records.Item(k));
  return true;
}

}  // namespace quillane::xml_detail
