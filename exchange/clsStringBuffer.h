// A growable text buffer for the splitter's batches: pieces are appended in place and the text is
// copied out once, when a batch is complete. The storage doubles when a piece does not fit, so a batch
// of many small pieces costs no repeated copying.
#pragma once

#include <cstdint>
#include <string>

namespace quillane {

class clsStringBuffer {
 public:
  clsStringBuffer();

  void Append(const std::string& text);
  // The used length in characters (code points), as Len counts them.
  std::int32_t Length() const { return m_length; }
  const std::string& Result() const { return m_text; }
  // An empty text resets the buffer to its initial capacity; any other text becomes its whole content.
  void SetResult(std::string text);

 private:
  std::string m_text;
  std::int32_t m_length = 0;
};

}  // namespace quillane
