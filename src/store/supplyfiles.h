#pragma once
// Supply files: one file per supply, named after the supply with the
// extension ".for", directly in the program folder. The set of supplies is
// the set of such files; nothing else records which supplies exist.
//
// Names here are UTF-8, as file names are on disk: a list entry is a file
// name exactly as the folder holds it (extension included, no folder), a
// supply name is an entry without its ".for".
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// A failure of the file system while creating, listing or deleting supply
// files. The text is a complete message for the user (UTF-8).
class SupplyFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace supplyfiles {

inline constexpr std::string_view kExtension = ".for";
// The name box takes at most this many characters.
inline constexpr int kMaxNameChars = 250;
// The longest file name the file system takes, in bytes, extension included.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// The nine characters a supply name never contains: \ / : * ? " < > |
bool isForbiddenNameChar(char32_t c);
// The text with every forbidden character, and every control character
// (codes 0 to 31 and 127, which no file name should carry), replaced by a
// space. UTF-8 in and out; everything else is kept byte for byte.
std::string replaceForbidden(std::string_view text);

enum class CreateOutcome {
  NameMissing,  // nothing usable was typed
  NameInUse,    // a supply of that name exists (letter case not significant)
  NameTooLong,  // the file name would be longer than the file system allows
  Created,      // the empty file exists
};

struct CreateResult {
  CreateOutcome outcome = CreateOutcome::NameMissing;
  // What the name box shows afterwards: the typed text with the forbidden
  // characters replaced (untouched when nothing was typed).
  std::string boxText;
  // The trimmed supply name and its file (empty when nothing was typed).
  std::string name;
  std::filesystem::path path;
};

// Creates the empty supply file named after `rawName` (as typed): trimmed,
// forbidden characters replaced by spaces, trimmed again. An existing supply
// is never touched. The new file gets the rights every new file of the
// program gets (read and write for all, masked by the umask; the folder's
// group on a setgid folder), and is on the disk when this returns. Other failures of the file system throw
// SupplyFileError, and leave no file behind.
CreateResult createSupply(const std::filesystem::path& folder, std::string_view rawName);

// The ".for" files of the folder (any letter case of the extension; ordinary
// files only, folders are skipped), sorted alphabetically without regard to
// case. An unreadable folder throws SupplyFileError.
std::vector<std::string> listSupplies(const std::filesystem::path& folder);
// The line under the list: "Ci sono N forniture." (the plural for every count).
std::string countLine(std::size_t count);

// Folder + entry.
std::filesystem::path supplyPath(const std::filesystem::path& folder, const std::string& entry);
// The entry without its last four characters (the ".for").
std::string supplyName(const std::string& entry);

// Removes the supply file folder + entry. Returns whether it was removed; a
// file that cannot be removed simply stays. Entries that are not plain
// ".for" file names of the folder are never removed. Waits for another
// instance working in the supply (StoreBusy when it takes too long); a
// removal that cannot be made to last is a StoreError.
bool deleteSupply(const std::filesystem::path& folder, const std::string& entry);

// Order and equality of names as the supplies' list and the file system
// see them: letter case is not significant (ASCII and the accented letters
// of Western European languages); the list order also puts accented letters
// beside their plain ones.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);
bool listsBefore(std::string_view a, std::string_view b);

// Whether the bytes are well-formed UTF-8 (a file copied from elsewhere may
// carry a name in another encoding).
bool isValidUtf8(std::string_view s);

}  // namespace supplyfiles
}  // namespace zel
