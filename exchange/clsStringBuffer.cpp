#include "exchange/clsStringBuffer.h"

#include <algorithm>

namespace quillane {
namespace {

constexpr std::size_t kInitialCapacity = 32;

std::int32_t codePoints(const std::string& text) {
  return static_cast<std::int32_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

clsStringBuffer::clsStringBuffer() { m_text.reserve(kInitialCapacity); }

void clsStringBuffer::Append(const std::string& text) {
  if (m_text.size() + text.size() > m_text.capacity())
    m_text.reserve(std::max(m_text.capacity() * 2, m_text.size() + text.size()));
  m_text += text;
  m_length += codePoints(text);
}

void clsStringBuffer::SetResult(std::string text) {
  if (text.empty()) {
    m_text = std::string();
    m_text.reserve(kInitialCapacity);
    m_length = 0;
    return;
  }
  m_length = codePoints(text);
  m_text = std::move(text);
}

}  // namespace quillane
