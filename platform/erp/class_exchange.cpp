#include "platform/erp/class_exchange.h"

#include <functional>
#include <vector>

#include "platform/automation/errors.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/SAXXMLReader.h"
#include "platform/xml/bounded_record.h"
#include "platform/xml/record_batch.h"
#include "platform/xml/TextStream.h"
#include "platform/xml/component_text.h"
#include "platform/xml/stitched_file.h"
#include "platform/xml/xml_markup.h"

namespace quillane::erp {
namespace {

constexpr const char* kSource = "Q7ClassExchangeWizard.ClassExchange";
constexpr const char* kRootEnd = "</Root>";

// The item classes whose public class is built; the others are refused.
struct ItemTypeClass {
  std::int32_t itemClassID;
  const char* progID;
  const char* recordName;
};
constexpr ItemTypeClass kItemTypeClasses[] = {
    {1, "Quillane.clsCustomer", "Customer"},
    {2, "Quillane.clsDepartment", "Department"},
    {3, "Quillane.clsEmployee", "Employee"},
    {4, "Quillane.clsMaterial", "Material"},
    {5, "Quillane.clsStock", "Stock"},
    {7, "Quillane.clsMeasureUnit", "MeasureUnit"},
    {8, "Quillane.clsSupplier", "Supplier"},
    {9, "Quillane.clsCashFlowItem", "CashFlowItem"},
    {10, "Quillane.clsSubCompany", "SubCompany"},
    {14, "Quillane.clsWorkCenter", "WorkCenter"},
    {2001, "Quillane.clsCBCostObject", "CostObject"},
    {2002, "Quillane.clsCBService", "Service"},
    {2003, "Quillane.clsCBCostItem", "CostItem"},
    {2004, "Quillane.clsCBExpenseElement", "ExpenseElement"},
    {2014, "Quillane.clsFee", "Fee"},
};

AutomationError refusal(const std::string& message, const std::string& detail = "") {
  return AutomationError(kLibraryRefusal, kSource, ComponentText(message) + detail);
}

[[noreturn]] void refuse(const std::string& message, const std::string& detail = "") { throw refusal(message, detail); }

const ItemTypeClass& byItemClass(std::int32_t itemClassID) {
  for (const ItemTypeClass& c : kItemTypeClasses)
    if (c.itemClassID == itemClassID) return c;
  refuse("类别交换组件不支持该核算项目类别:", std::to_string(itemClassID));
}

const ItemTypeClass& byRecordName(const std::string& recordName) {
  for (const ItemTypeClass& c : kItemTypeClasses)
    if (c.recordName == recordName) return c;
  refuse("类别交换组件不支持该核算项目类别:", recordName);
}

// Cuts the file into batches of kPageSize records, to be imported under a copy of its Root,
// re-serialising what the reader reports. The record element name comes from the Root's
// VelmoraNameSpace attribute; the first Root start hands it to onRoot before any batch. A record whose
// text passes the bound is left out of its batch and handed to onRefused, which says what it is. Where
// the file stops being well-formed, the complete records before the fault still go out as a batch, and
// a record the fault cut off goes to onBroken with the reader's message.
class BatchReader : public ISAXContentHandler, public ISAXErrorHandler {
 public:
  std::function<void(const std::string& recordName)> onRoot;
  std::function<void(const RecordBatch& batch, const std::string& text)> onBatch;
  std::function<void(const std::string& identification)> onRefused;
  std::function<void(const std::string& name, const std::string& message)> onBroken;
  std::vector<std::string> readerErrors;

  // The XML declaration and the Root's start tag that open every batch.
  const std::string& header() const { return header_; }

