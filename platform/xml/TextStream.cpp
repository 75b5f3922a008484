#include "platform/xml/TextStream.h"

#include <cerrno>

#include "platform/automation/vbtext.h"
#include "platform/xml/file_errors.h"

namespace quillane {

using xml_detail::FileError;
using xml_detail::FileErrorNumber;

TextStream::TextStream(const std::string& path, bool overwrite, bool unicode) : path_(path), unicode_(unicode) {
  // "x": fail with EEXIST instead of truncating what is there.
  file_ = std::fopen(path.c_str(), overwrite ? "wb" : "wbx");
  if (!file_) throw xml_detail::FileErrorFromErrno(errno, path, FileErrorNumber::PathNotFound);
  if (unicode_) put("\xFF\xFE", 2);
}

TextStream::~TextStream() {
  if (file_) std::fclose(file_);
}

void TextStream::put(const void* data, std::size_t size) {
  if (size != 0 && std::fwrite(data, 1, size, file_) != size)
    throw xml_detail::FileErrorFromErrno(errno, path_, FileErrorNumber::DeviceIoError);
}

void TextStream::Write(const std::string& text) {
  if (!file_) throw FileError(FileErrorNumber::BadFileMode, path_);
  if (unicode_) {
    std::vector<std::uint8_t> bytes = Utf8ToUtf16Le(text);
    put(bytes.data(), bytes.size());
  } else {
    put(text.data(), text.size());
  }
}

void TextStream::Close() {
  if (!file_) return;
  int result = std::fclose(file_);
  file_ = nullptr;
  if (result != 0) throw xml_detail::FileErrorFromErrno(errno, path_, FileErrorNumber::DeviceIoError);
}

const DispatchTable& TextStream::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<TextStream>()
                                         .method("Write", 1, &TextStream::Write)
                                         .method("Close", 2, &TextStream::Close)
                                         .build();
  return table;
}

}  // namespace quillane
