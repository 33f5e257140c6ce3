// The password store reader and the unscrambler over arbitrary bytes: any
// hexadecimal text unscrambled scrambles back to itself, any store file is
// read without harm, and a password written into it reads back unchanged.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/crypt.h"
#include "store/passwordstore.h"
#include "fuzzcheck.h"

using namespace zel;

namespace {

namespace fs = std::filesystem;

std::string upperHex(std::string_view hex) {
  std::string out(hex.substr(0, hex.size() / 2 * 2));
  for (char& c : out)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

void unscrambler(std::string_view text) {
  std::string plain;
  try {
    plain = UnscrambleFromHex(text);
  } catch (const CryptError&) {
    return;
  }
  FUZZ_CHECK(plain.size() == text.size() / 2);
  FUZZ_CHECK(ScrambleToHex(plain) == upperHex(text));
  if (text.size() <= kMaxScrambledBytes) FUZZ_CHECK(UnscrambleFromHex(ScrambleToHex(text)) == text);
}

void storeFile(std::string_view bytes) {
  const fs::path store = passwordStorePath(fuzz::workFolder());
  std::ofstream(store, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  try {
    (void)readStoredPassword(store);
  } catch (const PasswordStoreError&) {
  }
  // Whatever else the file holds, the value written is the value read.
  try {
    writeStoredPassword(store, "Fuzz 1");
  } catch (const PasswordStoreError&) {
    return;  // a store it refuses to touch (UTF-16, too large)
  }
  FUZZ_CHECK(readStoredPassword(store) == "FUZZ 1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  unscrambler(text);
  storeFile(text);
  return 0;
}
