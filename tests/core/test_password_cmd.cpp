#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/password_cmd.h"
#include "core/crypt.h"
#include "store/passwordstore.h"
#include "support/files.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

class PasswordCommand : public ::testing::Test {
 protected:
  // Runs "password FOLDER" with `input` as standard input.
  int run(const std::string& input, std::vector<std::string> args = {}) {
    if (args.empty()) args = {folder_.string()};
    std::istringstream in(input);
    out_.str({});
    err_.str({});
    return cli::passwordCommand(args, in, out_, err_);
  }
  std::string storeBytes() const { return test::readText(store_); }

  test::TempFolder dir_;
  const fs::path folder_ = dir_.path();
  const fs::path store_ = passwordStorePath(folder_);
  std::ostringstream out_, err_;
};

TEST_F(PasswordCommand, StoresTheLineAsLoginComparesIt) {
  EXPECT_EQ(run("  segreto 1\r\nignored second line\n"), 0) << err_.str();
  EXPECT_EQ(readStoredPassword(store_), "SEGRETO 1");
  EXPECT_TRUE(checkPassword(store_, "Segreto 1"));
  EXPECT_NE(out_.str().find(store_.string()), std::string::npos);

  // UTF-8 input is stored in the program's 8-bit form, accents not upper-cased;
  // the last line may lack its end. The previous password no longer works.
  EXPECT_EQ(run("perch\xC3\xA9"), 0) << err_.str();
  EXPECT_EQ(readStoredPassword(store_), "PERCH\xE9");
  EXPECT_FALSE(checkPassword(store_, "segreto 1"));
  EXPECT_FALSE(checkPassword(store_, "PERCH\xC9"));
}

TEST_F(PasswordCommand, KeepsTheRestOfAnExistingStore) {
  std::ofstream(store_, std::ios::binary) << "[Generale]\r\nLingua=IT\r\n[Accesso]\r\nValore=" << ScrambleToHex("OLD")
                                          << "\r\n";
  ASSERT_EQ(run("nuova\n"), 0) << err_.str();
  EXPECT_EQ(storeBytes(), "[Generale]\r\nLingua=IT\r\n[Accesso]\r\nValore=" + ScrambleToHex("NUOVA") + "\r\n");
}

TEST_F(PasswordCommand, RefusesPasswordsLoginCouldNeverMatch) {
  const std::string refused[] = {
      "",                          // no input at all
      "\n",                        // an empty line
      " \t \r\n",                  // blanks only
      std::string(231, 'a'),       // longer than the entry field
      "caf\xC3\xA9 \xE6\x97\xA5",  // a character outside Windows-1252
      "caf\xE9\n",                 // not UTF-8
      std::string(100000, 'x'),    // a runaway line
      "ab\rcd\n",                  // characters the login window cannot type
      std::string("ab\0cd\n", 6),
      "\tabcd\n",
      "ab\xC2\x85\n",               // a C1 control in UTF-8
  };
  for (const std::string& input : refused) {
    EXPECT_EQ(run(input), 1) << input.substr(0, 40);
    EXPECT_FALSE(err_.str().empty());
    EXPECT_FALSE(fs::exists(store_)) << input.substr(0, 40);
  }
  EXPECT_EQ(run("ab\x1B" "cd\n"), 1);
  EXPECT_NE(err_.str().find("control character"), std::string::npos) << err_.str();
  // The longest allowed password, blanks around it not counted.
  EXPECT_EQ(run("  " + std::string(230, 'a') + "  \n"), 0) << err_.str();
  EXPECT_EQ(readStoredPassword(store_), std::string(230, 'A'));
}

TEST_F(PasswordCommand, UsageAndFolderErrors) {
  EXPECT_EQ(run("x\n", {folder_.string(), folder_.string()}), 2);
  EXPECT_EQ(run("x\n", {"--force"}), 2);
  EXPECT_EQ(run("x\n", {""}), 2);
  EXPECT_EQ(run("x\n", {(folder_ / "missing").string()}), 1);
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
  // A folder that cannot take the store: a regular file in its place.
  std::ofstream(folder_ / "file") << "x";
  EXPECT_EQ(run("x\n", {(folder_ / "file").string()}), 1);
  EXPECT_FALSE(fs::exists(store_));
  // "--" ends the options, so a folder may begin with a dash.
  fs::create_directory(folder_ / "-dash");
  EXPECT_EQ(run("x\n", {"--", (folder_ / "-dash").string()}), 0) << err_.str();
  EXPECT_EQ(readStoredPassword(passwordStorePath(folder_ / "-dash")), "X");
}

TEST_F(PasswordCommand, ReportsAStoreThatCannotBeWritten) {
  // A directory where the store file should be: reading and writing fail.
  fs::create_directory(store_);
  EXPECT_EQ(run("nuova\n"), 1);
  EXPECT_NE(err_.str().find("not stored"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(store_));
}

}  // namespace
}  // namespace zel
