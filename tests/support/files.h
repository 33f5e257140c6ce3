#pragma once
// Files laid out and inspected by hand, byte for byte.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace zel::test {

inline std::vector<uint8_t> readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The same bytes as a string, for comparing with text.
inline std::string readText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Throws when the file cannot be written, which fails the test that asked.
inline void writeBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.good()) throw std::runtime_error("cannot write " + file.string());
}

// Places a ShortString by hand: length byte, then the text, at `offset`.
inline void putField(std::vector<uint8_t>& bytes, size_t offset, const std::string& text, int lengthByte = -1) {
  bytes[offset] = static_cast<uint8_t>(lengthByte < 0 ? text.size() : static_cast<size_t>(lengthByte));
  for (size_t i = 0; i < text.size(); ++i) bytes[offset + 1 + i] = static_cast<uint8_t>(text[i]);
}

// How many files this process has open.
inline size_t openFiles() {
  return static_cast<size_t>(
      std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

}  // namespace zel::test
