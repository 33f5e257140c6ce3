#pragma once
// The password store: an INI text file in the program folder whose key
// "Valore" of section "Accesso" holds the scrambled password. The file may
// come from Windows (CRLF line ends, names in any case, a UTF-8 byte order
// mark); a write changes only that one value and keeps every other byte.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
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

// How a change meets the file system. A change holds an exclusive lock on
// the store (the archives' open-file-description lock, which network file
// systems with Linux clients honour too; a file system without locks is used
// as the archives are) from reading the old value to the new store's
// arrival; another change waits for it at most `lockWait`, then fails as a
// busy store. The store's files go through the archives' file layer
// (store/fileio.h), so tests make any step fail with its ScopedIoHook.
struct StoreAccess {
  std::chrono::milliseconds lockWait{2000};
};

// The store inside the program folder.
std::filesystem::path passwordStorePath(const std::filesystem::path& programFolder);

// The stored password, unscrambled and trimmed. A missing file, section or key
// gives the empty string. Throws PasswordStoreError when the file exists but
// cannot be read (a link in its place included), or when the value is damaged (a pair that is not
// hexadecimal, more than 510 digits).
Text readStoredPassword(const std::filesystem::path& storeFile);

// Whether the login window can take the normalised password: 1 to 230
// characters and no control character inside it (codes 0-31, 127, and the
// C1 codes the undefined Windows-1252 bytes stand for), which no keyboard
// types into the entry field.
bool isTypeablePassword(std::string_view normalised);

// Normalises `plain` (see normalisePassword), scrambles it and writes it as
// the store's value, creating the file, section or key where missing and
// keeping every other line byte for byte. The file is replaced atomically by a
// temporary one from the same folder and flushed to the disk with its folder
// before the call returns; any failure leaves the old store byte for byte as
// it was (or, past the replacement, the new one complete), and a missing
// store stays missing. Temporary stores left by an interrupted change are
// removed. The new file keeps the old one's rights (the store is scrambled,
// not secret: every desk must read it), owner and group (another user than
// root keeps the group when they belong to it; the file becomes theirs); a
// store this call creates gets 0666 masked by the umask and belongs to the
// folder's owner, also when root creates it. A store or folder without
// write permission (by its permission bits, even for root) is refused. A
// link in the store's place is never followed, for reading or writing; run
// by root on a folder that belongs to someone else, a store that does not
// belong to the folder's owner is refused.
// Throws PasswordStoreError on any failure, a busy store included, and also,
// writing nothing, when the normalised password is not typeable (such a
// password could never be typed at login).
void writeStoredPassword(const std::filesystem::path& storeFile, std::string_view plain,
                         const StoreAccess& access = {});

// True when the typed text, normalised, equals the stored password byte for
// byte. An empty store matches nothing. Throws as readStoredPassword.
bool checkPassword(const std::filesystem::path& storeFile, std::string_view typed);

enum class PasswordChange {
  Changed,            // the new password is stored
  WrongOldPassword,   // the old password does not match the store
  NotConfirmed,       // new and confirmation differ once trimmed (case counts)
  InvalidNewPassword  // the new password is not typeable once normalised
};

// The change of password: checks the old password, then that the new one and
// its confirmation agree byte for byte after trimming (no upper-casing), then
// stores the normalised new password, all under one lock of the store (see
// StoreAccess), so that two changes at once cannot both pass the check of
// the same old password. The store is untouched unless the result is
// Changed; a missing store is not created. Throws PasswordStoreError when the
// store cannot be read or written, or stays busy.
PasswordChange changePassword(const std::filesystem::path& storeFile, std::string_view oldPassword,
                              std::string_view newPassword, std::string_view confirmation,
                              const StoreAccess& access = {});

}  // namespace zel
