// A bulk file made of the pages of one export: the first page with its Root left open, the records of
// every later page appended inside it, and "</Root>" at the end, written as UTF-16 LE with a BOM. The
// facade and the class-exchange component write their bulk files through it, so the two formats cannot
// drift apart. The file replaces what is at its path only once it is finished (output_file.h).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/automation/errors.h"
#include "platform/xml/output_file.h"

namespace quillane {

class StitchedFile {
 public:
  // What a page that cannot be stitched raises: given a detail (the page's start, or the parse error).
  using Refusal = std::function<AutomationError(const std::string& detail)>;

  // Makes the file that will replace what is at path; raises, naming path, when it cannot be made.
  StitchedFile(std::string path, Refusal refusal);
  // A file not finished is removed, and what was at path stays: a file cut off in the middle is no
  // document.
  ~StitchedFile();
  StitchedFile(const StitchedFile&) = delete;
  StitchedFile& operator=(const StitchedFile&) = delete;

  // Adds one page (a whole document with a Root element). The first page must end in "</Root>", or be
  // a Root without records written as an empty-element tag; anything else, and a later page that does
  // not parse, raises the refusal before anything of it is written. onRecord runs after each record
  // of a later page is written.
  void AddPage(const std::string& page, const std::function<void()>& onRecord = {});
  // Closes the Root and puts the file at its path, when a page was written; true when it was. Without a
  // page, what was at the path stays.
  bool Finish();
  // Removes what was written (no-op when nothing was).
  void Abandon() noexcept;

 private:
  Refusal refusal_;
  std::optional<OutputFile> file_;
  bool started_ = false;  // the first page is written
};

}  // namespace quillane