  void startPrefixMapping(const std::string& prefix, const std::string& uri) override {
    declarations_ += NamespaceDeclaration(prefix, uri);
  }
  void startElement(const std::string&, const std::string& localName, const std::string& qName,
                    const ISAXAttributes& attributes) override {
    std::string tag = StartTag(qName, declarations_, attributes);
    declarations_.clear();
    if (++depth_ > 1) {
      if (depth_ == 2) record_.Begin(depth_);
      record_.StartElement(depth_, localName);
      record_.Append(tag);
      return;
    }
    std::string recordName;
    for (std::int32_t i = 0; i < attributes.getLength(); ++i)
      if (SameText(attributes.getQName(i), "VelmoraNameSpace")) recordName = attributes.getValue(i);
    if (qName != "Root" || recordName.empty()) refuse("该XML文档不符合维墨标准文档!");
    header_ = "<?xml version=\"1.0\"?>" + tag;
    onRoot(recordName);
  }
  // Text between records stays out of the batch: it is only the file's layout.
  void characters(const std::string& chars) override {
    if (record_.Open()) record_.Append(EscapeXml(chars, false), true);
  }
  void endElement(const std::string&, const std::string&, const std::string& qName) override {
    record_.EndElement(depth_);
    if (depth_-- == 1) return;
    record_.Append("</" + qName + ">");
    if (depth_ > 1) return;
    if (record_.Overflowed()) {
      record_.Take();
      onRefused(record_.Identification());
      return;
    }
    const std::size_t begin = batch_.size();
    batch_ += record_.Take();
    records_.Add(begin, batch_.size(), record_.Name());
    if (++count_ == ClassExchange::kPageSize || batch_.size() >= BoundedRecord::kBatchTextLimit) flush();
  }
  void endDocument() override {
    if (count_ > 0) flush();
  }
  void error(const ISAXLocator&, const std::string& message, std::int32_t) override { readerErrors.push_back(message); }
  // The parser's line means little in a file written on one line: the record at fault is named too.
  void fatalError(const ISAXLocator&, const std::string& message, std::int32_t) override {
    if (count_ > 0) flush();
    if (record_.Open()) {
      record_.Take();
      onBroken(record_.Name(), message);
      return;
    }
    readerErrors.push_back(message + " (" + ComponentText("出错的记录：") + std::to_string(record_.Ordinal()) + ")");
  }

 private:
  void flush() {
    onBatch(records_, batch_);
    batch_.clear();
    records_.Clear();
    count_ = 0;
  }

