#pragma once
// The password store: an INI text file in the program folder whose key
// "Valore" of section "Accesso" holds the scrambled password. The file may
// come from Windows (CRLF line ends, names in any case, a UTF-8 byte order
// mark); a write changes only that one value and keeps every other byte.
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "core/text.h"

namespace zel {

// The store cannot be read or written, or holds a damaged value.
class PasswordStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr char kPasswordStoreFileName[] = "unins000.dll";
inline constexpr char kPasswordSection[] = "Accesso";
inline constexpr char kPasswordKey[] = "Valore";
// The entry fields take at most this many characters.
inline constexpr std::size_t kMaxPasswordLength = 230;

// The store inside the program folder.
std::filesystem::path passwordStorePath(const std::filesystem::path& programFolder);

// The stored password, unscrambled and trimmed. A missing file, section or key
// gives the empty string. Throws PasswordStoreError when the file exists but
// cannot be read, or when the value is damaged (a pair that is not
// hexadecimal, more than 510 digits).
Text readStoredPassword(const std::filesystem::path& storeFile);

// Normalises `plain` (see normalisePassword), scrambles it and writes it as
// the store's value, creating the file, section or key where missing and
// keeping every other line byte for byte. The file is replaced atomically by a
// temporary one from the same folder, so a failure leaves the old store as it
// was; the new file keeps the old one's owner and group, and only its owner
// and group keep their access. A store or folder without write permission
// (by its permission bits, even for root) is refused. Throws
// PasswordStoreError on any failure,
// and also, writing nothing, when the normalised password is empty or longer
// than 230 characters (such a password could never be typed at login).
void writeStoredPassword(const std::filesystem::path& storeFile, std::string_view plain);

// True when the typed text, normalised, equals the stored password byte for
// byte. An empty store matches nothing. Throws as readStoredPassword.
bool checkPassword(const std::filesystem::path& storeFile, std::string_view typed);

enum class PasswordChange {
  Changed,            // the new password is stored
  WrongOldPassword,   // the old password does not match the store
  NotConfirmed,       // new and confirmation differ once trimmed (case counts)
  InvalidNewPassword  // the new password is empty or too long once normalised
};

// The change of password: checks the old password, then that the new one and
// its confirmation agree byte for byte after trimming (no upper-casing), then
// stores the normalised new password. The store is untouched unless the result
// is Changed. Throws PasswordStoreError when the store cannot be read or
// written.
PasswordChange changePassword(const std::filesystem::path& storeFile, std::string_view oldPassword,
                              std::string_view newPassword, std::string_view confirmation);

}  // namespace zel
