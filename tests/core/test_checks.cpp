#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "checks/core/carta.h"
#include "checks/core/codfisc.h"
#include "checks/core/iban.h"
#include "checks/core/partitaiva.h"
#include "core/text.h"

namespace zel {
namespace {

// Expected texts are written in UTF-8 here and compared as the program holds them.
Text w(const char* utf8) { return utf8ToCp1252(utf8); }

// The valid text with the character at `i` replaced by the next digit.
std::string nextDigitAt(std::string s, size_t i) {
  s[i] = static_cast<char>('0' + (s[i] - '0' + 1) % 10);
  return s;
}

// ---- codice fiscale: odd positions by the odd table, even by the even one ----

TEST(CodFisc, ControlCharacter) {
  // R8 S18 S12 M12 R8 A0 8:19 5:5 T14 1:1 0:1 A0 5:13 6:6 2:5 = 122 = 4 x 26 + 18 -> S
  EXPECT_TRUE(IsCodFiscValid("RSSMRA85T10A562S"));
  // M18 R17 T14 M12 T14 T19 2:5 5:5 D7 0:0 9:21 F5 2:5 0:0 5:13 = 155 = 5 x 26 + 25 -> Z
  EXPECT_TRUE(IsCodFiscValid("MRTMTT25D09F205Z"));
  // Single changes: control letter; R8 -> T14 (odd); S18 -> T19 (even); 2:5 -> 3:7 (odd).
  for (const char* changed : {"RSSMRA85T10A562T", "TSSMRA85T10A562S", "RTSMRA85T10A562S",
                              "RSSMRA85T10A563S"})
    EXPECT_FALSE(IsCodFiscValid(changed)) << changed;
  // 122 - 5 + 13 = 130, a multiple of 26: the control letter is A.
  EXPECT_TRUE(IsCodFiscValid("RSSMRA85T10A565A"));
  EXPECT_FALSE(IsCodFiscValid("RSSMRA85T10A565Z"));
  // The pattern is not examined: I where a digit belongs (odd I = odd 8),
  // all digits (eight odd zeros worth 1 -> I), ':' between 9 and A worth 0.
  for (const char* oddButRight : {"RSSMRAI5T10A562S", "000000000000000I", "RSSMRA85T10:562S"})
    EXPECT_TRUE(IsCodFiscValid(oddButRight)) << oddButRight;
}

// The conversion tables of the control character as the tax administration
// publishes them: each character's value in an odd and in an even position.
struct CodFiscValue {
  char c;
  int odd;
  int even;
};
constexpr CodFiscValue kCodFiscTable[36] = {
    {'0', 1, 0},   {'1', 0, 1},   {'2', 5, 2},   {'3', 7, 3},   {'4', 9, 4},   {'5', 13, 5},
    {'6', 15, 6},  {'7', 17, 7},  {'8', 19, 8},  {'9', 21, 9},  {'A', 1, 0},   {'B', 0, 1},
    {'C', 5, 2},   {'D', 7, 3},   {'E', 9, 4},   {'F', 13, 5},  {'G', 15, 6},  {'H', 17, 7},
    {'I', 19, 8},  {'J', 21, 9},  {'K', 2, 10},  {'L', 4, 11},  {'M', 18, 12}, {'N', 20, 13},
    {'O', 11, 14}, {'P', 3, 15},  {'Q', 6, 16},  {'R', 8, 17},  {'S', 12, 18}, {'T', 14, 19},
    {'U', 16, 20}, {'V', 10, 21}, {'W', 22, 22}, {'X', 25, 23}, {'Y', 24, 24}, {'Z', 23, 25}};

// The control character of 15 characters, by the table above.
char controlOf(const std::string& first15) {
  int sum = 0;
  for (size_t i = 0; i < 15; ++i) {
    const CodFiscValue* v = std::find_if(std::begin(kCodFiscTable), std::end(kCodFiscTable),
                                         [&](const CodFiscValue& e) { return e.c == first15[i]; });
    sum += i % 2 == 0 ? v->odd : v->even;  // i counts from 0: even i is an odd position
  }
  return static_cast<char>('A' + sum % 26);
}

TEST(CodFisc, EveryCharacterInAnOddAndAnEvenPositionHasItsPublishedValue) {
  // Each character goes alone into a code, once in an odd and once in an even
  // position, so any other value for it changes the control character. The
  // positions move with the character, so that every position is used.
  const std::string base = "RSSMRA85T10A562";
  for (size_t n = 0; n < 36; ++n) {
    const char c = kCodFiscTable[n].c;
    for (const size_t at : {2 * (n % 8), 2 * (n % 7) + 1}) {
      std::string code = base;
      code[at] = c;
      const char control = controlOf(code);
      EXPECT_TRUE(IsCodFiscValid(code + control))
          << code + control << ": '" << c << "' at position " << at + 1;
      const char other = static_cast<char>('A' + (control - 'A' + 1) % 26);
      EXPECT_FALSE(IsCodFiscValid(code + other)) << code + other;
    }
  }
}

TEST(CodFisc, CharactersOutsideTheTablesAndOtherLengthsAreNotValid) {
  // Position 12 holds A, worth 0: a character taken as 0 would keep it valid.
  for (const char bad : {' ', '-', 'a', '[', '\xE9', '\x80', '\0'}) {
    Text code = "RSSMRA85T10A562S";
    code[11] = bad;
    EXPECT_FALSE(IsCodFiscValid(code)) << int(static_cast<unsigned char>(bad));
  }
  for (const char* length : {"RSSMRA85T10A562", "RSSMRA85T10A562SS", ""})
    EXPECT_FALSE(IsCodFiscValid(length)) << length;
}

TEST(CodFisc, ButtonUpperCasesAndRefusesOtherLengths) {
  const CheckResult ok = codFiscButtonResult("rssmra85t10a562s");
  EXPECT_TRUE(ok.valid);
  EXPECT_EQ(ok.icon, CheckIcon::Information);
  const CheckResult shortText = codFiscButtonResult("RSSMRA85T10A562");
  EXPECT_TRUE(shortText.refused);
  EXPECT_EQ(shortText.title, ok.title);
  EXPECT_EQ(shortText.icon, CheckIcon::Information);
  // Without the window's gate a short code is checked and not valid.
  const CheckResult wrong = codFiscResult("RSSMRA85T10A562");
  EXPECT_FALSE(wrong.refused);
  EXPECT_EQ(wrong.icon, CheckIcon::Warning);
}

// ---- partita IVA: odd positions as they are, even positions doubled and
// counted by their digits; the check digit tops the sum up to a multiple of 10 ----

TEST(PartitaIva, ValidNumbersNameTheirOffice) {
  const std::pair<const char*, const char*> cases[] = {
      {"12345670157", "Milano 1"},          // 1+3+5+7+1 = 17, 4+8+3+0+1 = 16; 33 -> 7
      {"12345670967", "Monza (Milano 2)"},  // 1+3+5+7+9 = 25, 4+8+3+0+3 = 18; 43 -> 7
      {"12345671205", "Bologna 2"},         // 1+3+5+7+2 = 18, 4+8+3+2+0 = 17; 35 -> 5
      {"12345640150", "Milano 1"},          // 1+3+5+4+1 = 14, 16; 30 -> 0
      {"00000000000", ""},                  // office 000 is not in the table
      {"12345671106", ""},                  // 17, 4+8+3+2+0 = 17; 34 -> 6; office 110
  };
  for (const auto& [number, office] : cases) {
    const CheckResult r = partitaIvaResult(number);
    EXPECT_TRUE(r.valid) << number;
    EXPECT_TRUE(r.plain());
    EXPECT_EQ(r.text, std::string("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                  "E' stato rilasciato dall'Ufficio IVA del Comune di ") +
                          office + ".");
  }
  EXPECT_EQ(UfficioIva("040"), w("Forlì"));
  int known = 0;
  for (int code = 0; code < 1000; ++code) {
    char text[4];
    std::snprintf(text, sizeof text, "%03d", code);
    known += !UfficioIva(text).empty();
  }
  EXPECT_EQ(known, 104);
  EXPECT_EQ(UfficioIva("15"), "");
}

TEST(PartitaIva, ChangesAndNonDigitsAreNotValid) {
  for (size_t i = 0; i < 11; ++i) EXPECT_FALSE(IsPartitaIvaValid(nextDigitAt("12345670157", i))) << i;
  for (const char* bad : {"1234567015A", "12345A70157", " 2345670157", "1234567015", "123456701570"})
    EXPECT_FALSE(IsPartitaIvaValid(bad)) << bad;
  const CheckResult letter = partitaIvaButtonResult("1234567015A");  // checked, not refused
  EXPECT_FALSE(letter.valid);
  EXPECT_FALSE(letter.refused);
  EXPECT_EQ(letter.icon, CheckIcon::Warning);
  const CheckResult numericCodFisc = partitaIvaButtonResult("1234567890123456");
  EXPECT_TRUE(numericCodFisc.refused);
  EXPECT_TRUE(numericCodFisc.plain());
}

// ---- credit card ----

TEST(Carta, PublishedTestNumbersNameTheirNetwork) {
  const std::pair<std::string, const char*> cases[] = {
      {"4111111111111111", "Visa"},        {"4012888888881881", "Visa"},
      {"5555555555554444", "MasterCard"},  {"5105105105105100", "MasterCard"},
      {"6011111111111117", "Discover"},    {"6011000990139424", "Discover"},
      {"378282246310005", "American Express"}, {"340000000000009", "American Express"},
      {"30569309025904", "Diner's Club / Carte Blanche"},
      {"36227206271667", "Diner's Club / Carte Blanche"},
      {"38520000023237", "Diner's Club / Carte Blanche"},
      {"3530111333300000", "JCB"}, {"31000000000003", "JCB"}, {"33000000000001", "JCB"},
  };
  for (const auto& [number, network] : cases) {
    EXPECT_EQ(CartaCheck(number), number[0] - '0' - 2) << number;
    EXPECT_EQ(CartaCircuito(CartaCheck(number), number.substr(0, 2)), network) << number;
  }
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(CartaCheck(nextDigitAt("5555555555554444", i)), 0) << i;
  EXPECT_EQ(cartaResult("  4111111111111111 ").text,
            w("Il numero di carta di credito 4111111111111111 risulta valido.\r\n\r\n"
              "La carta di credito è del tipo Visa."));
}

TEST(Carta, PassingNumbersWithoutANetworkDigit) {
  // All zeros and first digits 1, 2 and 7 pass the Luhn step yet are errors.
  const std::pair<const char*, int> cases[] = {{"0000000000000000", -2}, {"1000000000000008", -1},
                                               {"2000000000000006", 0},  {"7000000000000005", 5}};
  for (const auto& [number, result] : cases) {
    EXPECT_EQ(CartaCheck(number), result) << number;
    EXPECT_FALSE(cartaResult(number).valid) << number;
    EXPECT_EQ(cartaResult(number).icon, CheckIcon::Warning);
  }
  EXPECT_EQ(CartaCheck(""), 0);
}

TEST(Carta, ValidWithoutNetworkForPrefix32And39) {
  for (const std::string number : {"3200000000000002", "3900000000000005"}) {
    EXPECT_EQ(CartaCheck(number), 1);
    const CheckResult r = cartaResult(number);
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.text, "Il numero di carta di credito " + number + " risulta valido.");
  }
}

TEST(Carta, OnlyTheFirst20CharactersCount) {
  EXPECT_EQ(CartaCheck("41111111111111111115"), 2);   // 20 digits
  EXPECT_EQ(CartaCheck("411111111111111111153"), 2);  // the 21st is ignored
  // Characters are counted, not digits: the 21st character '7' is ignored.
  EXPECT_EQ(CartaCheck("4111-1111-1111-1111-7"), 2);
  EXPECT_NE(cartaResult("4111-1111-1111-1111-7").text.find(" 4111-1111-1111-1111-7 risulta"),
            Text::npos);
}

// ---- IBAN ----

TEST(Iban, PublishedExamplesOfSeveralCountries) {
  for (const char* iban : {
           "IT60X0542811101000000123456", "FR1420041010050500013M02606", "DE89370400440532013000",
           "GB82WEST12345698765432", "NL91ABNA0417164300", "BE68539007547034",
           "MT84MALT011000012345MTLCAST001S", "LC55HEMM000100010012001200023015",
           "RU0204452560040702810412345678901",
           // Built here: check digits = 98 - remainder with "00" (34 and 40 characters).
           "XX46ABCD12345678901234567890123456", "IT13X05428111010000001234561234567890123"})
    EXPECT_TRUE(IsIbanValid(iban)) << iban;
  for (const char* changed : {"IT60X0542811101000000123465",  // adjacent digits swapped
                              "IT06X0542811101000000123456", "IT60Y0542811101000000123456",
                              "DE89370400440532013001", "IT60-X054-2811-1010-0000-0123-456",
                              "IT60X054281110100000012345\xE9"})
    EXPECT_FALSE(IsIbanValid(changed)) << changed;
  EXPECT_EQ(IbanResto(""), 0);
}

TEST(Iban, TypingSpacingAndLabelGiveTheSameResult) {
  for (const char* typed : {"it60x0542811101000000123456", "IT60 X054 2811 1010 0000 0123 456",
                            "IBAN IT60X0542811101000000123456", "iban it60 x054 2811 1010 0000 0123 456"})
    EXPECT_TRUE(ibanResult(typed).valid) << typed;
  // With check digits 00 the remainder is 98 - 82 = 16, however it is typed.
  for (const char* typed : {"GB00WEST12345698765432", "gb00west12345698765432", "IBANGB00WEST12345698765432"})
    EXPECT_EQ(IbanResto(typed), 16) << typed;
  EXPECT_EQ(IbanResto("IT60 X054 2811 1010 0000 0123 456"), 0);  // blanks go in IsIbanValid only
}

// ---- typed texts: what the windows and zelvano-cli read ----

// A character without a Windows-1252 form (pasted) counts as one character
// for the length rule and is never part of a valid identifier.
TEST(TypedCheck, ForeignCharactersCountForTheLengthButNeverPass) {
  // The A at position 12 is worth 0; as '?' a foreign letter there would be too.
  const std::string foreign16 = "RSSMRA85T10\u0100562S";
  const CheckResult wrongCode = codFiscButtonResult("RSSMRA85T10B562S");
  ASSERT_FALSE(wrongCode.valid || wrongCode.refused);
  CheckResult r = checkTyped(codFiscButtonResult, foreign16);
  EXPECT_FALSE(r.valid || r.refused);
  EXPECT_EQ(r.text, wrongCode.text);
  EXPECT_EQ(r.icon, CheckIcon::Warning);
  EXPECT_TRUE(checkTyped(codFiscButtonResult, "RSSMRA85T1\u0100562S").refused) << "15 characters";
  EXPECT_TRUE(checkTyped(codFiscButtonResult, foreign16 + "\u03C9").refused) << "17 characters";
  EXPECT_FALSE(checkTyped(codFiscResult, foreign16).valid) << "no length gate";
  EXPECT_TRUE(checkTyped(codFiscButtonResult, "rssmra85t10a562s").valid);

  // Read as a blank, a foreign character would leave a valid card number.
  EXPECT_TRUE(checkTyped(cartaResult, "4111 1111 1111 1111").valid);
  EXPECT_FALSE(checkTyped(cartaResult, "4111\u03C91111 1111 1111").valid);
  r = checkTyped(partitaIvaButtonResult, "1234567096\u03C9");
  EXPECT_FALSE(r.valid || r.refused) << "11 characters: checked, not valid";
  EXPECT_FALSE(checkTyped(ibanResult, "IT60X0542811101000000123456\u03C9").valid);
}

// Enter presses "Controlla" only at the box's full length; the button takes
// a longer text handed over by the opener.
TEST(TypedCheck, EnterChecksOnlyAFullBox) {
  EXPECT_FALSE(partitaiva::enterChecks("1234567096"));
  EXPECT_TRUE(partitaiva::enterChecks("12345670967"));
  EXPECT_FALSE(partitaiva::enterChecks("123456709670"));
  EXPECT_TRUE(partitaiva::canCheck("123456709670"));
  EXPECT_FALSE(codfisc::enterChecks("RSSMRA85T10A562"));
  EXPECT_TRUE(codfisc::enterChecks("RSSMRA85T10A562S"));
  EXPECT_FALSE(codfisc::enterChecks("RSSMRA85T10A562SX"));
  EXPECT_TRUE(codfisc::canCheck("RSSMRA85T10A562SX"));
}

}  // namespace
}  // namespace zel