  std::string header_;
  std::string batch_;
  RecordBatch records_;
  BoundedRecord record_;
  std::string declarations_;
  std::int32_t depth_ = 0;
  std::int32_t count_ = 0;
};

// Whether an import's counts show any record of its document handled.
bool HandledAny(const TrzRecord& counts) {
  if (CLng(counts.GetValue("Imported", std::int32_t{0})) > 0 || CLng(counts.GetValue("Failed", std::int32_t{0})) > 0)
    return true;
  if (std::shared_ptr<TrzRecord> skipped = counts.GetRecord("Skipped"))
    for (const auto& [reason, records] : skipped->Entries())
      if (CLng(records) > 0) return true;
  return false;
}

std::string withoutTrailingLineBreaks(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

ObjectRef ClassExchange::createItemType(const std::string& progID, bool& cancelled) {
  ObjectRef itemType = CreateObject(progID);
  itemType->Advise([this, &cancelled](std::string_view event, DispId, Arguments args) {
    if (!SameText(event, "Progress")) return;
    RaiseEvent("Progress", kProgress, args);
    if (CBool(args[2])) cancelled = true;
  });
  return itemType;
}

bool ClassExchange::ExportToFile(std::string strPropsString, std::int32_t lItemClassID, std::int32_t,
                                 std::string strFilter, std::string, std::int32_t, std::string, std::int32_t,
                                 std::string strFile, std::int32_t, std::int32_t, std::string strTimeStamp,
                                 std::string& strMaxTimeStamp, std::shared_ptr<TrzRecords>&,
                                 std::shared_ptr<TrzRecords>&) {
  bool cancelled = false;
  ObjectRef itemType = createItemType(byItemClass(lItemClassID).progID, cancelled);
  itemType->Let("bProgress", Variant(true));
  itemType->Let("Filter", Variant(strFilter));
  StitchedFile file(strFile, [](const std::string& detail) {
    return refusal("导出的页面不是以</Root>结尾的完整文档:", detail);
  });
  do {
    std::vector<Variant> args{strPropsString, "", kPageSize, strTimeStamp, "", ""};
    if (!CBool(itemType->Call("Export", args))) throw AutomationError(kLibraryRefusal, kSource, CStr(args[5]));
    strTimeStamp = CStr(args[3]);
    strMaxTimeStamp = CStr(args[4]);
    file.AddPage(CStr(args[1]));
  } while (!cancelled && strTimeStamp < strMaxTimeStamp);
  file.Finish();
  return !cancelled;
}

ObjectRef ClassExchange::ImportFromFile(std::string strPropsString, std::int32_t, std::string strFile, std::string,
                                        std::shared_ptr<TrzRecord>& recOptions,
                                        std::shared_ptr<TrzRecords>& vectRecords, Variant& lFailed, Variant& vectCounts,
                                        Variant&, Variant&, std::shared_ptr<TrzRecord>&, Variant&, Variant&,
                                        Variant&, Variant&) {
  std::vector<std::string> errors;
  std::int32_t failed = 0;
  auto counts = std::make_shared<TrzRecords>();
  bool cancelled = false;
  ObjectRef itemType;
  auto reader = std::make_shared<BatchReader>();
  reader->onRoot = [&](const std::string& recordName) {
    const ItemTypeClass& found = byRecordName(recordName);
    const Variant meant = recOptions ? recOptions->GetValue("ItemClassID", Variant()) : Variant();
    if (!meant.isEmpty() && CLng(meant) != found.itemClassID)
      refuse("文件中的记录不属于所选的核算项目类别:", recordName + " / " + byItemClass(CLng(meant)).recordName);
    itemType = createItemType(found.progID, cancelled);
    for (const char* option : {"HaveInterFace", "AddNewOnly", "CheckByUUID"})
      if (recOptions && recOptions->Exists(option)) itemType->Let(option, Variant(CBool(recOptions->Item(option))));
  };
  // A record that no import counts (refused for its size, cut off by a broken file, or refused alone
  // by the item class) is counted here: as one record read, and as failed.
  auto countAlone = [&] {
    ++failed;
    auto one = std::make_shared<TrzRecord>();
    one->SetValue("Failed", std::int32_t{1});
    counts->Add(Variant(ObjectRef(one)));
    bool bCancel = false;
    RaiseEventWith("Progress", kProgress, std::int32_t{1}, std::int32_t{1}, bCancel);
    if (bCancel) cancelled = true;
  };
  auto named = [](const std::string& message, const std::string& name) {
    return withoutTrailingLineBreaks(message) + " (" + ComponentText("出错的记录：") + name + ")";
  };
  reader->onRefused = [&](const std::string& identification) {
    countAlone();
    errors.push_back(ComponentText("记录的文本超过了上限，未导入:") + identification);
  };
  reader->onBroken = [&](const std::string& name, const std::string& message) {
    countAlone();
    errors.push_back(named(message, name));
  };
  bool stopped = false;
  auto importDocument = [&](const std::string& document) {
    std::vector<Variant> args{strPropsString, document, "", std::int32_t{1}};
    DocumentOutcome outcome;
    outcome.ok = CBool(itemType->Call("Import", args));
    failed += CLng(itemType->Get("ErrorCount"));
    Variant batchCounts = itemType->Get("ImportCounts");
    counts->Add(batchCounts);
    auto told = batchCounts.objectAs<TrzRecord>();
    outcome.handledRecords = !told || HandledAny(*told);
    // A storage that failed under a batch fails every later one the same way: the file ends there.
    outcome.stopped = told && !CStr(told->GetValue("StoppedBy", "")).empty();
    stopped = stopped || outcome.stopped;
    outcome.error = CStr(args[2]);
    return outcome;
  };
  reader->onBatch = [&](const RecordBatch& batch, const std::string& text) {
    std::string lines = ImportBatch(reader->header() + text + kRootEnd, batch, {text, reader->header(), kRootEnd},
                                    importDocument,
                                    [&](const std::string& name, const std::string& error) {
                                      countAlone();
                                      return named(error, name);
                                    });
    if (!lines.empty()) errors.push_back(lines);
    // The storage fault is told once, in the batch's lines.
    if (stopped) throw AutomationError(kLibraryRefusal, kSource, "");
    if (cancelled) refuse("解析过程中被用户取消！");
  };
  try {
    SAXXMLReader sax;
    sax.putContentHandler(reader);
    sax.putErrorHandler(reader);
    sax.parseURL(strFile);
  } catch (const AutomationError& e) {
    if (!e.description.empty()) errors.push_back(e.description);
  }
  lFailed = Variant(failed);
  vectCounts = Variant(ObjectRef(counts));
  errors.insert(errors.end(), reader->readerErrors.begin(), reader->readerErrors.end());
  if (!errors.empty()) {
    auto texts = std::make_shared<TrzRecords>();
    for (const std::string& text : errors) texts->Add(Variant(text));
    if (!vectRecords) vectRecords = std::make_shared<TrzRecords>();
    vectRecords->Add(Variant(texts));
  }
  return nullptr;
}

const DispatchTable& ClassExchange::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<ClassExchange>()
                                         .method("ExportToFile", 1, &ClassExchange::ExportToFile)
                                         .method("ImportFromFile", 2, &ClassExchange::ImportFromFile)
                                         .build();
  return table;
}

QUILLANE_REGISTER_CLASS(kClassExchangeProgID, ClassExchange)

}  // namespace quillane::erp
